#!/bin/bash
# The launcher menu's Win32 side on its own: pictures, levels and deep outlines, checked by
# tests/wine/launcher_menu_build.cpp inside Wine. It prints its own PASS/FAIL lines.
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
. "$ROOT/tools/wine-env.sh"
WIN_DIR=${KESTRIN_WIN_DIR:-$ROOT/build/win}
EXE="$WIN_DIR/launcher_menu_build.exe"
if [ ! -f "$EXE" ]; then
    echo "FAIL launcher_menu_build: $EXE is missing (build the cross build first)"
    exit 1
fi
trap wine_down EXIT
wine_up e2e-menu-build || { echo "FAIL launcher_menu_build: no Wine prefix or display"; exit 1; }
$WINE "$EXE" 2>/dev/null | tr -d '\r'
