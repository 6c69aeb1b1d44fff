#!/bin/bash
# The settings tree in a real tree view under Wine: the seven editing operations on 5,000-node
# trees (steps carried into TreeView1 and repainted), the slowest per shape and of all, and
# filling the tree as opening the settings window does. About a minute.
source "$(dirname "$0")/../tools/wine-env.sh"
EXE="$KESTRIN_WIN_DIR/tree_view_wine.exe"
[ -f "$EXE" ] || { echo "tree_view bench: $EXE not built" >&2; exit 1; }
wine_up bench-treeview || exit 1
$WINE "$EXE" 2>/dev/null | tr -d '\r'
rc=${PIPESTATUS[0]}
wine_down
exit "$rc"
