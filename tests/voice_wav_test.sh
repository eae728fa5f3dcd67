#!/usr/bin/env bash
# The WAV voice: the prompt the customer hears first is written, is not silent, and lasts about
# what eSpeak NG's own program says the same text lasts. Usage: voice_wav_test.sh TZC-HOST
set -euo pipefail
host=$1
for tool in sox soxi espeak-ng; do
    command -v $tool >/dev/null || { echo "$tool is not installed (scripts/install-deps)"; exit 1; }
done
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

TZC_SCREEN=headless TZC_VOICE="wav:$dir" TZC_INPUT='{Escape}' "$host" >/dev/null
[ -f "$dir/0001.wav" ] || { echo "no WAV written"; ls -l "$dir"; exit 1; }
[ ! -f "$dir/0002.wav" ] || { echo "more than the prompt said after Escape"; exit 1; }

espeak-ng -v pt-br -w "$dir/reference.wav" "Informe o CPF ou CNPJ. Tecle Esc para não informar."
ours=$(soxi -D "$dir/0001.wav")
reference=$(soxi -D "$dir/reference.wav")
rms=$(sox "$dir/0001.wav" -n stat 2>&1 | awk '/^RMS +amplitude/ {print $3}')
echo "prompt: ${ours} s (eSpeak NG: ${reference} s), RMS amplitude ${rms}"
awk -v a="$ours" -v b="$reference" -v r="$rms" 'BEGIN {
    if (b < 1) { print "the reference is too short to compare"; exit 1 }
    if (a < 0.9 * b || a > 1.1 * b) { print "duration differs by more than 10 %"; exit 1 }
    if (r < 0.02) { print "silent"; exit 1 }
}'
