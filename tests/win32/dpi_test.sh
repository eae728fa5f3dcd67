#!/usr/bin/env bash
# The Win32 screen's tests that depend on the dpi, at a system dpi that a till's screen has:
#   dpi_test.sh WINE_RUN TESTS_EXE DPI
# Run in the tree's display (display.sh run), with WINEPREFIX set. Wine reads the system dpi from
# LogPixels in HKCU\Control Panel\Desktop when a program starts: this sets it in the prefix, runs
# the tests, and sets 96 back, whatever the tests did. The prefix's other tests must not run
# meanwhile (ctest's RESOURCE_LOCK on it).
set -euo pipefail
wine_run=$1 tests=$2 dpi=$3
# Wine's own reg.exe for x86-64: a 64-bit program, which the i386 emulator never slows.
reg=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/reg.exe
set_dpi() { "$wine_run" "$reg" add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null; }
trap 'set_dpi 96' EXIT
set_dpi "$dpi"
TZC_SCREEN=window TZC_EXPECTED_DPI=$dpi "$wine_run" "$tests" \
    --gtest_filter="Win32ScreenDpi.*:Win32ScreenTouch.*:Win32ScreenMessageBox.*"
