#!/usr/bin/env bash
# The Qt screen on the displays of a till, each call in a process of its own:
#   - a display that cannot start fails the call with its reason, and the host lives on (exit 1
#     with the error, never Qt's abort); a later call of the same process works once it is there
#   - the window lies wholly on its display, centred, under the platform's scale factors
#   - TZC_DISPLAY opens it on the second of two displays (shrunk to fit a small one)
# Needs Xvfb, xdotool and python3 (scripts/install-deps).
#   display_test.sh BIN_DIR
set -uo pipefail
bin=$1
host=$bin/tzc-host
scratch=$(mktemp -d)
in_xvfb=$(dirname "$0")/../support/in_xvfb.sh
children=()
cleanup() {
    for pid in "${children[@]}"; do kill "$pid" 2>/dev/null; done
    rm -rf "$scratch"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
export XDG_RUNTIME_DIR=$scratch
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM QT_SCALE_FACTOR TZC_DISPLAY TZC_TRACE XDG_SESSION_TYPE

free_display() {  # an X display number nobody serves
    local n
    for n in $(seq 60 89); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { echo "$n"; return; }
    done
}
free_port() { python3 -c 'import socket; s = socket.socket(); s.bind(("", 0)); print(s.getsockname()[1])'; }

echo "== displays that cannot start"
x=$(free_display)
port=$(free_port)
python3 -c "import socket, time; s = socket.socket(); s.bind(('', $port)); s.listen(); time.sleep(120)" &
children+=($!)
until (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; do sleep 0.1; done
no_gpu=yes
compgen -G '/dev/dri/card*' >/dev/null && no_gpu=
# environment | what the error names
cases=(
    "DISPLAY=:$x|xcb: no X server answers at DISPLAY=:$x"
    "QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=tzc-none|wayland: no Wayland compositor answers at WAYLAND_DISPLAY=tzc-none"
    "QT_QPA_PLATFORM=tzcnone|tzcnone: no Qt platform plugin 'tzcnone' in "
    "QT_QPA_PLATFORM=linuxfb:fb=/dev/tzc-none|linuxfb: no framebuffer: /dev/tzc-none cannot be opened"
    "QT_QPA_PLATFORM=vnc:port=$port|vnc: the VNC port $port cannot be had (Address already in use)"
    "QT_QPA_PLATFORM=wayland;xcb DISPLAY=:$x WAYLAND_DISPLAY=tzc-none|wayland: no Wayland compositor answers at WAYLAND_DISPLAY=tzc-none in $scratch; xcb: no X server answers"
)
[ -n "$no_gpu" ] && cases+=("QT_QPA_PLATFORM=eglfs|eglfs: no GPU: no DRM device /dev/dri/card*")
for case in "${cases[@]}"; do
    IFS='|' read -r environment reason <<<"$case"
    status=0
    # shellcheck disable=SC2086  # the assignments split on blanks
    got=$(env $environment TZC_SCREEN=window "$host" --input '{Escape}' 2>"$scratch/stderr") || status=$?
    want="error: no display for the window screen: $reason"
    if [ "$status" != 1 ] || [[ $got != "$want"* ]]; then
        fail "$environment: exit $status (want 1, the host alive)"
        echo "  want: $want..."; echo "  got:  $got"; tail -3 "$scratch/stderr"
    fi
done
echo "${#cases[@]} cases"

echo "== a later call works once the display is there"
x=$(free_display)
coproc HOST { DISPLAY=:$x TZC_SCREEN=window TZC_INPUT='{wait 300ms}{Escape}' "$bin/tzc_calls_on_request" 2>"$scratch/host.stderr"; }
children+=($HOST_PID)
read -r -t 20 first <&"${HOST[0]}"
[[ $first == "call 1: error: no display for the window screen: xcb: no X server answers at DISPLAY=:$x" ]] ||
    fail "first call: $first"
Xvfb ":$x" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
children+=($!)
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$x" ] && break; sleep 0.1; done
host_pid=$HOST_PID
echo >&"${HOST[1]}"
read -r -t 20 second <&"${HOST[0]}"
[ "$second" = "call 2: ok" ] || { fail "second call, once Xvfb runs: $second"; cat "$scratch/host.stderr"; }
[ -n "${HOST[1]:-}" ] && exec {HOST[1]}>&-
wait "$host_pid" || fail "the host ended with $?"

# Runs one call on a fresh Xvfb with the given screens and prints the window's geometry as
# xdotool finds it on X screen SCREEN ("X Y WIDTH HEIGHT"); ends the call with Escape.
geometry() {  # geometry "XVFB SCREENS" SCREEN ENVIRONMENT...
    local screens=$1 screen=$2; shift 2
    "$in_xvfb" -s "$screens" bash -c '
        screen=$1; shift
        env "$@" TZC_SCREEN=window "'"$host"'" --input "{wait 15s}{Escape}" >"'"$scratch"'/out" 2>&1 &
        id=$(timeout 10 xdotool search --sync --screen "$screen" --onlyvisible --name "^TZC04182\$" | head -1)
        [ -n "$id" ] && eval "$(xdotool getwindowgeometry --shell "$id")" && echo "$X $Y $WIDTH $HEIGHT"
        xdotool key Escape
        wait' _ "$screen" "$@"
}
# Wholly inside WIDTHxHEIGHT and centred there to a pixel or two.
check_placed() {  # check_placed WHAT SCREEN_W SCREEN_H "X Y W H"
    local what=$1 sw=$2 sh=$3 x y w h
    read -r x y w h <<<"$4"
    if [ -z "${h:-}" ]; then fail "$what: no window found"; cat "$scratch/out"; return 1; fi
    if ((x < 0 || y < 0 || x + w > sw || y + h > sh)); then fail "$what: $x,$y ${w}x$h leaves the ${sw}x$sh display"; return 1; fi
    local across=$((2 * x + w - sw)) down=$((2 * y + h - sh))
    if ((across > 2 || across < -2 || down > 2 || down < -2)); then
        fail "$what: $x,$y ${w}x$h is not centred on ${sw}x$sh"; return 1
    fi
}

echo "== the window on its display, under the platform's scale"
one="-screen 0 1024x768x24"
for scale in 1 1.5 2; do
    placed=$(geometry "$one" 0 QT_SCALE_FACTOR=$scale)
    check_placed "scale $scale" 1024 768 "$placed" || continue
    read -r _ _ w h <<<"$placed"
    case $scale in
        1) [ "$placed" = "147 195 730 378" ] || fail "scale 1: $placed, not 147 195 730 378 as always" ;;
        *) ((w >= 1020)) || fail "scale $scale: ${w}x$h does not use the display's width" ;;
    esac
    echo "scale $scale: $placed"
done

echo "== two displays"
two="-screen 0 1024x768x24 -screen 1 640x480x24"
placed=$(geometry "$two" 1 TZC_DISPLAY=1)
check_placed "TZC_DISPLAY=1, 640x480" 640 480 "$placed" && {
    read -r _ _ w h <<<"$placed"
    [ "$w" = 640 ] || fail "TZC_DISPLAY=1: ${w}x$h, not shrunk to the 640 pixels of the display"
    echo "second display: $placed"
}
placed=$(geometry "$two" 0)
[ "$placed" = "147 195 730 378" ] || fail "TZC_DISPLAY unset: $placed, not centred on the primary display"
got=$("$in_xvfb" -s "$two" env TZC_DISPLAY=7 TZC_SCREEN=window "$host" --input '{Escape}' 2>/dev/null)
[ "$got" = 'error: TZC_DISPLAY=7 names no display; the displays are: 0 "screen" 1024x768, 1 "screen" 640x480' ] ||
    fail "TZC_DISPLAY=7: $got"

if [ "$failures" -ne 0 ]; then
    echo "$failures failures"
    exit 1
fi
echo "all display cases passed"
