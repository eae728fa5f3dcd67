#!/usr/bin/env bash
# From the map on, every frame the X server shows of the dialog's window is the dialog: a watcher
# in another process reads the whole window from the map until the dialog settles, for the first
# call of a process and later calls (the window kept), and counts the reads that are not the dialog
# (black, unpainted, half painted, or an earlier call's answers on the display line). No times.
#   first_frames_test.sh WATCHER HOST MODULE
set -uo pipefail
watcher=$1 host=$2 module=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_RUNTIME_DIR=$scratch
unset QT_QPA_PLATFORM TZC_SCREEN TZC_INPUT TZC_TRACE
# 4 calls, 3 keys and a touch each: later calls start after an earlier customer typed.
line=$("$(dirname "$0")/../support/in_xvfb.sh" "$watcher" 4 3 1 -- "$host" "$module" | tail -1)
echo "$line"
read_counts=$(sed -n 's/.*frames_read=\([0-9,]*\).*/\1/p' <<<"$line")
bad_counts=$(sed -n 's/.*frames_not_dialog=\([0-9,]*\).*/\1/p' <<<"$line")
if [ -z "$read_counts" ] || [ -z "$bad_counts" ]; then
    echo "FAIL: the watcher measured nothing"; exit 1
fi
status=0
call=0
IFS=, read -ra reads <<<"$read_counts"
IFS=, read -ra bads <<<"$bad_counts"
for i in "${!reads[@]}"; do
    call=$((i + 1))
    [ "${reads[$i]}" -gt 0 ] || { echo "FAIL: call $call: no frame read"; status=1; }
    [ "${bads[$i]}" -eq 0 ] || { echo "FAIL: call $call: ${bads[$i]} of ${reads[$i]} frames were not the dialog"; status=1; }
done
[ "${#reads[@]}" -eq 4 ] || { echo "FAIL: ${#reads[@]} calls watched of 4"; status=1; }
exit "$status"
