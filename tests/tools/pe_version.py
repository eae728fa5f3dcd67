#!/usr/bin/env python3
"""Prints the version resource of a Windows program or DLL as KEY=VALUE lines, read from the file
alone (no Windows, no Wine):  pe_version.py FILE

  fixed.FileVersion=1.0.0.0      (VS_FIXEDFILEINFO, the numbers Windows compares)
  fixed.ProductVersion=1.0.0.0
  fixed.FileType=2               (VFT_DLL 2, VFT_APP 1)
  040904B0.CompanyName=...       (each string of each StringFileInfo table, by its language key)
  Translation=0409,1200

Exits 1, saying why, when the file has no version resource or it is malformed."""
import struct
import sys

RT_VERSION = 16


class Malformed(Exception):
    pass


def u16(data, at):
    return struct.unpack_from("<H", data, at)[0]


def u32(data, at):
    return struct.unpack_from("<I", data, at)[0]


def sections(data):
    if data[:2] != b"MZ":
        raise Malformed("not a PE file (no MZ)")
    pe = u32(data, 0x3C)
    if data[pe:pe + 4] != b"PE\0\0":
        raise Malformed("not a PE file (no PE signature)")
    count = u16(data, pe + 6)
    optional_size = u16(data, pe + 20)
    table = pe + 24 + optional_size
    for i in range(count):
        at = table + 40 * i
        name = data[at:at + 8].rstrip(b"\0").decode("ascii", "replace")
        virtual_size, virtual_address, raw_size, raw_pointer = struct.unpack_from("<IIII", data, at + 8)
        yield name, virtual_address, max(virtual_size, raw_size), raw_pointer


def file_offset(data, rva):
    for _, address, size, raw in sections(data):
        if address <= rva < address + size:
            return raw + rva - address
    raise Malformed(f"RVA 0x{rva:x} lies in no section")


def resource_directory(data):
    for name, address, _, raw in sections(data):
        if name == ".rsrc":
            return raw, address
    raise Malformed("no .rsrc section")


def first_data_entry(data, base, directory, want_id=None):
    """The data entry under `directory`: the subdirectory with id `want_id`, else the first one."""
    named, numbered = u16(data, directory + 12), u16(data, directory + 14)
    for i in range(named + numbered):
        entry = directory + 16 + 8 * i
        identifier, target = u32(data, entry), u32(data, entry + 4)
        if want_id is not None and (identifier & 0x80000000 or identifier != want_id):
            continue
        if target & 0x80000000:
            return first_data_entry(data, base, base + (target & 0x7FFFFFFF))
        return base + target
    return None


def read_string(data, at, end):
    chars = []
    while at + 2 <= end:
        unit = u16(data, at)
        at += 2
        if unit == 0:
            break
        chars.append(unit)
    return struct.pack(f"<{len(chars)}H", *chars).decode("utf-16-le"), at


def align4(at, start):
    return start + ((at - start + 3) & ~3)


def blocks(data, at, end, start):
    """(key, value bytes offset, value length, value type, children start, block end) of each
    block between at and end."""
    while at + 6 <= end:
        length, value_length, value_type = struct.unpack_from("<HHH", data, at)
        if length == 0:
            break
        block_end = at + length
        if block_end > end:
            raise Malformed("a version block runs past its parent")
        key, after_key = read_string(data, at + 6, block_end)
        value_at = align4(after_key, start)
        value_bytes = value_length * 2 if value_type == 1 else value_length
        children = align4(value_at + value_bytes, start)
        yield key, value_at, value_length, value_type, children, block_end
        at = align4(block_end, start)


def version_info(path):
    with open(path, "rb") as file:
        data = file.read()
    raw, address = resource_directory(data)
    entry = first_data_entry(data, raw, raw, RT_VERSION)
    if entry is None:
        raise Malformed("no version resource")
    rva, size = u32(data, entry), u32(data, entry + 4)
    start = file_offset(data, rva)
    end = start + size
    root = list(blocks(data, start, end, start))
    if not root or root[0][0] != "VS_VERSION_INFO":
        raise Malformed("the version resource does not start with VS_VERSION_INFO")
    _, value_at, value_length, _, children, root_end = root[0]
    values = {}
    if value_length >= 52:
        signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<IIIIII", data, value_at)
        if signature != 0xFEEF04BD:
            raise Malformed("VS_FIXEDFILEINFO has a wrong signature")
        values["fixed.FileVersion"] = f"{file_ms >> 16}.{file_ms & 0xFFFF}.{file_ls >> 16}.{file_ls & 0xFFFF}"
        values["fixed.ProductVersion"] = (f"{product_ms >> 16}.{product_ms & 0xFFFF}."
                                          f"{product_ls >> 16}.{product_ls & 0xFFFF}")
        values["fixed.FileType"] = str(u32(data, value_at + 36))
    for key, _, _, _, grandchildren, block_end in blocks(data, children, root_end, start):
        if key == "StringFileInfo":
            for table, _, _, _, strings, table_end in blocks(data, grandchildren, block_end, start):
                for name, at, length, _, _, _ in blocks(data, strings, table_end, start):
                    text, _ = read_string(data, at, at + 2 * length)
                    values[f"{table}.{name}"] = text
        elif key == "VarFileInfo":
            for name, at, length, _, _, _ in blocks(data, grandchildren, block_end, start):
                if name == "Translation" and length >= 4:
                    values["Translation"] = f"{u16(data, at):04X},{u16(data, at + 2)}"
    return values


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip().splitlines()[1].strip(), file=sys.stderr)
        return 2
    try:
        for key, value in version_info(sys.argv[1]).items():
            print(f"{key}={value}")
    except (Malformed, struct.error, UnicodeDecodeError) as error:
        print(f"{sys.argv[1]}: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
