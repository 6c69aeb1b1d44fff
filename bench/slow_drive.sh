#!/bin/bash
# The launcher menu of 100 entries with 10 of their icon files on a drive whose every look at
# a file waits 1 s (a FUSE mirror mapped to S:), beside the same menu with those files on a
# drive that answers. Needs /dev/fuse and the right to mount (root, or fusermount3).
source "$(dirname "$0")/../tools/wine-env.sh"
source "$(dirname "$0")/../tools/slow-drive.sh"
BENCH="$KESTRIN_WIN_DIR/resident_wine.exe"
KESTRIN="$KESTRIN_WIN_DIR/kestrin.exe"
for f in "$BENCH" "$KESTRIN"; do
    [ -f "$f" ] || { echo "slow-drive bench: $f not built" >&2; exit 1; }
done
if [ ! -e /dev/fuse ]; then
    echo "slow-drive bench: skipped, this machine has no /dev/fuse"
    exit 0
fi

wine_up bench-slow || exit 1
trap 'wine_down; slow_drive_down' EXIT
WORK="$WINEPREFIX/drive_c/kestrin-bench-slow"
rm -rf "$WORK"
mkdir -p "$WORK/icons"
touch "$WORK/slow.flag"
if ! slow_drive_up "$WORK/icons" 1 "$WORK/slow.flag" s "$WORK/slowfs.log"; then
    echo "slow-drive bench: the slow drive did not mount: $(tr '\n' ' ' < "$WORK/slowfs.log")" >&2
    exit 1
fi
out=$(
    $WINE "$BENCH" --slow-drive "$(winepath -w "$KESTRIN" 2>/dev/null)" 'C:\kestrin-bench-slow' \
        'C:\kestrin-bench-slow\icons' 'S:' 2>&1 | tr -d '\r' |
        grep -v -e 'wine32 is missing' -e 'multiarch' -e 'dpkg --add-architecture' -e 'apt-get install wine32'
    exit "${PIPESTATUS[0]}"
)
rc=$?
printf '%s\n' "$out"
# A slow drive that nobody looked at would make the comparison meaningless.
waited=$(grep -c '^waited' "$WORK/slowfs.log")
echo "looks at the slow drive that waited: $waited"
[ "$waited" -gt 0 ] || { echo "slow-drive bench: Kestrin never looked at the slow drive" >&2; rc=1; }

value() { printf '%s\n' "$out" | awk -v k="$1" '$1 == "bench:" && $2 == k { print $3 }'; }
verdict() { if [ "$1" = 1 ]; then echo met; else echo MISSED; fi; }
echo
echo "Targets:"
for showing in first again; do
    ratio=$(value "menu.show.100.slow_drive.$showing.ratio")
    printf '  %s showing with the slow drive at most 1.2x without it: %sx: %s\n' "$showing" "${ratio:-?}" \
        "$(verdict "$(awk -v r="${ratio:-1e9}" 'BEGIN { print (r <= 1.2) }')")"
done
exit "$rc"
