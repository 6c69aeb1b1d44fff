#!/bin/bash
# The resident program's Win32 adapters on their own, each checked by a test program inside
# Wine that prints its own PASS/FAIL lines: the launcher menu (pictures, levels, deep
# outlines), the global hotkey (atom, registration, the hotkey control), the settings window's
# folder browser (preselection, OK and Cancel, released id lists) and its tree kept in step
# with the model, deep subtrees included. A program that fails without a FAIL line of its own
# (a crash) fails as a whole.
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
. "$ROOT/tools/wine-env.sh"
WIN_DIR=${KESTRIN_WIN_DIR:-$ROOT/build/win}
PROGRAMS="launcher_menu_build hotkey_register folder_browser_test"
PROGRAMS="$PROGRAMS icon_picker_test"  # the icon picker (selection, keys, owner)
PROGRAMS="$PROGRAMS tree_view_adapter"  # the settings tree kept in step, deep subtrees too
for name in $PROGRAMS; do
    if [ ! -f "$WIN_DIR/$name.exe" ]; then
        echo "FAIL $name: $WIN_DIR/$name.exe is missing (build the cross build first)"
        exit 1
    fi
done
trap wine_down EXIT
wine_up e2e-adapters || { echo "FAIL adapters: no Wine prefix or display"; exit 1; }
status=0
for name in $PROGRAMS; do
    out=$($WINE "$WIN_DIR/$name.exe" 2>/dev/null | tr -d '\r'; exit "${PIPESTATUS[0]}")
    rc=$?
    [ -n "$out" ] && echo "$out"
    if [ "$rc" -ne 0 ]; then
        status=1
        grep -q '^FAIL ' <<<"$out" || echo "FAIL $name: exited with code $rc"
    fi
done
exit $status
