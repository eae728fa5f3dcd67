/* Tzc04182: the customer data dialog of the till, as a host sees it.
 *
 * A host builds a vector of 17 Variants (the parameters; an optional 18th, element 17, "S" to
 * take CNPJs with letters), a one-dimensional Variant array with bounds covering 0..7 (the
 * result), and calls CriaInfAdicional on its user-interface thread.
 * The call shows the dialog modally and, when it closes, stores eight strings in the result.
 *
 * tzc_variant has the memory layout of the OLE VARIANT (16 bytes on 32-bit, 24 on 64-bit), so a
 * host in any language can build it. Strings are BSTRs: UTF-16 units preceded by their length in
 * bytes (uint32), terminated by a zero unit, the pointer addressing the first unit. Inside, the
 * module works in Windows-1252; characters outside it become "?".
 *
 * Errors leave CriaInfAdicional as C++ exceptions on Linux and as the structured exception
 * TZC_EXCEPTION_CODE on Windows (see below): a host written in C, whose frames cannot pass an
 * exception, calls CriaInfAdicionalC, which returns an error code and the message instead.
 *
 * Windows: tzc04182.dll. Its Variants are the system's: strings come from SysAllocStringLen,
 * arrays are SAFEARRAYs, and a host frees what the module stored with VariantClear or
 * SafeArrayDestroy. On 32-bit Windows the helpers and CriaInfAdicionalC are stdcall (TZC_CALL)
 * and CriaInfAdicional takes Object Pascal's register convention (TZC_PASCAL: EAX, EDX, ECX);
 * 64-bit Windows has one convention.
 */
#ifndef TZC04182_H
#define TZC04182_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define TZC_EXPORT __declspec(dllexport)
#else
#define TZC_EXPORT __attribute__((visibility("default")))
#endif

/* Calling conventions: the helpers and CriaInfAdicionalC (TZC_CALL), the plain entry (TZC_PASCAL,
 * Object Pascal's register convention, which GCC and clang call regparm(3); other 32-bit Windows
 * compilers have no such convention and see no declaration of the plain entry). */
#if defined(_WIN32) && !defined(_WIN64)
#define TZC_CALL __stdcall
#if defined(__GNUC__)
#define TZC_PASCAL __attribute__((regparm(3)))
#endif
#else
#define TZC_CALL
#define TZC_PASCAL
#endif

/* The types read as text; docs/integration.md gives the text of each. */
enum {
    TZC_VT_EMPTY = 0,
    TZC_VT_NULL = 1,
    TZC_VT_I2 = 2,
    TZC_VT_I4 = 3,
    TZC_VT_R4 = 4,
    TZC_VT_R8 = 5,
    TZC_VT_CY = 6,      /* int64 in units of 1/10000 */
    TZC_VT_DATE = 7,    /* days since 1899-12-30, the fraction the time of day */
    TZC_VT_BSTR = 8,
    TZC_VT_BOOL = 11,
    TZC_VT_VARIANT = 12,
    TZC_VT_DECIMAL = 14, /* the whole Variant is a tzc_decimal */
    TZC_VT_I1 = 16,
    TZC_VT_UI1 = 17,
    TZC_VT_UI2 = 18,
    TZC_VT_UI4 = 19,
    TZC_VT_I8 = 20,
    TZC_VT_UI8 = 21,
    TZC_VT_INT = 22,
    TZC_VT_UINT = 23,
    /* Pascal runtimes' own strings: the pointer addresses the first character, which a zero ends. */
    TZC_VT_PASCAL_ANSISTRING = 0x100,    /* bytes: UTF-8 when valid, else Windows-1252 */
    TZC_VT_PASCAL_UNICODESTRING = 0x102, /* UTF-16 units */
    TZC_VT_ARRAY = 0x2000,
    TZC_VT_BYREF = 0x4000, /* u.byref points at the value of the type in the other bits */
    TZC_VT_ARRAY_OF_VARIANT = 0x200C
};

typedef uint16_t* tzc_bstr;

typedef struct tzc_safearray_bound {
    uint32_t cElements;
    int32_t lLbound;
} tzc_safearray_bound;

typedef struct tzc_safearray {
    uint16_t cDims;
    uint16_t fFeatures;
    uint32_t cbElements;
    uint32_t cLocks;
    void* pvData;
    tzc_safearray_bound rgsabound[1];
} tzc_safearray;

typedef struct tzc_variant {
    uint16_t vt;
    uint16_t wReserved1;
    uint16_t wReserved2;
    uint16_t wReserved3;
    union {
        int64_t llVal;
        int32_t lVal;
        int16_t iVal;
        int8_t cVal;
        uint8_t bVal;
        uint16_t uiVal;
        uint32_t ulVal;
        uint64_t ullVal;
        float fltVal;
        double dblVal;
        int64_t cyVal;
        double date;
        int16_t boolVal; /* -1 true, 0 false */
        tzc_bstr bstrVal;
        tzc_safearray* parray;
        void* byref;
        struct {
            void* pvRecord;
            void* pRecInfo;
        } brecVal;
    } u;
} tzc_variant;

/* A TZC_VT_DECIMAL Variant: sign * (hi32 * 2^64 + lo64) / 10^scale, scale 0..28, laid over the
 * first 16 bytes of the tzc_variant (vt in place of reserved). */
typedef struct tzc_decimal {
    uint16_t reserved;
    uint8_t scale;
    uint8_t sign; /* 0x80 negative */
    uint32_t hi32;
    uint64_t lo64;
} tzc_decimal;

/* Values. Each made value owns its memory until tzc_variant_clear. */
TZC_EXPORT tzc_variant TZC_CALL tzc_variant_string(const char* utf8);
TZC_EXPORT tzc_variant TZC_CALL tzc_variant_int(int32_t value);
TZC_EXPORT tzc_variant TZC_CALL tzc_variant_null(void);
/* A one-dimensional array of Empty Variants indexed lower..upper (empty when upper < lower). */
TZC_EXPORT tzc_variant TZC_CALL tzc_variant_array(int32_t lower, int32_t upper);
/* The element at index of an array Variant, or NULL when it is not one or the index is outside. */
TZC_EXPORT tzc_variant* TZC_CALL tzc_array_element(tzc_variant* array, int32_t index);
/* A string Variant as UTF-8 into buffer (always terminated when size > 0). Returns the length the
 * whole text needs, or -1 when the Variant cannot be read as a string. */
TZC_EXPORT long TZC_CALL tzc_variant_to_utf8(const tzc_variant* value, char* buffer, size_t size);
/* Frees what the Variant owns (strings, arrays and their elements) and leaves it Empty. */
TZC_EXPORT void TZC_CALL tzc_variant_clear(tzc_variant* value);

/* The entry. params points at element 0; last_index is the index of the last element passed (16
 * for the 17 elements of old, 17 with element 17); result is an array Variant. On an error of the
 * call: Linux throws a C++ exception; Windows raises the structured exception TZC_EXCEPTION_CODE
 * (non-continuable), after freeing everything the call made, with the message (UTF-8,
 * zero-terminated) at ExceptionInformation[0] and in tzc_last_error(): a C++ exception would not
 * cross the frames of a Pascal or C host. A Pascal host catches it in try..except as
 * EExternalException. */
#define TZC_EXCEPTION_CODE 0xE0545A43u
#if defined(TZC_PASCAL)
TZC_EXPORT void TZC_PASCAL CriaInfAdicional(const tzc_variant* params, int last_index, tzc_variant* result);
#endif

/* The same call for hosts that cannot take exceptions: returns TZC_OK, or TZC_ERROR with the
 * message (UTF-8) in error when error_size > 0. */
enum { TZC_OK = 0, TZC_ERROR = 1 };
TZC_EXPORT int TZC_CALL CriaInfAdicionalC(const tzc_variant* params, int last_index, tzc_variant* result,
                                          char* error, size_t error_size);

/* Names the branch parameter file (the branch's own CNPJ, refused as a customer's document), UTF-8,
 * a full path; NULL or "" names none. Unnamed, the environment variable TZC_BRANCH_FILE names it,
 * else it is PARAMETROSVLX.CDS beside the host's executable, which for a host run by a runtime
 * (Mono, Java, Python) is the runtime's folder. A named file that is missing or unreadable fails
 * the call. Each file is read once: a call that finds another name reads that file anew.
 * Returns TZC_OK, or TZC_ERROR when the name cannot be kept (no memory; the earlier name stays). */
TZC_EXPORT int TZC_CALL tzc_set_branch_file(const char* utf8_path);

/* The message of the last call of either entry that failed, UTF-8; "" after a call that worked. */
TZC_EXPORT const char* TZC_CALL tzc_last_error(void);

/* The module's version, such as "1.0.0". */
TZC_EXPORT const char* TZC_CALL tzc_version(void);

#ifdef __cplusplus
}
#endif

#endif
