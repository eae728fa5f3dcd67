/* A host that ends in the way it is told, with whatever voice TZC_VOICE names:
 *   exit_host MODULE call-exit|call-unload|no-call|reload
 * call-exit: one call with the typical parameters, then exits with the module loaded;
 * call-unload: one call, unloads the module, then exits; no-call: loads it and exits;
 * reload: a call and an unload, twice, then exits.
 * Prints the slots of each call, then "ending at S" (S: seconds of the system's clock, when the
 * host starts to end), for voice_exit_test.sh to time what ending takes. */
#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <time.h>
#endif
#include <stdio.h>
#include <string.h>

#include "tzc04182.h"

#ifdef _WIN32
typedef HMODULE module_handle;
static module_handle Load(const char* path) { return LoadLibraryA(path); }
static void* Bind(module_handle module, const char* name) { return (void*)GetProcAddress(module, name); }
static void Unload(module_handle module) { FreeLibrary(module); }
#else
typedef void* module_handle;
static module_handle Load(const char* path) { return dlopen(path, RTLD_NOW | RTLD_LOCAL); }
static void* Bind(module_handle module, const char* name) { return dlsym(module, name); }
static void Unload(module_handle module) { dlclose(module); }
#endif

typedef int(TZC_CALL* call_fn)(const tzc_variant*, int, tzc_variant*, char*, size_t);
typedef tzc_variant(TZC_CALL* string_fn)(const char*);
typedef tzc_variant(TZC_CALL* array_fn)(int32_t, int32_t);
typedef tzc_variant*(TZC_CALL* element_fn)(tzc_variant*, int32_t);
typedef long(TZC_CALL* utf8_fn)(const tzc_variant*, char*, size_t);
typedef void(TZC_CALL* clear_fn)(tzc_variant*);

static double Now(void)
{
#ifdef _WIN32
    FILETIME now;
    ULARGE_INTEGER ticks;
    GetSystemTimeAsFileTime(&now);
    ticks.LowPart = now.dwLowDateTime;
    ticks.HighPart = now.dwHighDateTime;
    /* 100 ns since 1601; the Unix epoch is 11644473600 s later */
    return (double)ticks.QuadPart / 1e7 - 11644473600.0;
#else
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
#endif
}

static int Call(module_handle module)
{
    const char* values[17] = {"", "", "", "N", "N", "PDV", "", "S", "N", "N", "N", "N", "", "N", "N", "S", "N"};
    call_fn call = (call_fn)Bind(module, "CriaInfAdicionalC");
    string_fn make_string = (string_fn)Bind(module, "tzc_variant_string");
    array_fn make_array = (array_fn)Bind(module, "tzc_variant_array");
    element_fn element = (element_fn)Bind(module, "tzc_array_element");
    utf8_fn to_utf8 = (utf8_fn)Bind(module, "tzc_variant_to_utf8");
    clear_fn clear = (clear_fn)Bind(module, "tzc_variant_clear");
    tzc_variant params[17];
    tzc_variant result;
    char error[512] = "";
    char text[128];
    int i;
    int status;

    if (!call || !make_string || !make_array || !element || !to_utf8 || !clear) {
        printf("error: an entry is missing\n");
        return 1;
    }
    for (i = 0; i < 17; ++i)
        params[i] = make_string(values[i]);
    result = make_array(0, 7);
    status = call(params, 16, &result, error, sizeof error);
    if (status != TZC_OK)
        printf("error: %s\n", error);
    for (i = 0; status == TZC_OK && i < 8; ++i) {
        to_utf8(element(&result, i), text, sizeof text);
        printf("%d=%s\n", i, text);
    }
    for (i = 0; i < 17; ++i)
        clear(&params[i]);
    clear(&result);
    return status;
}

int main(int argc, char** argv)
{
    module_handle module;
    int status = 0;
    int round;
    const char* shape = argc == 3 ? argv[2] : "";
    const int calls = strcmp(shape, "no-call") == 0 ? 0 : 1;
    const int loads = strcmp(shape, "reload") == 0 ? 2 : 1;
    const int unloads = strcmp(shape, "call-unload") == 0 || loads == 2;

    if (strcmp(shape, "call-exit") != 0 && strcmp(shape, "call-unload") != 0 && strcmp(shape, "no-call") != 0 &&
        strcmp(shape, "reload") != 0) {
        printf("usage: exit_host MODULE call-exit|call-unload|no-call|reload\n");
        return 2;
    }
    for (round = 0; round < loads && status == 0; ++round) {
        module = Load(argv[1]);
        if (!module) {
            printf("error: cannot load %s\n", argv[1]);
            return 1;
        }
        if (calls)
            status = Call(module);
        if (round == loads - 1) {
            printf("ending at %.3f\n", Now());
            fflush(stdout);
        }
        if (unloads)
            Unload(module);
    }
    return status;
}
