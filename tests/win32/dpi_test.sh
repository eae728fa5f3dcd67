#!/usr/bin/env bash
# The Win32 screen's tests that depend on the dpi, at a system dpi that a till's screen has:
#   dpi_test.sh WINE_RUN TESTS_EXE BUILD_DIR DPI
# Wine reads the system dpi from LogPixels in HKCU\Control Panel\Desktop when a program starts:
# this sets it in the build tree's prefix, runs the tests in a display large enough for the dialog
# whole at 144 dpi (1095 x 567), and sets 96 back, whatever the tests did. The prefix's other
# tests must not run meanwhile (ctest's RESOURCE_LOCK on it). Every Wine program here starts in
# the same display: one started without a display would leave the prefix's desktop without one,
# and the next window made in it is refused (error 87).
set -euo pipefail
wine_run=$1 tests=$2 build=$(cd "$3" && pwd) dpi=$4
export WINEPREFIX=$build/wine-prefix
# Wine's own reg.exe for x86-64: a 64-bit program, which the i386 emulator never slows.
reg=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/reg.exe
export TZC_SCREEN=window TZC_EXPECTED_DPI=$dpi
xvfb-run -a -s "-screen 0 1920x1080x24" bash -c '
    wine_run=$0 reg=$1 tests=$2 dpi=$3
    set_dpi() { "$wine_run" "$reg" add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null; }
    set_dpi "$dpi"
    status=0
    "$wine_run" "$tests" --gtest_filter="Win32ScreenDpi.*:Win32ScreenTouch.*:Win32ScreenMessageBox.*" || status=$?
    set_dpi 96
    exit $status' "$wine_run" "$reg" "$tests" "$dpi"
