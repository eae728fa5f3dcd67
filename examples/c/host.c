/* A host in C that loads the module at run time, as a point-of-sale application does.
 *
 *     c-host [--last N] [I=VALUE]...
 *
 * Starts from the typical call (empty answers, name and address asked, document asked), sets
 * parameter I to VALUE (UTF-8) for each I=VALUE (17=S takes CNPJs with letters; setting element
 * 17 passes 18 elements), calls CriaInfAdicionalC and prints the slots as
 * "0=..." to "7=...", or "error: TEXT" and exits 1. The module is TZC_MODULE when that is set,
 * else the path this program was built with, else "libtzc04182.so.1" from the loader's path.
 */
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "tzc04182.h"

#ifndef TZC_MODULE_DEFAULT
#define TZC_MODULE_DEFAULT "libtzc04182.so.1"
#endif

#define PARAMETER_COUNT 18 /* the 17 of old and element 17, the CNPJ with letters */
#define SLOT_COUNT 8

typedef int (*call_fn)(const tzc_variant*, int, tzc_variant*, char*, size_t);
typedef tzc_variant (*make_string_fn)(const char*);
typedef tzc_variant (*make_array_fn)(int32_t, int32_t);
typedef tzc_variant* (*element_fn)(tzc_variant*, int32_t);
typedef long (*to_utf8_fn)(const tzc_variant*, char*, size_t);
typedef void (*clear_fn)(tzc_variant*);

struct module {
    void* handle;
    call_fn call;
    make_string_fn make_string;
    make_array_fn make_array;
    element_fn element;
    to_utf8_fn to_utf8;
    clear_fn clear;
};

static void* bind(void* handle, const char* name)
{
    void* symbol = dlsym(handle, name);
    if (symbol == NULL) {
        fprintf(stderr, "error: the module has no %s\n", name);
        exit(1);
    }
    return symbol;
}

static struct module load(void)
{
    const char* path = getenv("TZC_MODULE");
    struct module module;
    if (path == NULL || *path == '\0')
        path = TZC_MODULE_DEFAULT;
    module.handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (module.handle == NULL) {
        fprintf(stderr, "error: cannot load %s: %s\n", path, dlerror());
        exit(1);
    }
    /* POSIX lets a pointer from dlsym be converted to a function pointer. */
    module.call = (call_fn)bind(module.handle, "CriaInfAdicionalC");
    module.make_string = (make_string_fn)bind(module.handle, "tzc_variant_string");
    module.make_array = (make_array_fn)bind(module.handle, "tzc_variant_array");
    module.element = (element_fn)bind(module.handle, "tzc_array_element");
    module.to_utf8 = (to_utf8_fn)bind(module.handle, "tzc_variant_to_utf8");
    module.clear = (clear_fn)bind(module.handle, "tzc_variant_clear");
    return module;
}

/* Prints one slot on one line: a line feed as \n, a backslash as \\. */
static void print_slot(const struct module* module, tzc_variant* result, int slot)
{
    const tzc_variant* value = module->element(result, slot);
    const long length = value != NULL ? module->to_utf8(value, NULL, 0) : -1;
    char* text = malloc(length > 0 ? (size_t)length + 1 : 1);
    long i;
    if (text == NULL) {
        fprintf(stderr, "error: out of memory\n");
        exit(1);
    }
    text[0] = '\0';
    if (length > 0)
        module->to_utf8(value, text, (size_t)length + 1);
    printf("%d=", slot);
    for (i = 0; i < length; ++i) {
        if (text[i] == '\n')
            fputs("\\n", stdout);
        else if (text[i] == '\\')
            fputs("\\\\", stdout);
        else
            putchar(text[i]);
    }
    putchar('\n');
    free(text);
}

int main(int argc, char** argv)
{
    /* The typical call: no answers pre-filled, name and address asked after the document. */
    const char* values[PARAMETER_COUNT] = {"", "", "", "N", "N", "PDV", "", "S", "N",
                                           "N", "N", "N", "", "N", "N", "S", "N", "N"};
    int last = 16;
    int last_given = 0;
    struct module module;
    tzc_variant params[PARAMETER_COUNT];
    tzc_variant result;
    char error[1024];
    int status;
    int i;

    for (i = 1; i < argc; ++i) {
        char* end = NULL;
        long index;
        if (strcmp(argv[i], "--last") == 0 && i + 1 < argc) {
            last = (int)strtol(argv[++i], NULL, 10);
            last_given = 1;
            continue;
        }
        index = strtol(argv[i], &end, 10);
        if (end == argv[i] || *end != '=' || index < 0 || index >= PARAMETER_COUNT) {
            fprintf(stderr, "usage: %s [--last N] [I=VALUE]...  (I from 0 to 17)\n", argv[0]);
            return 2;
        }
        values[index] = end + 1;
        if (index == PARAMETER_COUNT - 1 && !last_given)
            last = PARAMETER_COUNT - 1;
    }

    module = load();
    for (i = 0; i < PARAMETER_COUNT; ++i)
        params[i] = module.make_string(values[i]);
    result = module.make_array(0, SLOT_COUNT - 1);

    status = module.call(params, last, &result, error, sizeof error);
    if (status == TZC_OK) {
        for (i = 0; i < SLOT_COUNT; ++i)
            print_slot(&module, &result, i);
    } else {
        printf("error: %s\n", error);
    }

    for (i = 0; i < PARAMETER_COUNT; ++i)
        module.clear(&params[i]);
    module.clear(&result);
    fflush(stdout);
    dlclose(module.handle);
    return status == TZC_OK ? 0 : 1;
}
