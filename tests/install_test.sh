#!/usr/bin/env bash
# Installs a build into a scratch prefix, builds the example hosts outside the tree against it
# (CMake package and pkg-config), and plays every flow through each of them with a scripted
# customer.
#   install_test.sh BUILD_DIR SOURCE_DIR C_COMPILER CXX_COMPILER SANITIZE(ON|OFF)
set -euo pipefail
build=$1 source=$2 cc=$3 cxx=$4 sanitize=$5

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

flags=()
if [ "$sanitize" = ON ]; then
    flags=(-fsanitize=address,undefined -fno-omit-frame-pointer)
fi

echo "== install"
cmake --install "$build" --prefix "$prefix" >/dev/null
for file in lib/libtzc04182.so lib/libtzc04182.so.1 include/tzc04182.h include/tzc04182.hpp bin/tzc-host \
            lib/cmake/Tzc04182/Tzc04182Config.cmake lib/cmake/Tzc04182/Tzc04182ConfigVersion.cmake \
            lib/pkgconfig/tzc04182.pc; do
    [ -e "$prefix/$file" ] || fail "not installed: $file"
done
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
version=$(pkg-config --modversion tzc04182)
soname=$(readelf -d "$prefix/lib/libtzc04182.so" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
[ "$soname" = "libtzc04182.so.${version%%.*}" ] || fail "SONAME is '$soname', version $version"
host_version=$("$prefix/bin/tzc-host" --version)
[ "$host_version" = "tzc-host $version" ] || fail "tzc-host --version says '$host_version', pkg-config $version"

echo "== build the example hosts"
configure() {  # configure DIR SOURCE: an outside project found through the installed package only
    cmake -S "$2" -B "$1" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx" \
        -DCMAKE_C_FLAGS="${flags[*]}" -DCMAKE_CXX_FLAGS="${flags[*]}" \
        -DCMAKE_EXE_LINKER_FLAGS="${flags[*]}" >"$1.log" 2>&1 &&
        cmake --build "$1" >>"$1.log" 2>&1 || { cat "$1.log"; return 1; }
}
configure "$scratch/c" "$source/examples/c"
configure "$scratch/cpp" "$source/examples/cpp"
"$cc" "${flags[@]}" -Wall -Wextra -Werror "$source/examples/c/host.c" $(pkg-config --cflags tzc04182) \
    -DTZC_MODULE_DEFAULT="\"$(pkg-config --variable=module tzc04182)\"" -ldl -o "$scratch/c-host-pc"
"$cxx" "${flags[@]}" -std=c++17 -Wall -Wextra -Werror "$source/examples/cpp/host.cpp" \
    $(pkg-config --cflags --libs tzc04182) -Wl,-rpath,"$(pkg-config --variable=libdir tzc04182)" \
    -o "$scratch/cpp-host-pc"

# The interpreter itself, not a version manager's shim that would run before every call.
python=$(python3 -c 'import sys; print(sys.executable)')
python_env=(LD_LIBRARY_PATH="$prefix/lib")
if [ "$sanitize" = ON ]; then
    # The interpreter is not instrumented: the sanitizer runtime has to come first, the C++
    # runtime with it so that ASan can wrap its throw, and the interpreter's own allocations are
    # not ours to report.
    python_env+=(LD_PRELOAD="$("$cc" -print-file-name=libasan.so) $("$cxx" -print-file-name=libstdc++.so.6)"
                 ASAN_OPTIONS=detect_leaks=0)
fi
hosts=(c/cmake c/pkg-config c++/cmake c++/pkg-config python)
run_host() {  # run_host LABEL ARGUMENTS...
    local label=$1; shift
    case $label in
        c/cmake) "$scratch/c/c-host" "$@" ;;
        c/pkg-config) "$scratch/c-host-pc" "$@" ;;
        c++/cmake) "$scratch/cpp/cpp-host" "$@" ;;
        c++/pkg-config) "$scratch/cpp-host-pc" "$@" ;;
        python) env "${python_env[@]}" "$python" "$source/examples/python/tzc_host.py" "$@" ;;
    esac
}

# name | arguments | scripted customer | slots 0..7 joined by "|", or the error line
cases=(
    "identification||52998224725{Enter}MARIA DA SILVA{Enter}RUA DAS FLORES 100{Enter}|52998224725|MARIA DA SILVA|RUA DAS FLORES 100|N|N|N||N"
    "document only, not on a TAA|5=TAA|11222333000181{Enter}|11222333000181|CONSUMIDOR FINAL||N|N|N||N"
    "name cut to 30|4=S 15=N|ABCDEFGHIJ ABCDEFGHIJ ABCDEFGHIJ ABCDE{Enter}RUA B 2{Enter}||ABCDEFGHIJ ABCDEFGHIJ ABCDEFGH|RUA B 2|N|N|N||N"
    "telephone|3=S|11987654321{Enter}||||11987654321|N|N||N"
    "promotional code, long|8=S 10=S|PROMO2024ABCDEFGH{Enter}||||N|PROMO2024ABCDEFGH|N||N"
    "promotional code, short|8=S|PROMO2024ABCDEFGH{Enter}||||N|PROMO2024A|N||N"
    "receipt e-mail pre-filled|11=S 12=joão@example.com|{Enter}||||N|N|N|joão@example.com|N"
    "consumer search, an accented letter entered as its plain letter|14=S|AÇÚCAR 12{Enter}||||N|N|N||AÇUCAR 12"
    "foreign identification|9=S|[sbtIdEstrangeira]AB123456{Enter}JOHN SMITH{Enter}LONDON ROAD 1{Enter}||JOHN SMITH|LONDON ROAD 1|N|N|AB123456||N"
    "alphanumeric CNPJ|7=N 17=S|12abc34501de35{Enter}|12ABC34501DE35|CONSUMIDOR FINAL||N|N|N||N"
    "letters refused without element 17|7=N|12ABC34501DE35{Enter}{Enter}{Escape}|||||||||"
    "declined|1=JOSE|[sbtSair]|||||||||"
    "timeout on an APC terminal|5=APC|52998224725{Enter}{wait 21s}|52998224725|CONSUMIDOR FINAL||||||"
    "missing parameter|--last 5||error: parameter 6 is missing"
    "customer walks away|--last 16|123|error: input ended at step 1"
)

echo "== play the flows"
for label in "${hosts[@]}"; do
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
        got=$(TZC_SCREEN=headless TZC_INPUT=$script TZC_TRACE= run_host "$label" $arguments 2>"$scratch/stderr") ||
            status=$?
        if [ "$got" != "$want" ] || [ "$status" != "$want_status" ]; then
            fail "$label, $name: exit $status (want $want_status)"
            diff <(echo "$want") <(echo "$got") || true
            cat "$scratch/stderr"
        fi
    done
    echo "$label: ${#cases[@]} calls"
done

# A Python host's executable is the interpreter: it names the branch file, whose CNPJ is refused.
echo "== the branch file named by the Python host"
cat >"$scratch/branch.xml" <<'EOF'
<?xml version="1.0" standalone="yes"?><DATAPACKET Version="2.0"><METADATA><FIELDS><FIELD attrname="NRINSJURFILI" fieldtype="string" WIDTH="14"/></FIELDS><PARAMS/></METADATA><ROWDATA><ROW NRINSJURFILI="60423571000160"/></ROWDATA></DATAPACKET>
EOF
got=$(TZC_SCREEN=headless TZC_INPUT='60423571000160{Enter}{Enter}{Escape}' TZC_TRACE=1 \
      run_host python --branch "$scratch/branch.xml" 7=N 2>&1 >/dev/null) || fail "python --branch: exit $?"
grep -qx 'message: CNPJ informado deve ser diferente do CNPJ da filial.' <<<"$got" ||
    fail "python --branch: the branch's CNPJ was not refused: $got"

if [ "$failures" -ne 0 ]; then
    echo "$failures failures"
    exit 1
fi
echo "all hosts passed"
