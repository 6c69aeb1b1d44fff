#!/bin/bash
# The settings tree in a real tree view under Wine: the seven editing operations on 5,000-node
# trees (steps carried into TreeView1 and repainted), the slowest per shape and of all, and
# filling the tree as opening the settings window does; beside each, the platform's floor (a
# bare tree view making the same edit with tree-view messages alone) and Kestrin's ratio to it.
# Every figure also as a "bench: KEY VALUE" line. A few minutes.
source "$(dirname "$0")/../tools/wine-env.sh"
EXE="$KESTRIN_WIN_DIR/tree_view_wine.exe"
[ -f "$EXE" ] || { echo "tree_view bench: $EXE not built" >&2; exit 1; }
wine_up bench-treeview || exit 1
out=$(
    $WINE "$EXE" 2>&1 | tr -d '\r' |
        grep -v -e 'wine32 is missing' -e 'multiarch' -e 'dpkg --add-architecture' -e 'apt-get install wine32'
    exit "${PIPESTATUS[0]}"
)
rc=$?
wine_down
printf '%s\n' "$out"

# The targets, checked against the figures just printed.
value() { printf '%s\n' "$out" | awk -v k="$1" '$1 == "bench:" && $2 == k { print $3 }'; }
verdict() { if [ "$1" = 1 ]; then echo met; else echo MISSED; fi; }
echo
echo "Targets:"
for shape in flat menus chain; do
    ratio=$(value "tree.op.5000.treeview.$shape.ratio")
    printf '  slowest %s edit at most 1.15x the bare tree view'"'"'s: %sx: %s\n' "$shape" "${ratio:-?}" \
        "$(verdict "$(awk -v r="${ratio:-1e9}" 'BEGIN { print (r <= 1.15) }')")"
done
exit "$rc"
