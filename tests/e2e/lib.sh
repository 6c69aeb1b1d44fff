# Shared helpers for the end-to-end scripts: the real kestrin.exe under Wine, driven with
# xdotool and inspected with probe.exe. Source it, then call e2e_init NAME once.
#
# Each script shares one prefix and display across its tests; each test gets a fresh run
# folder build/e2e/NAME holding kestrin.exe (its ConfigFile is written beside it) and
# recorder.exe. The folder is reached through the prefix's K: drive (the repository root),
# so "%usb%" stands for "K:".
#
# Reporting: t_begin NAME ... t_fail WHY ... t_end prints "PASS NAME" or "FAIL NAME: WHY"
# with the first failure's reason.

E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$E2E_ROOT/tools/wine-env.sh"
WIN_DIR=${KESTRIN_WIN_DIR:-$E2E_ROOT/build/e2e-win}
SHOTS="$E2E_ROOT/build/screenshots"
TIP="Kestrin 3.1"
KESTRIN_PID=""
RUN_DIR=""
RUN_WIN=""
E2E_FAILED=0

e2e_init() { # name [prefix [more tools]]: one prefix and display for the whole script
    local name=$1 prefix=${2:-e2e-$1} tool
    for tool in kestrin.exe probe.exe menureader_dll.dll recorder.exe "${@:3}"; do
        if [ ! -f "$WIN_DIR/$tool" ]; then
            echo "FAIL $name: $WIN_DIR/$tool is missing (build the cross build first)"
            exit 1
        fi
    done
    mkdir -p "$SHOTS"
    trap e2e_cleanup EXIT
    wine_up "$prefix" || { echo "FAIL $name: no Wine prefix or display"; exit 1; }
}

e2e_cleanup() {
    wine_down
    [ -n "$KESTRIN_PID" ] && wait "$KESTRIN_PID" 2>/dev/null
    KESTRIN_PID=""
}

# ---- reporting ----------------------------------------------------------------------

t_begin() { T_NAME=$1; T_WHY=""; }
t_fail() { [ -z "$T_WHY" ] && T_WHY=$*; return 1; }
t_ok() { [ -z "$T_WHY" ]; }
t_end() {
    if [ -z "$T_WHY" ]; then
        echo "PASS $T_NAME"
    else
        echo "FAIL $T_NAME: $T_WHY"
        E2E_FAILED=$((E2E_FAILED + 1))
    fi
}
expect_eq() { # what actual expected; multi-line values are shown with " / " between lines
    [ "$2" = "$3" ] || t_fail "$1: got '${2//$'\n'/ / }', expected '${3//$'\n'/ / }'"
}

# ---- probe and run folders --------------------------------------------------------------

# probe.exe's output without carriage returns; the exit code is probe's.
probe() {
    local out rc
    out=$($WINE "$WIN_DIR/probe.exe" "$@" 2>/dev/null)
    rc=$?
    [ -n "$out" ] && printf '%s\n' "${out//$'\r'/}"
    return $rc
}

# A Windows path on K: for a path under the repository.
win_path() { # unix path under E2E_ROOT
    local rel=${1#"$E2E_ROOT"/}
    printf 'K:\\%s' "${rel//\//\\}"
}

new_run_dir() { # name: fresh build/e2e/NAME with the programs; sets RUN_DIR and RUN_WIN
    RUN_DIR="$E2E_ROOT/build/e2e/$1"
    rm -rf "$RUN_DIR"
    mkdir -p "$RUN_DIR"
    cp "$WIN_DIR/kestrin.exe" "$WIN_DIR/recorder.exe" "$RUN_DIR/"
    RUN_WIN=$(win_path "$RUN_DIR")
}

write_ini() { sed 's/$/\r/' > "$RUN_DIR/kestrin.ini"; } # LF text on stdin, CRLF on disk

# Starts the run folder's kestrin.exe in the background, from the run folder, as a child
# of this shell so that its exit code can be collected.
kestrin_start() {
    local here=$PWD
    cd "$RUN_DIR" || return 1
    $WINE "$RUN_WIN\\kestrin.exe" >/dev/null 2>&1 &
    KESTRIN_PID=$!
    cd "$here" || return 1
}

# Waits for the started kestrin.exe to end and sets KESTRIN_EXIT to its exit code
# ("running" when it did not end in time).
kestrin_wait_exit() { # seconds
    local deadline=$(( $(date +%s) + $1 ))
    KESTRIN_EXIT=running
    while kill -0 "$KESTRIN_PID" 2>/dev/null; do
        [ "$(date +%s)" -ge "$deadline" ] && return 1
        sleep 0.1
    done
    wait "$KESTRIN_PID"
    KESTRIN_EXIT=$?
    KESTRIN_PID=""
}

# The Unix pid of the started kestrin.exe: the process of this prefix whose command line
# names kestrin.exe (other scripts may run Kestrin in their own prefixes meanwhile).
kestrin_unix_pid() {
    local pid
    for pid in $KESTRIN_PID $(pgrep -f 'kestrin\.exe'); do
        tr '\0' '\n' < "/proc/$pid/cmdline" 2>/dev/null | grep -qi 'kestrin\.exe' || continue
        tr '\0' '\n' < "/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
        printf '%s\n' "$pid"
        return 0
    done
    return 1
}

# Ends every process of the prefix (the desktop included) so the next test starts clean.
reset_prefix() {
    xdotool mouseup 1 mouseup 3 >/dev/null 2>&1
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    [ -n "$KESTRIN_PID" ] && wait "$KESTRIN_PID" 2>/dev/null
    KESTRIN_PID=""
}

# ---- tray icon, mouse, keys -----------------------------------------------------------

# Waits for Kestrin's icon and sets ICON_X/ICON_Y to its centre.
wait_icon() { # seconds
    local line
    ICON_X="" ICON_Y=""
    line=$(probe wait-tray "$TIP" "$1") || return 1
    line=$(printf '%s\n' "$line" | head -1)
    ICON_X=$(printf '%s' "$line" | awk -F'\t' '{print int(($2 + $4) / 2)}')
    ICON_Y=$(printf '%s' "$line" | awk -F'\t' '{print int(($3 + $5) / 2)}')
}

tip_hidden() { ! probe tray | awk -F'\t' '$6 == 1' | grep -q .; }
icon_count() { probe tray | awk -F'\t' -v tip="$TIP" '$7 == tip' | wc -l; }

click_icon() { xdotool mousemove "$ICON_X" "$ICON_Y" click 1; }
right_press_icon() { xdotool mousemove "$ICON_X" "$ICON_Y" mousedown 3; }
press_hotkey() { xdotool key shift+ctrl+alt+Up; }

# Under Wine on a bare X server, once the taskbar has had the foreground (the settings window
# hid, say), X keeps the keyboard focus on it and key presses reach no other program. With the
# X focus on Wine's desktop window, Wine hands the keys to the window in the foreground.
focus_wine_desktop() {
    local id
    id=$(xwininfo -root -children 2>/dev/null | awk '/"shell - Wine desktop"/ { print $1; exit }')
    [ -n "$id" ] && xdotool windowfocus "$id" 2>/dev/null
    return 0
}
wait_menus() { probe wait-menus "$1" "$2" >/dev/null; } # count seconds

# Clicks the centre of a rectangle "L T R B".
click_rect() { # "l t r b"
    set -- $1
    xdotool mousemove $(( ($1 + $3) / 2 )) $(( ($2 + $4) / 2 )) click 1
}
hover_rect() {
    set -- $1
    xdotool mousemove $(( ($1 + $3) / 2 )) $(( ($2 + $4) / 2 ))
}

screenshot() { import -window root "$SHOTS/$1.png" 2>/dev/null; }

# ---- menus ----------------------------------------------------------------------------

# The shown menus as "probe menus" prints them, kept in MENUS.
read_menus() { MENUS=$(probe menus); }

# The rectangle "L T R B" of the item whose caption is exactly CAPTION in menu N of MENUS.
item_rect() { # menu-number caption
    printf '%s\n' "$MENUS" | awk -F'\t' -v m="$1" -v c="$2" '
        $1 == "menu" { cur = $2 } $1 == "item" && cur == m && $11 == c { print $7, $8, $9, $10; exit }'
}

# Closes whatever menus are open: Escape (one level each) with the pointer on the top
# menu's border, then a click outside as the last resort.
close_menus() {
    local rect i
    for i in 1 2 3 4; do
        probe wait-menus 0 0.3 >/dev/null && return 0
        read_menus
        rect=$(printf '%s\n' "$MENUS" | awk -F'\t' '$1 == "menu" { print $4, $5 }' | tail -1)
        [ -z "$rect" ] && return 0
        set -- $rect
        xdotool mousemove $(( $1 + 1 )) $(( $2 + 1 )) key Escape
    done
    xdotool mousemove 1000 10 click 1
    wait_menus 0 3
}

# Icons are read in the background: until an entry's icon file is counted it keeps a picture
# place, and a change to an icon file shows once a background look has seen it. Runs OPEN (a
# command that shows the menu and reads MENUS) until menu N reads WANT, closing it between
# tries, for at most SECONDS; MENUS holds the last reading and the menu stays open.
menu_settles() { # open-command menu-number want seconds
    local deadline=$(( SECONDS + $4 ))
    while :; do
        $1 || return 1
        [ "$(describe_menu "$2")" = "$3" ] && return 0
        [ "$SECONDS" -ge "$deadline" ] && return 0
        close_menus
        # A click right after a menu closed can be lost under Wine; the desktop takes it.
        xdotool mousemove 4 4 click 1
        sleep 0.5
    done
}

# Menu N of MENUS in a readable form, one item per line:
#   "----" for a separator, else the caption, then " >" when it opens a submenu and
#   " [pic]" when the item carries a picture that the program draws in front of the caption.
# The picture is read from the menu item itself, not judged from the screen, whose text
# colours depend on fonts and anti-aliasing.
describe_menu() { # menu-number
    printf '%s\n' "$MENUS" | awk -F'\t' -v m="$1" '
        $1 == "menu" { cur = $2 }
        $1 == "item" && cur == m {
            if ($3 == "separator") { print "----"; next }
            line = $11
            if ($4 == 1) line = line " >"
            if ($5 == "callback") line = line " [pic]"
            print line }'
}
