#!/usr/bin/env bash
# One X display for all the window tests of a Windows build tree, with the tree's Wine server and
# system processes warm in it: a 32-bit program under the i386 emulator costs about a minute to
# start, and a display and a server started afresh for each program would add to that.
#   display.sh start BUILD_DIR     starts Xvfb (1920 x 1080: the dialog whole at 144 dpi) and the server
#   display.sh stop BUILD_DIR      ends both
#   display.sh run BUILD_DIR COMMAND [ARGS...]   runs the command in that display
# Every Wine program of the prefix must run in that one display: one wineserver session has one
# desktop, and a window made in it by a program of another display (or of none) is refused.
set -euo pipefail
action=$1 build=$(cd "$2" && pwd); shift 2
root=$(cd "$(dirname "$0")/../.." && pwd)
state=$build/win32-display
export WINEPREFIX=$build/wine-prefix
unset XAUTHORITY

case $action in
    start)
        "$0" stop "$build"
        mkdir -p "$state"
        for number in $(seq 95 190); do
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
        [ -f "$state/display" ] || { echo "display.sh: no display started for $build" >&2; exit 1; }
        DISPLAY=$(cat "$state/display")
        export DISPLAY
        exec "$@" ;;
    *) echo "usage: $0 start|stop|run BUILD_DIR [COMMAND...]" >&2; exit 2 ;;
esac
