#!/usr/bin/env bash
# Installs a build into a scratch prefix, compiles the Free Pascal example host against the
# installed unit Tzc04182.pas, and plays calls through it with a scripted customer: accented
# names both ways, and errors of the call raised as ETzcErro. Exits 77 (skipped) without fpc.
#   pascal_test.sh BUILD_DIR SOURCE_DIR C_COMPILER CXX_COMPILER SANITIZE(ON|OFF)
set -euo pipefail
build=$1 source=$2 cc=$3 cxx=$4 sanitize=$5
command -v fpc >/dev/null || { echo "fpc is not installed (scripts/install-deps)"; exit 77; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
include=$(find "$prefix" -name Tzc04182.pas -printf '%h\n' -quit)
[ -n "$include" ] || { echo "FAIL: Tzc04182.pas is not installed"; exit 1; }
libdir=$(dirname "$(find "$prefix" -name 'libtzc04182.so' -print -quit)")

mkdir "$scratch/units"
fpc -vew -Sew -Fu"$include" -Fl"$libdir" -FU"$scratch/units" -o"$scratch/tzc_host" \
    "$source/examples/pascal/tzc_host.pas" >"$scratch/fpc.log" 2>&1 || { cat "$scratch/fpc.log"; exit 1; }

run_env=(LD_LIBRARY_PATH="$libdir" TZC_SCREEN=headless TZC_TRACE=)
if [ "$sanitize" = ON ]; then
    # The Pascal program is not instrumented: the sanitizer runtime has to come first.
    run_env+=(LD_PRELOAD="$("$cc" -print-file-name=libasan.so) $("$cxx" -print-file-name=libstdc++.so.6)"
              ASAN_OPTIONS=detect_leaks=0)
fi

failures=0
# name | arguments | scripted customer | slots 0..7 joined by "|", or the error line
cases=(
    "accented name typed|--last 7|52998224725{Enter}JOSE GONÇALVES{Enter}RUA DAS FLORES 100{Enter}|52998224725|JOSE GONÇALVES|RUA DAS FLORES 100|N|N|N||N"
    "accented texts passed|1=JOÃO 11=S 12=joão@example.com|{Enter}||JOÃO||N|N|N|joão@example.com|N"
    "missing parameter|--last 5||error: parameter 6 is missing"
    "customer walks away||123|error: input ended at step 1"
    "branch file named|7=N --branch $scratch/branch.xml|60423571000160{Enter}{Enter}{Escape}||||||||"
    "named branch file missing|--branch $scratch/missing.cds||error: $scratch/missing.cds: cannot open the file"
)
cat >"$scratch/branch.xml" <<'EOF'
<?xml version="1.0" standalone="yes"?><DATAPACKET Version="2.0"><METADATA><FIELDS><FIELD attrname="NRINSJURFILI" fieldtype="string" WIDTH="14"/></FIELDS><PARAMS/></METADATA><ROWDATA><ROW NRINSJURFILI="60423571000160"/></ROWDATA></DATAPACKET>
EOF
for case in "${cases[@]}"; do
    IFS='|' read -r name arguments script expected <<<"$case"
    if [[ $expected == error:* ]]; then
        want=$expected want_status=1
    else
        want=$(IFS='|' read -ra slots <<<"$expected|"; for i in 0 1 2 3 4 5 6 7; do echo "$i=${slots[$i]:-}"; done)
        want_status=0
    fi
    status=0
    # shellcheck disable=SC2086  # the arguments split on blanks
    got=$(env "${run_env[@]}" TZC_INPUT="$script" "$scratch/tzc_host" $arguments 2>"$scratch/stderr") || status=$?
    if [ "$got" != "$want" ] || [ "$status" != "$want_status" ]; then
        echo "FAIL: $name: exit $status (want $want_status)"
        diff <(echo "$want") <(echo "$got") || true
        cat "$scratch/stderr"
        failures=$((failures + 1))
    fi
done
[ "$failures" -eq 0 ] || exit 1
echo "the Pascal host passed ${#cases[@]} calls"
