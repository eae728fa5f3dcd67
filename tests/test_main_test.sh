#!/usr/bin/env bash
# A failing test shows its message and the run ends with status 1, a skip shows its reason:
#   test_main_test.sh [EMULATOR...] FAILING_TESTS
set -uo pipefail
output=$("$@" 2>&1 | tr -d '\r'); status=$?
echo "$output"
expect() { grep -qF -- "$1" <<<"$output" || { echo "FAIL: no '$1' in the output"; exit 1; }; }
[ "$status" -eq 1 ] || { echo "FAIL: exit status $status, want 1"; exit 1; }
expect "the message of a failure"
expect "the reason of a skip"
expect "[  FAILED  ] ConsolePrinter.FailsWhileASecondThreadLives"
expect "[  SKIPPED ] ConsolePrinter.SkipsWhileASecondThreadLives"
expect "[  FAILED  ] 1 test, listed below:"
