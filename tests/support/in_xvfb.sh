#!/usr/bin/env bash
# Runs a command in an X server of its own and ends the server with it:
#   in_xvfb.sh [-s "XVFB ARGUMENTS"] COMMAND [ARGUMENTS...]     (default: one 1024x768 screen)
# Xvfb takes a free display number itself (-displayfd), so servers started side by side never
# choose the same one (xvfb-run -a can: it looks for a free number, then starts the server).
set -euo pipefail
server=(-screen 0 1024x768x24)
if [ "${1:-}" = -s ]; then read -ra server <<<"$2"; shift 2; fi
ready=$(mktemp)
Xvfb -displayfd 3 -nolisten tcp "${server[@]}" 3>"$ready" </dev/null >/dev/null 2>"$ready.log" &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -f "$ready" "$ready.log"' EXIT
# The server writes its number once it takes clients.
for _ in $(seq 200); do
    grep -q . "$ready" && break
    kill -0 "$xvfb" 2>/dev/null || { cat "$ready.log" >&2; echo "in_xvfb: Xvfb did not start" >&2; exit 1; }
    sleep 0.05
done
grep -q . "$ready" || { echo "in_xvfb: Xvfb gave no display in 10 s" >&2; exit 1; }
status=0
DISPLAY=:$(head -1 "$ready") "$@" || status=$?
exit "$status"
