#!/bin/bash
# Kestrin's INI engine against the platform's private-profile functions, under Wine.
source "$(dirname "$0")/../../tools/wine-env.sh"
EXE="$KESTRIN_WIN_DIR/ini_diff_test.exe"
if [ ! -f "$EXE" ]; then echo "FAIL ini_diff: $EXE not built"; exit 1; fi
wine_up ini || { echo "FAIL ini_diff: wine did not start"; exit 1; }
out=$(timeout 600 $WINE "$EXE" 2>/dev/null | tr -d '\r')
rc=$?
wine_down
printf '%s\n' "$out" | grep -E '^(PASS|FAIL) '
if ! printf '%s\n' "$out" | grep -q '^PASS ini_diff.atomic_replace'; then
    printf '%s\n' "$out" | grep -q '^FAIL ini_diff.atomic_replace' || echo "FAIL ini_diff: did not finish (exit $rc)"
fi
