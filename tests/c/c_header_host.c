/* A host written in C against the public header alone: it builds the vectors with the header's
 * helpers, calls CriaInfAdicionalC, and prints the slots or the error. */
#include <stdio.h>
#include <stddef.h>
#include <string.h>

#include "tzc04182.h"

int main(int argc, char** argv)
{
    const char* values[17] = {"", "", "", "N", "N", "PDV", "", "S", "N", "N", "N", "N", "", "N", "N", "S", "N"};
    tzc_variant params[17];
    char error[256];
    char text[128];
    int i;
    int status;
    tzc_variant result = tzc_variant_array(0, 7);

    (void)argc;
    (void)argv;
    if (sizeof(tzc_variant) != 8 + 2 * sizeof(void*) || offsetof(tzc_variant, vt) != 0) {
        printf("layout: %u bytes\n", (unsigned)sizeof(tzc_variant));
        return 2;
    }
    for (i = 0; i < 17; ++i)
        params[i] = tzc_variant_string(values[i]);
    tzc_variant_clear(&params[12]);
    params[12] = tzc_variant_null(); /* optional: takes its default */

    status = CriaInfAdicionalC(params, 16, &result, error, sizeof error);
    if (status != TZC_OK) {
        printf("error: %s\n", error);
    } else {
        for (i = 0; i < 8; ++i) {
            tzc_variant_to_utf8(tzc_array_element(&result, i), text, sizeof text);
            printf("%d=%s\n", i, text);
        }
    }
    for (i = 0; i < 17; ++i)
        tzc_variant_clear(&params[i]);
    tzc_variant_clear(&result);
    return status;
}
