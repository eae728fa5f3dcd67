#!/usr/bin/env bash
# tzc-host.exe shows the dialog in a window with nobody scripted at it; a customer in another
# process clicks the CPF and "Confirmar" and types the name and the address; the host prints the
# slots. Run in the tree's display (display.sh run):
#   outside_customer_test.sh WINE_RUN TZC_HOST_EXE OUTSIDE_CUSTOMER_EXE
set -euo pipefail
wine_run=$1 host=$2 customer=$3
out=$(mktemp)
shown=
# A host left waiting for a customer who never came must not outlive the test.
trap '[ -n "$shown" ] && kill $shown 2>/dev/null; rm -f "$out"' EXIT
env -u TZC_INPUT TZC_SCREEN=window "$wine_run" "$host" >"$out" 2>&1 & shown=$!
"$wine_run" "$customer"
wait $shown
shown=
slots=$(tr -d '\r' <"$out")
echo "$slots"
grep -qx '0=52998224725' <<<"$slots" && grep -qx '1=MARIA' <<<"$slots" && grep -qx '2=RUA 1' <<<"$slots"
