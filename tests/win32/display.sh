#!/usr/bin/env bash
# One X display for all the window tests of a Windows build tree, with the tree's Wine server and
# system processes warm in it: a display and a server started afresh for each program would add
# seconds to every start, more under the i386 emulator.
#   display.sh start BUILD_DIR PREFIX    starts Xvfb (1920 x 1080: the dialog whole at 144 dpi) and
#                                        the server of the prefix BUILD_DIR/PREFIX
#   display.sh stop BUILD_DIR PREFIX     ends both
#   display.sh run BUILD_DIR PREFIX COMMAND [ARGS...]   runs the command in that display and prefix
# Every Wine program of a prefix must run in its one display: one wineserver session has one
# desktop, and a window made in it by a program of another display (or of none) is refused. Two
# prefixes, each in a display of its own, let two window tests run at once: input sent to one
# display never reaches the other's windows.
set -euo pipefail
action=$1 build=$(cd "$2" && pwd) prefix=$3; shift 3
root=$(cd "$(dirname "$0")/../.." && pwd)
state=$build/$prefix.display
export WINEPREFIX=$build/$prefix
unset XAUTHORITY

case $action in
    start)
        "$0" stop "$build" "$prefix"
        mkdir -p "$state"
        # Two starts at once take numbers from either end.
        numbers=$(seq 95 190)
        [[ $prefix == *-dpi ]] && numbers=$(seq 190 -1 95)
        for number in $numbers; do
            [ -e "/tmp/.X$number-lock" ] && continue
            # Out of the test's process group and with its output closed, or ctest would wait for it.
            setsid Xvfb ":$number" -screen 0 1920x1080x24 -nolisten tcp </dev/null >"$state/xvfb.log" 2>&1 &
            pid=$!
            for _ in $(seq 100); do
                [ -S "/tmp/.X11-unix/X$number" ] && break
                kill -0 "$pid" 2>/dev/null || break
                sleep 0.1
            done
            if [ -S "/tmp/.X11-unix/X$number" ] && kill -0 "$pid" 2>/dev/null; then
                echo ":$number" >"$state/display"
                echo "$pid" >"$state/pid"
                DISPLAY=:$number "$root/scripts/wine-run" --keep-warm
                # Xvfb runs no window manager: a managed window would wait 2 s for one at every hide.
                DISPLAY=:$number /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
                    >/dev/null
                echo "display :$number, Wine's server warm in it"
                exit 0
            fi
            kill "$pid" 2>/dev/null || true
        done
        echo "display.sh: no X display could be started" >&2
        exit 1 ;;
    stop)
        /usr/lib/wine/wineserver -k 2>/dev/null || true
        if [ -f "$state/pid" ]; then
            kill "$(cat "$state/pid")" 2>/dev/null || true
        fi
        rm -rf "$state" ;;
    run)
        [ -f "$state/display" ] || { echo "display.sh: no display started for $WINEPREFIX" >&2; exit 1; }
        DISPLAY=$(cat "$state/display")
        export DISPLAY
        exec "$@" ;;
    *) echo "usage: $0 start|stop|run BUILD_DIR PREFIX [COMMAND...]" >&2; exit 2 ;;
esac
