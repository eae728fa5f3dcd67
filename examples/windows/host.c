/* A Windows host in C that builds its Variants with the system's OLE, as a point-of-sale
 * application does, and loads tzc04182.dll at run time.
 *
 *     host.exe [ROUNDS [CALLS]]        (default 100 rounds of 20 calls)
 *
 * Each round loads the DLL beside this program, plays CALLS calls with a scripted customer
 * (TZC_INPUT, set here before the load: the module reads it at its first call), every other one
 * through the plain entry CriaInfAdicional (on 32-bit Windows in Object Pascal's register
 * convention, as a Pascal host calls it) and the rest through CriaInfAdicionalC (stdcall there),
 * checks the eight slots of each, makes one call that fails, and unloads the DLL. Parameters are
 * BSTRs from SysAllocString, the result a SAFEARRAY of VARIANTs whose elements hold the host's own
 * BSTRs before the call; everything is freed with VariantClear. The first call of a round types
 * the branch's CNPJ first, which the module refuses when PARAMETROSVLX.CDS beside this program
 * names it. Prints "ok: N calls, the heaps grew K KiB after the first round", or the first
 * difference and exits 1.
 */
#include <windows.h>
#include <oleauto.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include "tzc04182.h"

typedef int(TZC_CALL* call_fn)(const tzc_variant*, int, tzc_variant*, char*, size_t);
typedef void(TZC_PASCAL* plain_fn)(const tzc_variant*, int, tzc_variant*);

struct entries {
    call_fn call;
    plain_fn plain;
};
typedef const char*(TZC_CALL* last_error_fn)(void);

#define PARAMETERS 17
#define SLOTS 8

static const wchar_t* const typical[PARAMETERS] = {L"", L"", L"", L"N", L"N", L"PDV", L"", L"S", L"N",
                                                   L"N", L"N", L"N", L"", L"N", L"N", L"S", L"N"};
static const wchar_t* const expected[SLOTS] = {L"52998224725", L"MARIA GON\u00c7ALVES", L"RUA DAS FLORES 100",
                                               L"N", L"N", L"N", L"", L"N"};
static const char customer[] = "52998224725{Enter}MARIA GON\xc3\x87" "ALVES{Enter}RUA DAS FLORES 100{Enter}";
/* The branch's own CNPJ, refused with a message that the customer dismisses. */
static const char branch_first[] = "11222333000181{Enter}[ok][sbtLimpar]";

static int fail(const char* what, int call)
{
    printf("FAIL at call %d: %s\n", call, what);
    return 1;
}

/* The bytes in use in every heap of the process: the module's C runtime, the system's BSTRs and
 * SAFEARRAYs, and this program's. */
static SIZE_T heap_bytes(void)
{
    HANDLE heaps[64];
    DWORD count = GetProcessHeaps(64, heaps), i;
    SIZE_T total = 0;
    for (i = 0; i < count && i < 64; ++i) {
        PROCESS_HEAP_ENTRY entry;
        entry.lpData = NULL;
        if (!HeapLock(heaps[i]))
            continue;
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                total += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return total;
}

/* The script of one round: the branch's CNPJ refused on the first call, then one customer per
 * call, each later call starting after a pause as a real customer's would. */
static void set_script(int calls)
{
    size_t size = sizeof branch_first + (size_t)calls * (sizeof customer + 16);
    char* script = malloc(size);
    wchar_t* wide = malloc(size * sizeof(wchar_t));
    int i;
    script[0] = '\0';
    strcat(script, branch_first);
    for (i = 0; i < calls; ++i) {
        if (i > 0)
            strcat(script, "{wait 1s}");
        strcat(script, customer);
    }
    MultiByteToWideChar(CP_UTF8, 0, script, -1, wide, (int)size);
    SetEnvironmentVariableW(L"TZC_INPUT", wide);
    free(wide);
    free(script);
}

/* The result vector: a SAFEARRAY of 8 VARIANTs that already hold the host's strings, which the
 * module frees when it stores over them. */
static VARIANT make_result(void)
{
    VARIANT result;
    LONG i;
    VariantInit(&result);
    V_VT(&result) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(&result) = SafeArrayCreateVector(VT_VARIANT, 0, SLOTS);
    for (i = 0; i < SLOTS; ++i) {
        VARIANT old;
        V_VT(&old) = VT_BSTR;
        V_BSTR(&old) = SysAllocString(L"what the host put there");
        SafeArrayPutElement(V_ARRAY(&result), &i, &old);
        VariantClear(&old);
    }
    return result;
}

static int check_slots(VARIANT* result, int call)
{
    LONG i;
    for (i = 0; i < SLOTS; ++i) {
        VARIANT slot;
        int same;
        VariantInit(&slot);
        if (FAILED(SafeArrayGetElement(V_ARRAY(result), &i, &slot)) || V_VT(&slot) != VT_BSTR)
            return fail("a slot is no string", call);
        same = wcscmp(V_BSTR(&slot), expected[i]) == 0 && SysStringLen(V_BSTR(&slot)) == wcslen(expected[i]);
        if (!same) {
            printf("slot %ld: '%ls'\n", (long)i, V_BSTR(&slot));
            VariantClear(&slot);
            return fail("a slot differs", call);
        }
        VariantClear(&slot);
    }
    return 0;
}

/* One call; last < 7 makes it fail before the dialog opens, through CriaInfAdicionalC (the plain
 * entry raises its errors as exceptions, which C has no way to catch). */
static int one_call(struct entries entry, int last, int number, char* error, size_t error_size)
{
    VARIANT params[PARAMETERS];
    VARIANT result = make_result();
    int i, status, failed = 0;
    for (i = 0; i < PARAMETERS; ++i) {
        VariantInit(&params[i]);
        V_VT(&params[i]) = VT_BSTR;
        V_BSTR(&params[i]) = SysAllocString(typical[i]);
    }
    if (last >= 7 && number % 2 == 0) {
        entry.plain((const tzc_variant*)params, last, (tzc_variant*)&result);
        status = TZC_OK;
    } else {
        status = entry.call((const tzc_variant*)params, last, (tzc_variant*)&result, error, error_size);
    }
    if (last >= 7)
        failed = status != TZC_OK ? (printf("error: %s\n", error), fail("the call failed", number))
                                  : check_slots(&result, number);
    else if (status != TZC_ERROR)
        failed = fail("a call without parameter 6 worked", number);
    for (i = 0; i < PARAMETERS; ++i)
        VariantClear(&params[i]);
    VariantClear(&result); /* SafeArrayDestroy, and SysFreeString of every slot the module stored */
    return failed;
}

static int round_of_calls(const wchar_t* dll, int calls, int* number)
{
    char error[512];
    HMODULE module;
    struct entries entry;
    last_error_fn last_error;
    int i;

    set_script(calls);
    module = LoadLibraryW(dll);
    if (module == NULL)
        return fail("cannot load tzc04182.dll", *number);
    entry.call = (call_fn)(void (*)(void))GetProcAddress(module, "CriaInfAdicionalC");
    entry.plain = (plain_fn)(void (*)(void))GetProcAddress(module, "CriaInfAdicional");
    last_error = (last_error_fn)(void (*)(void))GetProcAddress(module, "tzc_last_error");
    if (entry.call == NULL || entry.plain == NULL || last_error == NULL)
        return fail("an entry is missing", *number);
    for (i = 0; i < calls; ++i)
        if (one_call(entry, 16, ++*number, error, sizeof error))
            return 1;
    if (one_call(entry, 5, ++*number, error, sizeof error))
        return 1;
    if (strcmp(error, "parameter 6 is missing") != 0 || strcmp(last_error(), error) != 0) {
        printf("error: '%s', last error: '%s'\n", error, last_error());
        return fail("the error's text differs", *number);
    }
    /* The dialog is freed here; the next round's load starts the module afresh. */
    if (!FreeLibrary(module))
        return fail("cannot unload tzc04182.dll", *number);
    return 0;
}

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? atoi(argv[1]) : 100;
    const int calls = argc > 2 ? atoi(argv[2]) : 20;
    wchar_t dll[MAX_PATH];
    wchar_t* slash;
    SIZE_T after_first = 0;
    int round, number = 0;

    GetModuleFileNameW(NULL, dll, MAX_PATH);
    slash = wcsrchr(dll, L'\\');
    wcscpy(slash != NULL ? slash + 1 : dll, L"tzc04182.dll");
    SetEnvironmentVariableW(L"TZC_SCREEN", L"headless");

    for (round = 0; round < rounds; ++round) {
        if (round_of_calls(dll, calls, &number))
            return 1;
        if (round == 0)
            after_first = heap_bytes();
    }
    printf("ok: %d calls, the heaps grew %ld KiB after the first round\n", number,
           (long)(((LONGLONG)heap_bytes() - (LONGLONG)after_first) / 1024));
    return 0;
}
