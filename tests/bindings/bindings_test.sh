#!/usr/bin/env bash
# Builds a host on one of the bindings (bindings/csharp with Mono's mcs, bindings/java with javac
# and JNA) and plays calls through it against this build's module, each process with its own
# scripted customer: a typical call, each optional step, an error and the call after it, the
# branch file named by the host and by TZC_BRANCH_FILE, and 200 calls with resident memory flat.
# A missing compiler or runtime fails the test (scripts/install-deps installs them).
#   bindings_test.sh csharp|java MODULE_DIR SOURCE_DIR C_COMPILER CXX_COMPILER SANITIZE(ON|OFF)
set -euo pipefail
language=$1 module_dir=$2 source=$3 cc=$4 cxx=$5 sanitize=$6

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
need() { command -v "$1" >/dev/null || { echo "FAIL: $1 is not installed (scripts/install-deps)"; exit 1; }; }
case $language in
    csharp)
        need mcs; need mono
        mcs -warnaserror -out:"$scratch/HostProgram.exe" "$source/bindings/csharp/Tzc04182.cs" \
            "$source/tests/bindings/HostProgram.cs"
        host=(mono "$scratch/HostProgram.exe")
        ;;
    java)
        need javac; need java
        jna=/usr/share/java/jna.jar
        [ -f "$jna" ] || { echo "FAIL: $jna is missing (libjna-java)"; exit 1; }
        javac -Werror -Xlint:all -cp "$jna" -d "$scratch" "$source/bindings/java/Tzc04182.java" \
            "$source/tests/bindings/HostProgram.java"
        # Resident size is to measure what the calls keep: the heap made resident at start, and
        # only the quick compiler, whose working memory stays small (the optimising one's grew
        # the process by 5 to 10 MiB over the 200 calls).
        host=(java -Xms64m -Xmx64m -XX:+AlwaysPreTouch -XX:+UseSerialGC -XX:TieredStopAtLevel=1
              -cp "$jna:$scratch" HostProgram)
        ;;
    *) echo "usage: $0 csharp|java MODULE_DIR SOURCE_DIR CC CXX SANITIZE" >&2; exit 2 ;;
esac

run_env=(LD_LIBRARY_PATH="$module_dir" TZC_SCREEN=headless TZC_TRACE= TZC_BRANCH_FILE=)
if [ "$sanitize" = ON ]; then
    # The runtime is not instrumented: the sanitizer runtime comes first, and leaves the signals
    # the runtime uses for itself (the JVM's and Mono's SIGSEGV) to it. No quarantine: freed
    # memory would count as resident.
    run_env+=(LD_PRELOAD="$("$cc" -print-file-name=libasan.so) $("$cxx" -print-file-name=libstdc++.so.6)"
              ASAN_OPTIONS=detect_leaks=0:quarantine_size_mb=0:handle_segv=0:allow_user_segv_handler=1)
fi

branch=60423571000160
branch_file=$scratch/branch.xml
cat >"$branch_file" <<EOF
<?xml version="1.0" standalone="yes"?><DATAPACKET Version="2.0"><METADATA><FIELDS><FIELD attrname="NRINSJURFILI" fieldtype="string" WIDTH="14"/></FIELDS><PARAMS/></METADATA><ROWDATA><ROW NRINSJURFILI="$branch"/></ROWDATA></DATAPACKET>
EOF
typical='52998224725{Enter}JOSE GONÇALVES{Enter}RUA DAS FLORES 100{Enter}'
refused='0=|1=|2=|3=|4=|5=|6=|7='  # the branch's CNPJ refused, then Escape

failures=0
# name | environment | arguments | scripted customer | the output, lines joined by "//"
cases=(
    "typical call||--last 16|$typical|0=52998224725|1=JOSE GONÇALVES|2=RUA DAS FLORES 100|3=N|4=N|5=N|6=|7=N"
    "accented texts passed||1=JOÃO 11=S 12=joão@example.com|{Enter}|0=|1=JOÃO|2=|3=N|4=N|5=N|6=joão@example.com|7=N"
    "telephone||3=S|11987654321{Enter}|0=|1=|2=|3=11987654321|4=N|5=N|6=|7=N"
    "promotional code||8=S 10=S|PROMO2026ABC{Enter}|0=|1=|2=|3=N|4=PROMO2026ABC|5=N|6=|7=N"
    "receipt e-mail||11=S 12=ana@loja.com.br 13=S|{Enter}|0=|1=|2=|3=N|4=N|5=N|6=ana@loja.com.br|7=N"
    "consumer search||14=S|MARIA{Enter}|0=|1=|2=|3=N|4=N|5=N|6=|7=MARIA"
    "foreign identification||9=S|[sbtIdEstrangeira]X123{Enter}MARIA{Enter}RUA UM 1{Enter}|0=|1=MARIA|2=RUA UM 1|3=N|4=N|5=X123|6=|7=N"
    "CNPJ with letters||7=N 17=S|12ABC34501DE35{Enter}|0=12ABC34501DE35|1=CONSUMIDOR FINAL|2=|3=N|4=N|5=N|6=|7=N"
    "an error, then a call||--first-last 5 --calls 2|{wait 1s}$typical|error: parameter 6 is missing//0=52998224725|1=JOSE GONÇALVES|2=RUA DAS FLORES 100|3=N|4=N|5=N|6=|7=N"
    "branch file named by the host||7=N --branch $branch_file|$branch{Enter}{Enter}{Escape}|$refused"
    "branch file named in TZC_BRANCH_FILE|TZC_BRANCH_FILE=$branch_file|7=N|$branch{Enter}{Enter}{Escape}|$refused"
    "no branch file named||7=N|$branch{Enter}|0=$branch|1=CONSUMIDOR FINAL|2=|3=N|4=N|5=N|6=|7=N"
    "named branch file missing||--branch $scratch/missing.cds --calls 2|{Escape}|error: $scratch/missing.cds: cannot open the file//error: $scratch/missing.cds: cannot open the file"
)
for case in "${cases[@]}"; do
    IFS='|' read -r name environment arguments script expected <<<"$case"
    status=0
    # shellcheck disable=SC2086  # the arguments split on blanks
    got=$(env "${run_env[@]}" $environment TZC_INPUT="$script" "${host[@]}" $arguments 2>"$scratch/stderr") || status=$?
    want=${expected//\/\//$'\n'}
    if [ "$got" != "$want" ] || [ "$status" != 0 ]; then
        echo "FAIL: $name: exit $status"
        diff <(echo "$want") <(echo "$got") || true
        cat "$scratch/stderr"
        failures=$((failures + 1))
    fi
done

# 200 calls, each passing a 50 000-character element: a Variant the binding forgot to free would
# keep 100 KB a call, 15 MiB over the last 150.
calls=200
script=$(for ((i = 0; i < calls; i++)); do printf '{wait 1s}%s' "$typical"; done)
got=$(env "${run_env[@]}" TZC_INPUT="$script" "${host[@]}" --calls $calls --context-chars 50000 --rss 2>"$scratch/stderr") || true
answered=$(grep -cx '0=52998224725|1=JOSE GONÇALVES|2=RUA DAS FLORES 100|3=N|4=N|5=N|6=|7=N' <<<"$got" || true)
read -r _ after_warm_up after_last < <(grep '^rss: ' <<<"$got") || true
if [ "$answered" != $calls ] || [ -z "${after_last:-}" ] || [ $((after_last - after_warm_up)) -gt 6144 ]; then
    echo "FAIL: $calls calls: $answered answered; resident KiB after call 50 and after the last: ${after_warm_up:-?} ${after_last:-?}"
    tail -5 <<<"$got"
    cat "$scratch/stderr"
    failures=$((failures + 1))
fi
[ "$failures" -eq 0 ] || exit 1
echo "the $language host passed ${#cases[@]} cases and $calls calls (resident KiB $after_warm_up after call 50, $after_last after the last)"
