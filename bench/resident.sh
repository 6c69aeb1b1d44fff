#!/bin/bash
# The resident program: start to tray icon, click to launcher menu for 10, 100 and 1,000
# entries, beside the same menu shown by a bare program (the platform's floor), memory of the
# resident process (resident_wine.exe under Wine), and the size and imports of kestrin.exe. Every figure also as a "bench: KEY VALUE" line.
source "$(dirname "$0")/../tools/wine-env.sh"
BENCH="$KESTRIN_WIN_DIR/resident_wine.exe"
KESTRIN="$KESTRIN_WIN_DIR/kestrin.exe"
UNCACHED="$KESTRIN_WIN_DIR/kestrin_uncached.exe"
OBJDUMP=${OBJDUMP:-x86_64-w64-mingw32-objdump}
for f in "$BENCH" "$KESTRIN" "$UNCACHED"; do
    [ -f "$f" ] || { echo "resident bench: $f not built" >&2; exit 1; }
done

# DLLs that every Windows installation carries; anything else would have to ship beside the exe.
is_system_dll() {
    case "$(printf '%s' "$1" | tr 'A-Z' 'a-z')" in
    kernel32.dll | user32.dll | gdi32.dll | shell32.dll | comctl32.dll | comdlg32.dll | advapi32.dll | \
        ole32.dll | oleaut32.dll | shlwapi.dll | msvcrt.dll | ucrtbase.dll | api-ms-win-*.dll | psapi.dll | \
        version.dll | winmm.dll | uxtheme.dll | msimg32.dll | ws2_32.dll | ntdll.dll | imm32.dll | \
        shcore.dll | dwmapi.dll | gdiplus.dll | winspool.drv) return 0 ;;
    *) return 1 ;;
    esac
}

exeBytes=$(stat -c %s "$KESTRIN")
imports=$("$OBJDUMP" -p "$KESTRIN" | awk '/DLL Name:/ { print $3 }')
nonSystem=0
echo "kestrin.exe: $exeBytes bytes; imported DLLs:"
for dll in $imports; do
    if is_system_dll "$dll"; then
        echo "    $dll"
    else
        echo "    $dll  (not a system DLL)"
        nonSystem=$((nonSystem + 1))
    fi
done
echo

wine_up bench-resident || exit 1
WORK="$WINEPREFIX/drive_c/kestrin-bench"
rm -rf "$WORK"
out=$(
    $WINE "$BENCH" "$(winepath -w "$KESTRIN" 2>/dev/null)" "$(winepath -w "$UNCACHED" 2>/dev/null)" \
        'C:\kestrin-bench' 2>&1 | tr -d '\r' |
        grep -v -e 'wine32 is missing' -e 'multiarch' -e 'dpkg --add-architecture' -e 'apt-get install wine32'
    exit "${PIPESTATUS[0]}"
)
rc=$?
wine_down
printf '%s\n' "$out"
echo "bench: exe.bytes $exeBytes"
echo "bench: exe.non_system_dlls $nonSystem"

# The targets, checked against the figures just printed.
value() { printf '%s\n' "$out" | awk -v k="$1" '$1 == "bench:" && $2 == k { print $3 }'; }
show100=$(value menu.show.100.again.ms)
first100=$(value menu.show.100.first.ms)
verdict() { if [ "$1" = 1 ]; then echo met; else echo MISSED; fi; }
echo
echo "Targets:"
printf '  100-entry menu under 100 ms: first %s ms, again %s ms: %s\n' "${first100:-?}" "${show100:-?}" \
    "$(verdict "$(awk -v a="${first100:-1e9}" -v b="${show100:-1e9}" 'BEGIN { print (a < 100 && b < 100) }')")"
for n in 100 1000; do
    ratio=$(value "menu.show.$n.again.ratio")
    printf '  %s-entry menu shown again at most 1.15x the bare program'"'"'s: %sx: %s\n' "$n" "${ratio:-?}" \
        "$(verdict "$(awk -v r="${ratio:-1e9}" 'BEGIN { print (r <= 1.15) }')")"
done
ratio=$(value menu.show.1000.first_at_icon.ratio)
printf '  1000-entry menu clicked the moment the icon appears at most 1.2x the same menu shown again: %sx: %s\n' \
    "${ratio:-?}" "$(verdict "$(awk -v r="${ratio:-1e9}" 'BEGIN { print (r <= 1.2) }')")"
printf '  kestrin.exe under 1 MB: %s bytes: %s\n' "$exeBytes" "$(verdict $((exeBytes < 1048576)))"
printf '  no DLL beyond the system'"'"'s: %s others: %s\n' "$nonSystem" "$(verdict $((nonSystem == 0)))"
exit "$rc"
