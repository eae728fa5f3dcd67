#!/usr/bin/env bash
# What a host's loader and linker see of tzc04182.dll, read with objdump and our own reader of
# its version resource (no Wine needed):
#   windows_dll_test.sh DLL OBJDUMP x86_64|i686 SOURCE_DIR
# - every entry exported under its plain name, none decorated; nothing else exported: the C
#   entries that include/tzc04182.h declares and CriaInfAdicional, no C++ name;
# - the version resource: file and product version from project() in CMakeLists.txt, the
#   company, the description and the original file name;
# - imports from the system's DLLs only: the C and C++ runtimes are linked in;
# - on i686 the conventions: the helpers and CriaInfAdicionalC are stdcall (each pops its own
#   arguments: ret N, a struct's hidden result pointer included), and CriaInfAdicional takes
#   Object Pascal's register convention (its arguments in EAX, EDX, ECX: it reads none from the
#   stack and pops nothing).
set -euo pipefail
dll=$1 objdump=$2 processor=$3 source=$4
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

headers=$("$objdump" -p "$dll")
exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" | sed -n 's/^\s*\[ *[0-9]*\] \(.*\)$/\1/p')
for name in CriaInfAdicional CriaInfAdicionalC tzc_variant_string tzc_variant_int tzc_variant_null tzc_variant_array \
            tzc_array_element tzc_variant_to_utf8 tzc_variant_clear tzc_last_error tzc_version tzc_set_branch_file; do
    grep -qx "$name" <<<"$exports" || fail "$name is not exported by its plain name"
done
decorated=$(grep '@' <<<"$exports" || true)
[ -z "$decorated" ] || fail "decorated exports: $decorated"
# The header's TZC_EXPORT declarations name what a host may import; the DLL exports those alone.
declared=$(grep -v '^#' "$source/include/tzc04182.h" | grep -oE 'TZC_EXPORT[^(;]*\b[A-Za-z_][A-Za-z_0-9]*\(' |
           sed -E 's/.*\b([A-Za-z_][A-Za-z_0-9]*)\($/\1/' | sort -u)
[ -n "$declared" ] || fail "no TZC_EXPORT declaration read from tzc04182.h"
extra=$(comm -23 <(sort -u <<<"$exports") <(cat <<<"$declared"))
[ -z "$extra" ] || fail "exported beyond the header's C entries: $(paste -sd' ' <<<"$extra")"
missing=$(comm -13 <(sort -u <<<"$exports") <(cat <<<"$declared"))
[ -z "$missing" ] || fail "declared in tzc04182.h and not exported: $(paste -sd' ' <<<"$missing")"

# The version resource, read from the file's .rsrc.
version=$(sed -n 's/^project(Tzc04182 VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")
if resource=$(python3 "$source/tests/tools/pe_version.py" "$dll"); then
    for expected in "fixed.FileVersion=$version.0" "fixed.ProductVersion=$version.0" "fixed.FileType=2" \
                    "040904B0.FileVersion=$version" "040904B0.ProductVersion=$version" \
                    "040904B0.OriginalFilename=tzc04182.dll" "040904B0.ProductName=Tzc04182" "Translation=0409,1200"; do
        grep -qxF "$expected" <<<"$resource" || fail "version resource: no $expected"
    done
    for key in CompanyName FileDescription LegalCopyright; do
        grep -qE "^040904B0\.$key=.+" <<<"$resource" || fail "version resource: no $key"
    done
else
    fail "no version resource readable in $dll"
fi

# The system's DLLs (case as the linker writes them varies).
system='^(kernel32|user32|gdi32|gdiplus|oleaut32|ole32|msvcrt|advapi32|shell32|shcore|comctl32|imm32|winmm|uxtheme|dwmapi|ws2_32|api-ms-win-.*)\.dll$'
while read -r imported; do
    grep -Eqi "$system" <<<"$imported" || fail "imports $imported, which no host has"
done < <(sed -n 's/^\s*DLL Name: //p' <<<"$headers")

if [ "$processor" = i686 ]; then
    symbols=$("$objdump" -t "$dll")
    # name and the bytes its ret pops; 0: a plain ret and no argument read from the stack
    for entry in CriaInfAdicional:0 CriaInfAdicionalC:0x14 tzc_variant_string:0x8 tzc_variant_int:0x8 \
                 tzc_variant_null:0x4 tzc_variant_array:0xc tzc_array_element:0x8 tzc_variant_to_utf8:0xc \
                 tzc_variant_clear:0x4 tzc_set_branch_file:0x4; do
        name=${entry%%:*} pops=${entry#*:}
        symbol=$(grep -oE "_${name}(@[0-9]+)?$" <<<"$symbols" | head -1)
        [ -n "$symbol" ] || { fail "no symbol for $name"; continue; }
        # Up to its first return: a PE symbol has no size, and what follows may be another function.
        body=$("$objdump" -d --no-show-raw-insn --disassemble="$symbol" "$dll" | awk '/>:$/ && !done { on = 1 } on { print } on && /\tret/ { on = 0; done = 1 }')
        returns=$(grep -oE '\sret\s*(\$0x[0-9a-f]+)?' <<<"$body" | tr -d ' \t')
        if [ "$pops" = 0 ]; then
            [ "$returns" = ret ] || fail "$name returns with '$returns', not a plain ret"
            ! grep -qE 'mov\s+0x[0-9a-f]+\(%esp\),' <<<"$body" || fail "$name reads arguments from the stack"
        else
            [ "$returns" = "ret\$$pops" ] || fail "$name returns with '$returns', not ret \$$pops (stdcall)"
        fi
    done
fi

[ "$failures" -eq 0 ] && echo "ok: $dll ($processor)"
exit $((failures > 0))
