#!/bin/bash
# Kestrin at 96 and 144 DPI, the scale set as a user sets it (LogPixels): the settings window
# laid out from its table scaled, every caption of it and of the icon picker whole, the picker's
# cells, the launcher menu's pictures and the tray picture at the scale's icon sizes. The
# 144-DPI pictures of the menu and the window are kept for the README.
. "$(dirname "$0")/lib_settings.sh"
# Room for the window at 150 %: 520 rows of the design are 780 pixels.
export WINE_SCREEN=1600x1200
se2e_init scale

scale_ini() {
    printf '[Dat]\nKey=57382\nCnt=3\n'
    printf '[0]\nTit=&Tools\nArt=2\nIco=\nIdx=0\n'
    printf '[1]\nTit=#|&Notepad\nArt=0\nPrg=C:\\windows\\notepad.exe\nPar=\nDir=\nWin=0\nIco=\nIdx=0\n'
    printf '[2]\nTit=&Editor\nArt=0\nPrg=C:\\windows\\notepad.exe\nPar=\nDir=\nWin=0\nIco=\nIdx=0\n'
}

# The scale takes effect for programs started after it is set.
set_dpi() { # dpi
    kestrin_stop
    reset_prefix
    $WINE reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    wineserver -w
}

scaled() { echo $(( ($1 * $2 + 48) / 96 )); } # length dpi

# Lines "text ..." of probe texts whose text is wider or taller than its control leaves room for.
clipped_texts() {
    awk -F'\t' '$1 == "text" && ($8 > $9 || $10 > $11) { printf "%s (%s: %dx%d in %dx%d); ", $12, $3, $8, $10, $9, $11 }'
}

# The extent "W H" of the first thing drawn from the left in a screen area (a menu item's
# picture, before its caption), on the colour of the area's top-left corner.
drawn_extent() { # picture left top width height
    convert "$1" -crop "$4x$5+$2+$3" +repage -depth 8 txt:- 2>/dev/null | awk -F'[,:() ]+' '
        NR == 1 { next }
        { x = $1; y = $2; r = $3; g = $4; b = $5
          if (!seen) { br = r; bg = g; bb = b; seen = 1 }
          d = (r > br ? r - br : br - r) + (g > bg ? g - bg : bg - g) + (b > bb ? b - bb : bb - b)
          if (d > 40) { used[x] = 1; if (!(x in top) || y < top[x]) top[x] = y; if (y > bottom[x]) bottom[x] = y }
          if (x > maxx) maxx = x }
        END {
          for (x = 0; x <= maxx && !(x in used); x++) ;
          first = x; lo = 1e9; hi = -1
          for (; x <= maxx && ((x in used) || (x + 1) in used); x++)
              if (x in used) { last = x; if (top[x] < lo) lo = top[x]; if (bottom[x] > hi) hi = bottom[x] }
          if (hi >= 0) print last - first + 1, hi - lo + 1 }'
}

# The settings window against its table scaled to DPI: tops and heights exact (a drop-down's
# closed height is its own), a control only grown or moved right, the client area at least
# the scaled one.
check_layout() { # dpi
    local layout got_dpi width height client_w client_h off
    layout=$(fp layout "$1")
    read -r _ got_dpi width height client_w client_h <<<"$(printf '%s\n' "$layout" | awk -F'\t' '$1 == "client"')"
    expect_eq "client height" "$client_h" "$height"
    [ "${client_w:-0}" -ge "${width:-1}" ] || t_fail "client width $client_w under the scaled $width"
    off=$(printf '%s\n' "$layout" | awk -F'\t' '$1 == "layout" &&
        ($9 != $5 || ($3 != 10 && $11 != $7) || $8 < $4 || $10 < $6) {
            printf "%s at %d,%d-%d,%d, not %d,%d-%d,%d; ", $2, $8, $9, $10, $11, $4, $5, $6, $7 }')
    [ -z "$off" ] || t_fail "off the table at $1 DPI: $off"
    [ "$(printf '%s\n' "$layout" | grep -c '^layout')" -ge 40 ] || t_fail "too few controls: $layout"
}

# Every caption of the settings window whole, measured in its control's font.
check_texts() {
    local texts bad
    texts=$(probe texts "$FORM_CAPTION_START")
    [ "$(printf '%s\n' "$texts" | grep -c '^text')" -ge 20 ] || t_fail "too few texts: $texts"
    bad=$(printf '%s\n' "$texts" | clipped_texts)
    [ -z "$bad" ] || t_fail "clipped in the settings window: $bad"
}

# Windows 7 has none of the per-monitor functions: they are looked up, never imported.
t_begin exe_imports_nothing_newer_than_windows_7
imports=$(x86_64-w64-mingw32-objdump -p "$WIN_DIR/kestrin.exe" 2>/dev/null)
[ -n "$imports" ] || t_fail "cannot read the imports of kestrin.exe"
newer=$(printf '%s\n' "$imports" | grep -oiE 'shcore\.dll|[A-Za-z]*(ForDpi|DpiForWindow|DpiForSystem|DpiForMonitor|DpiAwareness[A-Za-z]*|NonClientDpiScaling)\b' | sort -u | paste -sd' ')
[ -z "$newer" ] || t_fail "imports $newer"
t_end

for dpi in 96 144; do
    set_dpi "$dpi"
    small=$(scaled 16 "$dpi")

    t_begin "settings_window_is_the_table_scaled_at_$dpi"
    if start_and_open "scale-$dpi" < <(scale_ini); then
        fp select '&Tools/&Notepad' >/dev/null || t_fail "cannot select Notepad"
        expect_eq "window DPI" "$(fp layout | awk -F'\t' '$1 == "client" { print $2 }')" "$dpi"
        check_layout "$dpi"
    fi
    t_end

    t_begin "every_caption_fits_at_$dpi"
    if [ "$(fp visible)" = 1 ]; then
        check_texts
        [ "$dpi" = 144 ] && rm -f "$SHOTS/settings-window-144dpi.png" && form_screenshot settings-window-144dpi
        fp set Edit4 'C:\windows\system32\shell32.dll' >/dev/null
        click_control Button8
        if wait_for 10 probe listbox "Select Icon"; then
            picker=$(probe texts "Select Icon")
            bad=$(printf '%s\n' "$picker" | clipped_texts)
            [ -z "$bad" ] || t_fail "clipped in the picker: $bad"
            # A cell is a large icon of the scale with the margin around it.
            cell=$(scaled 37 "$dpi")
            expect_eq "picker cell" "$(printf '%s\n' "$picker" | awk -F'\t' '$1 == "cell" { print $3, $4 }')" "$cell $cell"
            keys Escape
            wait_for 10 bash -c "! $WINE '$WIN_DIR/probe.exe' listbox 'Select Icon'" || t_fail "the picker did not close"
        else
            t_fail "no icon picker"
        fi
        click_and_hide Button4 >/dev/null
    else
        t_fail "no settings window"
    fi
    t_end

    if [ "$dpi" = 96 ]; then
        # Wine has one monitor and never sends WM_DPICHANGED: it is sent as Windows would.
        t_begin settings_window_laid_out_again_when_the_scale_changes
        if open_settings; then
            for to in 144 96; do
                probe dpi-changed "$FORM_CAPTION_START" "$to" >/dev/null || t_fail "cannot send WM_DPICHANGED $to"
                check_layout "$to"
                check_texts
            done
            click_and_hide Button4 >/dev/null
        else
            t_fail "no settings window"
        fi
        t_end
    fi

    t_begin "menu_and_tray_pictures_at_$dpi"
    icons=$(probe texts Kestrin | awk -F'\t' '$1 == "icons" { print $2, $3 }')
    expect_eq "tray picture" "$icons" "$small $small"
    click_icon
    if wait_menus 1 5; then
        read_menus
        # The pointer leaves the icon, so its tip does not cover the menu.
        read -r ml mt mr mb <<<"$(printf '%s\n' "$MENUS" | awk -F'\t' '$1 == "menu" { print $4, $5, $6, $7; exit }')"
        xdotool mousemove $(( ml + 1 )) $(( mt + 1 ))
        rm -f "$SHOTS/launcher-menu-144dpi.png"
        sleep 0.5
        screenshot "launcher-menu-$dpi"
        for caption in '&Tools' '&Editor'; do
            read -r l t r b <<<"$(item_rect 0 "$caption")"
            if [ -z "$b" ]; then
                t_fail "no item $caption"
                continue
            fi
            [ $(( b - t )) -ge "$small" ] || t_fail "$caption is $(( b - t )) high for $small-pixel pictures"
            # The picture place is the item's left part: the drawn picture fills most of it.
            read -r w h <<<"$(drawn_extent "$SHOTS/launcher-menu-$dpi.png" "$l" "$t" $(( r - l )) $(( b - t )))"
            size=$(( ${w:-0} > ${h:-0} ? ${w:-0} : ${h:-0} ))
            if [ "$size" -gt "$small" ] || [ "$size" -lt $(( small * 3 / 4 )) ]; then
                t_fail "the picture of $caption is ${w}x${h}, not about $small pixels"
            fi
        done
        if [ "$dpi" = 144 ]; then
            convert "$SHOTS/launcher-menu-144.png" -crop "$(( mr - ml + 40 ))x$(( mb - mt + 40 ))+$(( ml - 20 ))+$(( mt - 20 ))" \
                +repage "$SHOTS/launcher-menu-144dpi.png" 2>/dev/null
        fi
        close_menus
    else
        t_fail "no launcher menu"
    fi
    t_end
done

kestrin_stop
[ "$E2E_FAILED" -eq 0 ]
