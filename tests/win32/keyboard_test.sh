#!/usr/bin/env bash
# The Brazilian ABNT2 keyboard at the Win32 screen's window under Wine: the table the Qt window is
# typed with (tests/keyboard), in an X server of its own (the keymap is the server's), with the
# host in a prefix of its own whose Wine server stays warm in that display.
#   keyboard_test.sh BUILD_DIR WINE_RUN HOST.exe     (inside tests/support/in_xvfb.sh)
# The prefix has Wine compose dead keys itself, as Windows does, rather than through X input
# methods, which swallow what they cannot compose; and, as Xvfb runs no window manager, its
# windows are not managed (a managed window waits 2 s for one at every hide).
set -euo pipefail
build=$(cd "$1" && pwd) wine_run=$2 host=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX=$build/wine-prefix-keys WINEDEBUG=-all
unset TZC_SCREEN TZC_INPUT
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
"$wine_run" --keep-warm
for setting in UseXIM Managed; do
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v "$setting" /d N /f >/dev/null
done
python3 "$root/tests/keyboard/abnt2_keys.py" --wine "$root/tests/keyboard/abnt2_cases.tsv" \
    "$wine_run" "$host" --screen window
