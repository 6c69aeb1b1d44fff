#!/bin/bash
# Starts kestrin.exe: natively on Windows, else under Wine, on a virtual display when
# there is none. The program stays resident until "E&xit".
WIN_DIR=${1:-build/win}
cd "$(dirname "$0")/.." || exit 2
EXE="$(pwd)/$WIN_DIR/kestrin.exe"
case "$(uname -s)" in
    MINGW*|MSYS*|CYGWIN*) exec "$EXE" ;;
esac
. tools/wine-env.sh
if [ -n "$DISPLAY" ] && xdpyinfo >/dev/null 2>&1; then
    export KESTRIN_KEEP_DISPLAY=1
else
    echo "No display: starting a virtual one."
fi
trap wine_down EXIT
wine_up run || exit 1
echo "Kestrin runs on display $DISPLAY; choose E&xit from its tray icon's menu to end it."
$WINE "$EXE"
echo "Kestrin ended with exit code $?."
