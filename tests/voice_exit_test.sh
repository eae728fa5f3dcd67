#!/usr/bin/env bash
# Hosts that end with the system's voice on (TZC_VOICE=1) end at once: one that exits after a
# call, one that unloads the module after a call and then exits, one that exits without a call;
# and one that calls, unloads, loads the module again and calls again (the second load cannot
# start eSpeak NG a second time: its call is silent, and works).
# Each must be gone within 2 s of starting to end (a hang is cut at 10 s; at 120 s under Wine,
# whose first start makes its prefix).
#   voice_exit_test.sh EXIT_HOST MODULE [RUNNER]      (RUNNER: scripts/wine-run for a Windows host)
# On Linux each shape runs with the machine's own audio ("default": on a machine without a sound
# card, none) and with ALSA's null device as the default (a private ~/.asoundrc), where eSpeak NG
# opens its output and plays into it; 5 times each, as whether a host hung depended on where
# eSpeak NG's audio thread was when it ended (about half the runs). Under Wine once each: the
# voice there is the silent one (Wine 8's SAPI speaks nothing), and a start is slow.
set -euo pipefail
host=$1 module=$2
runner=("${@:3}")
limit=2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

devices=(default) runs=1 hang=120
if [ ${#runner[@]} -eq 0 ]; then
    devices+=(null) runs=5 hang=10
    mkdir -p "$scratch/null"
    printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$scratch/null/.asoundrc"
    # The device is there: eSpeak NG's own program plays into it without a word from ALSA.
    if command -v espeak-ng >/dev/null; then
        said=$(HOME=$scratch/null espeak-ng -v pt-br "um" 2>&1) || fail "espeak-ng cannot play into the null device: $said"
        [ -z "$said" ] || fail "ALSA's null device did not take: $said"
    fi
fi

for device in "${devices[@]}"; do
    home=$HOME
    [ "$device" = null ] && home=$scratch/null
    for run in $(seq $runs); do
    for shape in call-exit call-unload no-call reload; do
        out=$scratch/out err=$scratch/err
        status=0
        HOME=$home TZC_VOICE=1 TZC_TRACE=1 TZC_SCREEN=headless TZC_INPUT='52998224725{Enter}ANA{Enter}RUA 1{Enter}' \
            timeout $hang "${runner[@]}" "$host" "$module" "$shape" >"$out" 2>"$err" || status=$?
        ended=$(date +%s.%N)
        what="$shape (device: $device, run $run)"
        if [ "$status" -eq 124 ]; then
            fail "$what hangs"
            continue
        fi
        [ "$status" -eq 0 ] || { fail "$what exits with $status: $(head -c 600 "$out" "$err")"; continue; }
        ending=$(tr -d '\r' <"$out" | sed -n 's/^ending at //p')
        [ -n "$ending" ] || { fail "$what said nothing of its ending"; continue; }
        took=$(awk -v a="$ending" -v b="$ended" 'BEGIN { printf "%.2f", b - a }')
        [ "$run" -gt 1 ] || echo "$what: ended ${took} s after it began to end"
        awk -v t="$took" -v l="$limit" 'BEGIN { exit !(t > l) }' && fail "$what took ${took} s to end (limit ${limit} s)"
        if [ "$shape" != no-call ]; then
            calls=1
            [ "$shape" = reload ] && calls=2
            [ "$(tr -d '\r' <"$out" | grep -cx '2=RUA 1')" -eq "$calls" ] ||
                fail "$what: not every call answered: $(cat "$out")"
            # The voice was on and said something (Linux: eSpeak NG must be had; Wine 8's SAPI
            # speaks nothing, so the voice there is the silent one, with the reason traced).
            grep -q '^voice: Informe o CPF ou CNPJ' "$err" || fail "$what: no voice traced"
            if [ ${#runner[@]} -eq 0 ] && [ "$shape" != reload ] && grep -q '^voice unavailable' "$err"; then
                fail "$what: $(grep '^voice unavailable' "$err")"
            fi
        fi
    done
    done
done
[ "$failures" -eq 0 ] && echo ok
exit $((failures > 0))
