# Helpers for the settings window scripts, on top of lib.sh: start Kestrin with a given
# ConfigFile, open the window from the tray, drive it with formprobe.exe and compare trees
# and saved files in a compact outline notation, "A(A1,A2),B,C(C1)".
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

FORM_CAPTION_START="Kestrin 3.1"

se2e_init() { e2e_init "$1" "se2e-$1" formprobe.exe; } # name: one prefix and display for the whole script

# formprobe.exe's output without carriage returns; the exit code is formprobe's.
fp() {
    local out rc
    out=$($WINE "$WIN_DIR/formprobe.exe" "$@" 2>/dev/null </dev/null)
    rc=$?
    [ -n "$out" ] && printf '%s\n' "${out//$'\r'/}"
    return $rc
}

# Ends a running Kestrin through "E&xit", so the next start finds no instance; the whole
# prefix goes down when that does not work.
kestrin_stop() {
    [ -z "$KESTRIN_PID" ] && return 0
    if kill -0 "$KESTRIN_PID" 2>/dev/null && [ -n "$ICON_X" ] && context_menu_choose 'E&xit' &&
        kestrin_wait_exit 10; then
        probe wait-no-tray "$TIP" 5 >/dev/null
        return 0
    fi
    reset_prefix
}

# A fresh run folder NAME with the ConfigFile from stdin (LF lines), Kestrin started in it
# and its icon found. Returns 1 when no icon shows.
start_with_ini() { # name
    kestrin_stop
    new_run_dir "$1"
    write_ini
    cp "$RUN_DIR/kestrin.ini" "$RUN_DIR/saved.ini"
    kestrin_start
    wait_icon 30
}

# Right press on the icon, then a click on the context menu's entry CAPTION.
context_menu_choose() { # caption
    local rect
    xdotool mousemove "$ICON_X" "$ICON_Y" mousedown 3
    if ! wait_menus 1 5; then
        xdotool mouseup 3
        return 1
    fi
    read_menus
    xdotool mouseup 3
    rect=$(item_rect 0 "$1")
    if [ -z "$rect" ]; then
        close_menus
        return 1
    fi
    click_rect "$rect"
    wait_menus 0 3
}

# One more try after a miss: on a loaded machine a click can land before the menu is
# ready for it. A window that never opens still fails.
open_settings() {
    local try
    for try in 1 2; do
        context_menu_choose '&Settings' && fp wait-visible 1 5 && return 0
        close_menus
        echo "# open_settings: try $try missed" >&2
    done
    return 1
}

# start_with_ini (ConfigFile on stdin), then "&Settings"; fails the current test otherwise.
start_and_open() { # name
    if ! start_with_ini "$1"; then t_fail "no tray icon"; return 1; fi
    if ! open_settings; then t_fail "no settings window"; return 1; fi
}

# Keys for the settings window: X sends them where the pointer is, so the pointer rests on
# the bare form between "Import" and "OK" first, where it hovers over no control.
form_keys() { # xdotool key names
    local l t r b
    read -r l t r b <<<"$(fp rect Button13)" || return 1
    xdotool mousemove $(( r + 25 )) $(( (t + b) / 2 ))
    sleep 0.2
    focus_wine_desktop
    xdotool key --delay 80 "$@"
}

# A click into a control, as a user gives it the focus.
click_control() { # name
    local rect
    rect=$(fp rect "$1") || return 1
    click_rect "$rect"
}

# The screen area of the settings window, saved as build/screenshots/NAME.png.
form_screenshot() { # name
    local l t r b
    read -r l t r b <<<"$(fp rect)" || return 1
    sleep 0.3
    import -window root -crop "$(( r - l ))x$(( b - t ))+$l+$t" +repage "$SHOTS/$1.png" 2>/dev/null
}

# ---- outlines ---------------------------------------------------------------------------

# "DEPTH TITLE" lines on stdin in tree order → "A(A1,A2),B,C(C1)".
outline_notation() {
    awk -F'\t' '
        { d = $1 + 0
          if (NR == 1) s = ""
          else if (d > prev) { for (i = prev; i < d; i++) s = s "(" }
          else { for (i = d; i < prev; i++) s = s ")"; s = s "," }
          s = s $2; prev = d }
        END { for (i = 0; i < prev; i++) s = s ")"; print s }'
}

# The live settings tree in outline notation.
tree_outline() { fp tree | cut -f1,3 | outline_notation; }
# The title of the selected node.
tree_selected() { fp tree | awk -F'\t' '$2 ~ /s/ { print $3 }'; }
# MARKS of the node with TITLE (first match).
tree_marks() { fp tree | awk -F'\t' -v t="$1" '$3 == t { print $2; exit }'; }

# Item sections of a ConfigFile as "DEPTH<TAB>TITLE<TAB>Art<TAB>Prg" in section order,
# with the stored "#|" prefixes counted as levels.
ini_items() { # file
    tr -d '\r' < "$1" | awk '
        /^\[/ { sec = substr($0, 2, length($0) - 2); next }
        sec == "Dat" && /^Cnt=/ { cnt = substr($0, 5) + 0; next }
        sec != "Dat" { k = substr($0, 1, index($0, "=") - 1); v = substr($0, index($0, "=") + 1)
                       val[sec, k] = v; has[sec, k] = 1 }
        END { for (i = 0; i < cnt; i++) {
                t = val[i, "Tit"]; d = 0
                while (substr(t, 1, 2) == "#|") { d++; t = substr(t, 3) }
                printf "%d\t%s\t%s\t%s\n", d, t, val[i, "Art"], val[i, "Prg"] } }'
}
ini_outline() { ini_items "$1" | cut -f1,2 | outline_notation; }
ini_kinds() { ini_items "$1" | cut -f3 | paste -sd' '; }

# "KEY=VALUE" of a section of a ConfigFile, one per line, in file order.
ini_section() { # file section
    tr -d '\r' < "$1" | awk -v s="[$2]" '/^\[/ { on = ($0 == s); next } on'
}

# The example tree: A holding A1 and A2, B, C holding C1. Every row holds a command named
# after its title, the submenus too, so a row that travels with the wrong node shows.
example_ini() {
    local key=${1:-57382}
    printf '[Dat]\nKey=%s\nCnt=6\n' "$key"
    printf '[0]\nTit=A\nArt=2\nPrg=run-A\n'
    printf '[1]\nTit=#|A1\nArt=0\nPrg=run-A1\n'
    printf '[2]\nTit=#|A2\nArt=0\nPrg=run-A2\n'
    printf '[3]\nTit=B\nArt=0\nPrg=run-B\n'
    printf '[4]\nTit=C\nArt=2\nPrg=run-C\n'
    printf '[5]\nTit=#|C1\nArt=0\nPrg=run-C1\n'
}
EXAMPLE_OUTLINE="A(A1,A2),B,C(C1)"

# Read-only flags of the six edits in form order (title, command, parameters, directory,
# icon file, icon index), e.g. "011100".
readonly_flags() {
    local name flags=""
    for name in Edit1 Edit3 Edit2 Edit5 Edit4 Edit6; do flags="$flags$(fp readonly "$name")"; done
    printf '%s\n' "$flags"
}

# Clicks a button of the window and waits until the window is hidden.
click_and_hide() { # button name
    fp click "$1" >/dev/null
    fp wait-visible 0 10
}

# The colours of the item form's fields as the screen shows them, in the order ComboBox2,
# Edit1, Edit3, Edit2, Edit5, Edit4, Edit6, ComboBox1: "W" for the window colour (the tree's
# background), "F" for the face colour (the bare form between "Import" and "OK"), "?" for
# anything else. Each field is sampled near its right end, left of a selector's drop button,
# away from short texts.
FIELD_ORDER="ComboBox2 Edit1 Edit3 Edit2 Edit5 Edit4 Edit6 ComboBox1"
# Where field_colours samples; run once the window is shown (it does not move).
measure_fields() {
    local name l t r b
    FIELD_POINTS=""
    for name in $FIELD_ORDER; do
        read -r l t r b <<<"$(fp rect "$name")" || return 1
        case $name in
            ComboBox*) FIELD_POINTS="$FIELD_POINTS $(( r - 28 )),$(( (t + b) / 2 ))" ;;
            *) FIELD_POINTS="$FIELD_POINTS $(( r - 5 )),$(( (t + b) / 2 ))" ;;
        esac
    done
    read -r l t r b <<<"$(fp rect TreeView1)" || return 1
    WINDOW_POINT="$(( r - 8 )),$(( b - 8 ))"
    read -r l t r b <<<"$(fp rect Button13)" || return 1
    FACE_POINT="$(( r + 25 )),$(( (t + b) / 2 ))"
}
field_colours() {
    local shot=/tmp/se2e-colours-$$.png codes
    [ -n "$FIELD_POINTS" ] || measure_fields || return 1
    sleep 0.2
    import -window root "$shot" 2>/dev/null || return 1
    codes=$(picture_colours "$shot" 0 0)
    rm -f "$shot"
    printf '%s\n' "$codes"
}
# The same codes read from a picture whose top-left corner was at screen point LEFT,TOP.
picture_colours() { # picture left top
    local shot=$1 left=$2 top=$3 window face colour codes="" point
    pixel() { convert "$shot" -format "%[pixel:p{$(( ${1%,*} - left )),$(( ${1#*,} - top ))}]" info: 2>/dev/null; }
    window=$(pixel "$WINDOW_POINT")
    face=$(pixel "$FACE_POINT")
    for point in $FIELD_POINTS; do
        colour=$(pixel "$point")
        if [ "$colour" = "$window" ]; then codes="${codes}W"
        elif [ "$colour" = "$face" ]; then codes="${codes}F"
        else codes="${codes}?"; fi
    done
    [ "$window" != "$face" ] || codes="same window and face colour: $codes"
    printf '%s\n' "$codes"
}

# ---- dialogs ------------------------------------------------------------------------------

# A visible dialog of Kestrin's other than the settings window: "HWND L T R B CAPTION".
dialog_line() {
    probe windows kestrin.exe | awk -F'\t' -v start="$FORM_CAPTION_START" \
        '$3 == 1 && $4 == "#32770" && index($9, start) != 1 && $9 != "Kestrin" { print $2, $5, $6, $7, $8, $9; exit }'
}
wait_dialog() { # seconds
    local i
    for ((i = 0; i < $1 * 5; i++)); do
        DIALOG=$(dialog_line)
        [ -n "$DIALOG" ] && return 0
        sleep 0.2
    done
    return 1
}
wait_no_dialog() { # seconds
    local i
    for ((i = 0; i < $1 * 5; i++)); do
        [ -z "$(dialog_line)" ] && return 0
        sleep 0.2
    done
    return 1
}
dialog_shot() { # name
    local hwnd l t r b
    read -r hwnd l t r b _ <<<"$DIALOG"
    sleep 0.5
    import -window root -crop "$(( r - l ))x$(( b - t ))+$l+$t" +repage "$SHOTS/$1.png" 2>/dev/null
}
# Keys to whatever window of Kestrin's has the foreground (a dialog, the picker).
keys() { focus_wine_desktop; xdotool key --delay 80 "$@"; }
