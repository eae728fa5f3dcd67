#!/usr/bin/env python3
"""A host in Python that loads the module with ctypes alone.

    tzc_host.py [--module PATH] [--branch FILE] [--last N] [I=VALUE]...

Starts from the typical call (empty answers, name and address asked, document asked), sets
parameter I to VALUE for each I=VALUE (17=S takes CNPJs with letters; setting element 17 passes
18 elements), calls CriaInfAdicionalC and prints the slots as "0=..." to
"7=...", or "error: TEXT" and exits 1. The module is --module, else TZC_MODULE, else
"libtzc04182.so.1" from the loader's path (LD_LIBRARY_PATH). --branch names the branch
parameter file: a Python host's executable is the interpreter, beside which the module would
look for it.
"""
import ctypes
import os
import sys

PARAMETER_COUNT = 18  # the 17 of old and element 17, the CNPJ with letters
SLOT_COUNT = 8
TZC_OK = 0

# The typical call: no answers pre-filled, name and address asked after the document.
TYPICAL = ["", "", "", "N", "N", "PDV", "", "S", "N", "N", "N", "N", "", "N", "N", "S", "N", "N"]


class _Record(ctypes.Structure):
    _fields_ = [("pvRecord", ctypes.c_void_p), ("pRecInfo", ctypes.c_void_p)]


class _Value(ctypes.Union):
    _fields_ = [("llVal", ctypes.c_int64), ("lVal", ctypes.c_int32), ("dblVal", ctypes.c_double),
                ("pointer", ctypes.c_void_p), ("brecVal", _Record)]


class Variant(ctypes.Structure):
    """tzc_variant: the OLE VARIANT layout (24 bytes on 64-bit)."""
    _fields_ = [("vt", ctypes.c_uint16), ("wReserved1", ctypes.c_uint16),
                ("wReserved2", ctypes.c_uint16), ("wReserved3", ctypes.c_uint16), ("u", _Value)]


class Module:
    def __init__(self, path):
        lib = ctypes.CDLL(path)
        self.lib = lib
        lib.tzc_version.restype = ctypes.c_char_p
        lib.tzc_variant_string.argtypes = [ctypes.c_char_p]
        lib.tzc_variant_string.restype = Variant
        lib.tzc_variant_array.argtypes = [ctypes.c_int32, ctypes.c_int32]
        lib.tzc_variant_array.restype = Variant
        lib.tzc_array_element.argtypes = [ctypes.POINTER(Variant), ctypes.c_int32]
        lib.tzc_array_element.restype = ctypes.POINTER(Variant)
        lib.tzc_variant_to_utf8.argtypes = [ctypes.POINTER(Variant), ctypes.c_char_p, ctypes.c_size_t]
        lib.tzc_variant_to_utf8.restype = ctypes.c_long
        lib.tzc_variant_clear.argtypes = [ctypes.POINTER(Variant)]
        lib.tzc_variant_clear.restype = None
        lib.CriaInfAdicionalC.argtypes = [ctypes.POINTER(Variant), ctypes.c_int, ctypes.POINTER(Variant),
                                          ctypes.c_char_p, ctypes.c_size_t]
        lib.CriaInfAdicionalC.restype = ctypes.c_int
        lib.tzc_set_branch_file.argtypes = [ctypes.c_char_p]
        lib.tzc_set_branch_file.restype = ctypes.c_int

    def set_branch_file(self, path):
        """Names the branch parameter file (a full path); None names none."""
        if self.lib.tzc_set_branch_file(None if path is None else path.encode("utf-8")) != TZC_OK:
            raise RuntimeError("the branch file's name cannot be kept")

    def version(self):
        return self.lib.tzc_version().decode()

    def text(self, value):
        """The string in a Variant, or None when it holds none."""
        length = self.lib.tzc_variant_to_utf8(value, None, 0)
        if length < 0:
            return None
        buffer = ctypes.create_string_buffer(length + 1)
        self.lib.tzc_variant_to_utf8(value, buffer, length + 1)
        return buffer.raw[:length].decode("utf-8")

    def call(self, values, last_index):
        """Runs the dialog; returns the eight slots, or raises RuntimeError with the module's text."""
        lib = self.lib
        params = (Variant * PARAMETER_COUNT)(*[lib.tzc_variant_string(v.encode("utf-8")) for v in values])
        result = lib.tzc_variant_array(0, SLOT_COUNT - 1)
        error = ctypes.create_string_buffer(1024)
        try:
            status = lib.CriaInfAdicionalC(params, last_index, ctypes.byref(result), error, len(error))
            if status != TZC_OK:
                raise RuntimeError(error.value.decode("utf-8"))
            return [self.text(lib.tzc_array_element(ctypes.byref(result), slot)) or ""
                    for slot in range(SLOT_COUNT)]
        finally:
            for param in params:
                lib.tzc_variant_clear(ctypes.byref(param))
            lib.tzc_variant_clear(ctypes.byref(result))


def main(argv):
    values = list(TYPICAL)
    last = 16
    last_given = False
    path = os.environ.get("TZC_MODULE") or "libtzc04182.so.1"
    branch = None
    args = iter(argv)
    for arg in args:
        if arg in ("--module", "--branch", "--last"):
            value = next(args, None)
            if value is None:
                break
            if arg == "--module":
                path = value
            elif arg == "--branch":
                branch = value
            else:
                last = int(value)
                last_given = True
            continue
        index, equals, value = arg.partition("=")
        if not equals or not index.isdigit() or int(index) >= PARAMETER_COUNT:
            sys.stderr.write("usage: tzc_host.py [--module PATH] [--branch FILE] [--last N] [I=VALUE]...  (I from 0 to 17)\n")
            return 2
        values[int(index)] = value
        if int(index) == PARAMETER_COUNT - 1 and not last_given:
            last = PARAMETER_COUNT - 1

    module = Module(path)
    if branch is not None:
        module.set_branch_file(branch)
    try:
        slots = module.call(values, last)
    except RuntimeError as error:
        print("error: %s" % error)
        return 1
    for slot, text in enumerate(slots):
        print("%d=%s" % (slot, text.replace("\\", "\\\\").replace("\n", "\\n")))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
