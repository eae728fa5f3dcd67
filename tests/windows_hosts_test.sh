#!/usr/bin/env bash
# Runs a Windows host program under Wine from a scratch folder that holds it, tzc04182.dll of a
# Windows build tree and the branch file PARAMETROSVLX.CDS, as a till's folder does:
#   windows_hosts_test.sh c|pascal BUILD_DIR SOURCE_DIR
# c: examples/windows/host.c, 100 rounds of load, 20 calls, a failing call, unload; its first
# customer of each round types the branch's CNPJ, which must be refused. pascal:
# examples/pascal/windows/tzc_many_calls.pas compiled with Free Pascal for the DLL's architecture
# (Win64: Debian's compiler with its runtime built by scripts/build-fpc-win64; Win32: the cross
# compiler of scripts/build-fpc-win32) against the unit Tzc04182.pas, 300 calls through the raw
# import and the errors its try..except catches.
set -euo pipefail
host=$1 build=$(cd "$2" && pwd) source=$(cd "$3" && pwd)
# How much the heaps may grow over the 99 rounds after the first: the C++ runtime linked into the
# DLL keeps about 1.6 KiB per load and unload (so does a DLL of one C++ function), while one
# call's eight slots left unfreed would come to some 800 KiB.
max_growth_kib=400

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export WINEPREFIX=$build/wine-prefix
cp "$build/bin/tzc04182.dll" "$scratch/"
cat >"$scratch/PARAMETROSVLX.CDS" <<'XML'
<?xml version="1.0" standalone="yes"?><DATAPACKET Version="2.0"><METADATA><FIELDS><FIELD attrname="CDFILI" fieldtype="string" WIDTH="4"/><FIELD attrname="NRINSJURFILI" fieldtype="string" WIDTH="14"/></FIELDS><PARAMS/></METADATA><ROWDATA><ROW CDFILI="1" NRINSJURFILI="11222333000181"/></ROWDATA></DATAPACKET>
XML

case $host in
    c)
        cp "$build/bin/windows-c-host.exe" "$scratch/"
        program=windows-c-host.exe ;;
    pascal)
        # The DLL's PE machine says which Free Pascal builds the host: 8664 Win64, 014c Win32.
        pe_offset=$(od -An -tu4 -j60 -N4 "$build/bin/tzc04182.dll" | tr -d ' ')
        case $(od -An -tx2 -j$((pe_offset + 4)) -N2 "$build/bin/tzc04182.dll" | tr -d ' ') in
            8664)
                command -v ppcx64 >/dev/null || { echo "FAIL: Free Pascal is not installed (scripts/install-deps)"; exit 1; }
                "$source/scripts/build-fpc-win64" "$source/build-fpc-win64" >/dev/null
                compile=(ppcx64 -Twin64 @"$source/build-fpc-win64/fpc-win64.cfg") ;;
            014c)
                "$source/scripts/build-fpc-win32" "$source/build-fpc-win32" >/dev/null
                compile=("$source/build-fpc-win32/ppc386" -Twin32 @"$source/build-fpc-win32/fpc-win32.cfg") ;;
            *) echo "FAIL: $build/bin/tzc04182.dll is no Windows x86 DLL"; exit 1 ;;
        esac
        mkdir "$scratch/units"
        "${compile[@]}" -Mobjfpc -Fu"$source/include" -FU"$scratch/units" \
            -FE"$scratch" -vw "$source/examples/pascal/windows/tzc_many_calls.pas" >"$scratch/fpc.log" 2>&1 ||
            { cat "$scratch/fpc.log"; exit 1; }
        program=tzc_many_calls.exe ;;
    *) echo "usage: $0 c|pascal BUILD_DIR SOURCE_DIR" >&2; exit 2 ;;
esac

status=0
output=$(cd "$scratch" && TZC_TRACE= "$source/scripts/wine-run" "./$program" 2>&1 | tr -d '\r') || status=$?
echo "$output"
[ "$status" -eq 0 ] || { echo "FAIL: $program exited $status"; exit 1; }

case $host in
    c)
        growth=$(sed -n 's/^ok: 2100 calls, the heaps grew \(-\?[0-9]*\) KiB.*/\1/p' <<<"$output")
        [ -n "$growth" ] || { echo "FAIL: not 2100 calls"; exit 1; }
        [ "$growth" -le "$max_growth_kib" ] || { echo "FAIL: memory grew $growth KiB"; exit 1; } ;;
    pascal)
        expected="caught: EExternalException: External exception E0545A43
exception argument: parameter 6 is missing
tzc_last_error: parameter 6 is missing
caught: EExternalException: External exception E0545A43
exception argument: Variant is not an array
tzc_last_error: Variant is not an array
ok: 300 calls"
        [ "$output" = "$expected" ] || { echo "FAIL: the Pascal host saw something else"; diff <(echo "$expected") <(echo "$output"); exit 1; } ;;
esac
echo "ok"
