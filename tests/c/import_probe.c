/* A DLL that imports the module's C entries, linked by Microsoft's rules (lld-link) against the
 * import library made from tzc04182.def: on x86 it calls the stdcall entries by their decorated
 * names, which the library must map to the DLL's plain exports. No C runtime: nothing but the
 * calls. */
#include "tzc04182.h"

int probe(void);

/* Not exported: the linker keeps every section of an object it is given, so its imports stay. */
int probe(void)
{
    char error[64];
    tzc_variant text = tzc_variant_string("probe");
    tzc_variant result = tzc_variant_array(0, 7);
    const int status = CriaInfAdicionalC(&text, 0, &result, error, sizeof error);
    tzc_variant_clear(&text);
    tzc_variant_clear(&result);
    return status + (tzc_version() != 0) + (tzc_last_error() != 0);
}
