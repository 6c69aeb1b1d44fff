#!/bin/bash
# Configuration load and save: Kestrin's engine beside the per-key profile functions, under Wine.
source "$(dirname "$0")/../tools/wine-env.sh"
EXE="$KESTRIN_WIN_DIR/config_wine.exe"
[ -f "$EXE" ] || { echo "config bench: $EXE not built" >&2; exit 1; }
wine_up bench-config || exit 1
$WINE "$EXE" 2>/dev/null | tr -d '\r'
rc=${PIPESTATUS[0]}
wine_down
exit "$rc"
