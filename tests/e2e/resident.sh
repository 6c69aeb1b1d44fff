#!/bin/bash
# The resident program as a user meets it: first start, single instance, the tray icon and
# its two menus, the hotkey, launching an entry and "E&xit". One prefix for all tests;
# wineserver -k between the groups that need a fresh start.
. "$(dirname "$0")/lib.sh"
e2e_init resident

DEFAULT_INI=$'[Dat]\r\nKey=57382\r\nCnt=1\r\n[0]\r\nTit=New Item\r\nArt=0\r\nPrg=\r\nPar=\r\nDir=\r\nWin=0\r\nIco=\r\nIdx=0\r\n'

# Kestrin's visible top-level windows, and taskbar buttons (the start button at x=0 aside).
visible_windows() { probe windows kestrin.exe | awk -F'\t' '$3 == 1'; }
foreground_is() { # hwnd or exe name
    probe foreground | awk -F'\t' -v w="$1" 'BEGIN { w = tolower(w) } $2 == w || tolower($4) == w { found = 1 } END { exit !found }'
}
taskbar_buttons() { probe taskbar | awk -F'\t' '$3 == 1 && $5 > 0'; }

# Opens the launcher menu with a click on the icon and parks the pointer on the menu's
# border, where it neither selects an entry nor brings up the icon's tip.
open_launcher_by_click() {
    click_icon
    wait_menus 1 5 || return 1
    read_menus
    set -- $(printf '%s\n' "$MENUS" | awk -F'\t' '$1 == "menu" { print $4, $5; exit }')
    xdotool mousemove $(( $1 + 1 )) $(( $2 + 1 ))
}

# ---- first start with the default ConfigFile ------------------------------------------

new_run_dir first
kestrin_start

t_begin first_start_default_config
if ! wait_icon 30; then
    t_fail "no tray icon with the tip '$TIP' within 30 s"
else
    printf '%s' "$DEFAULT_INI" > "$RUN_DIR/expected.ini"
    cmp -s "$RUN_DIR/kestrin.ini" "$RUN_DIR/expected.ini" ||
        t_fail "ConfigFile is not the default one: $(cat -A "$RUN_DIR/kestrin.ini" 2>&1 | tr '\n' ' ' | cut -c1-200)"
    expect_eq "icons with the tip" "$(icon_count)" 1
    sleep 1 # a window shown late would show up here
    expect_eq "visible windows" "$(visible_windows)" ""
    expect_eq "taskbar buttons" "$(taskbar_buttons)" ""
    probe hotkey-free 7 0x26 >/dev/null && t_fail "Shift+Ctrl+Alt+Up is not registered"
fi
t_end

t_begin second_start_ends_at_once
( cd "$RUN_DIR" && timeout 20 $WINE "$RUN_WIN\\kestrin.exe" >/dev/null 2>&1 )
expect_eq "second start's exit code" "$?" 0
expect_eq "icons with the tip" "$(icon_count)" 1
expect_eq "kestrin processes" "$(probe processes | awk -F'\t' 'tolower($3) == "kestrin.exe"' | wc -l)" 1
kill -0 "$KESTRIN_PID" 2>/dev/null || t_fail "the first instance ended"
expect_eq "visible windows" "$(visible_windows)" ""
t_end

t_begin tray_tip_shown_on_hover
xdotool mousemove "$ICON_X" "$ICON_Y"
if probe wait-tip "$TIP" 8; then
    screenshot tray-tip
else
    t_fail "the tip '$TIP' did not show while hovering the icon"
fi
t_end

t_begin hotkey_shows_menu_at_cursor_once
# A window of another program in the foreground, to be given back when the menu closes.
$WINE notepad >/dev/null 2>&1 &
wait_for 15 foreground_is notepad.exe ||
    t_fail "notepad did not come to the foreground"
notepadFg=$(probe foreground | awk -F'\t' 'tolower($4) == "notepad.exe" { print $2 }')
xdotool mousemove 400 300
press_hotkey
if ! wait_menus 1 5; then
    t_fail "Shift+Ctrl+Alt+Up showed no menu"
else
    read_menus
    expect_eq "default menu" "$(describe_menu 0)" "&New Item"
    expect_eq "menu corner" "$(printf '%s\n' "$MENUS" | awk -F'\t' '$1 == "menu" { print $4, $5; exit }')" "400 300"
    before=$MENUS
    # Off the menu, so that only the hotkey reaches Kestrin: a menu under the pointer gets
    # the modifier presses too, and Alt alone closes a menu.
    xdotool mousemove 700 150
    press_hotkey
    probe wait-menus 2 2 >/dev/null && t_fail "the hotkey over the open menu showed a second menu"
    kill -0 "$KESTRIN_PID" 2>/dev/null || t_fail "kestrin ended after the hotkey over the open menu"
    read_menus
    # The posted click may close the menu; if it is still open it must be the same menu.
    [ -n "$MENUS" ] && expect_eq "menu after the second hotkey" "$MENUS" "$before"
    close_menus
    [ -n "$notepadFg" ] && ! wait_for 3 foreground_is "$notepadFg" &&
        t_fail "the foreground window was not given back: $(probe foreground)"
    open_launcher_by_click || t_fail "no menu on a click after the hotkey"
    close_menus
fi
t_end

reset_prefix

# ---- Key=0 ------------------------------------------------------------------------------

new_run_dir nokey
write_ini <<'EOF'
[Dat]
Key=0
Cnt=1
[0]
Tit=Only
Art=0
EOF
kestrin_start

t_begin key0_registers_no_hotkey
if ! wait_icon 30; then
    t_fail "no tray icon"
else
    probe hotkey-free 7 0x26 >/dev/null || t_fail "Shift+Ctrl+Alt+Up is held with Key=0"
    xdotool mousemove 400 300
    press_hotkey
    probe wait-menus 1 2 >/dev/null && t_fail "the hotkey showed a menu with Key=0"
    close_menus
    if open_launcher_by_click; then
        read_menus
        expect_eq "menu from the icon" "$(describe_menu 0)" "&Only"
    else
        t_fail "no menu on a click on the icon"
    fi
    close_menus
fi
t_end

reset_prefix

# ---- a prepared menu: shape, captions, pictures, launching, exit --------------------------

new_run_dir menu
mkdir -p "$RUN_DIR/work"
convert -size 8x8 xc:red xc:lime +append \( -size 8x8 xc:blue xc:yellow +append \) -append \
    -colors 16 "$RUN_DIR/pic.ico"
R='%usb%\build\e2e\menu'
write_ini <<EOF
[Dat]
Key=57382
Cnt=16
[0]
Tit=-
Art=1
[1]
Tit=&Recorder
Art=0
Prg=$R\\recorder.exe
Par=|first arg| %usb% x %WINDIR%
Dir=$R\\%KESTRIN_E2E_WORK%
Win=1
Ico=%USB%\\build\\e2e\\menu\\pic.ico
Idx=0
[2]
Tit=Save && Load
Art=0
Prg=
Ico=C:\\windows\\notepad.exe
Idx=0
[3]
Tit=-
Art=1
[4]
Tit=-
Art=0
[5]
Tit=Tools
Art=2
[6]
Tit=#|&Alpha
Art=0
Prg=|$R\\recorder.exe|
Win=2
[7]
Tit=#|&Apple
Art=0
[8]
Tit=#|-
Art=1
[9]
Tit=#|More
Art=2
Ico=$R\\pic.ico
Idx=0
[10]
Tit=#|#|Deep Item
Art=0
Prg=C:\\windows\\notepad.exe
[11]
Tit=#|#|-
Art=1
[12]
Tit=#|-
Art=1
[13]
Tit=Say &!
Art=0
[14]
Tit=2nd
Art=0
[15]
Tit=-
Art=1
EOF
cp "$RUN_DIR/kestrin.ini" "$RUN_DIR/kestrin.ini.before"
# The working directory names its last folder through the environment (Parameters do not).
export KESTRIN_E2E_WORK=work
kestrin_start

TOP_MENU='&Recorder [pic]
&Save && Load [pic]
----
&Tools > [pic]
Say &!
&2nd'
TOOLS_MENU='&Alpha
A&pple
----
&More > [pic]'
MORE_MENU='&Deep Item [pic]'

# Opens the launcher menu and its "Tools" submenu; leaves MENUS read with Tools as menu 0.
open_tools() {
    open_launcher_by_click || return 1
    hover_rect "$(item_rect 0 '&Tools')"
    wait_menus 2 5 || return 1
    read_menus
}

t_begin menu_shown_on_release
if ! wait_icon 30; then
    t_fail "no tray icon"
else
    xdotool mousemove "$ICON_X" "$ICON_Y" mousedown 1
    probe wait-menus 1 1 >/dev/null && t_fail "the menu showed on the press"
    xdotool mouseup 1
    wait_menus 1 5 || t_fail "no menu after the release"
    close_menus
fi
t_end

t_begin launcher_menu_from_config
if [ -z "$ICON_X" ]; then
    t_fail "no tray icon"
elif ! menu_settles open_launcher_by_click 0 "$TOP_MENU" 20; then
    t_fail "a click on the icon showed no menu"
else
    expect_eq "top level" "$(describe_menu 0)" "$TOP_MENU"
    tools=$(item_rect 0 '&Tools')
    if [ -z "$tools" ]; then
        t_fail "no entry '&Tools'"
    else
        hover_rect "$tools"
        if wait_menus 2 5; then
            read_menus
            expect_eq "Tools submenu" "$(describe_menu 0)" "$TOOLS_MENU"
            # The icon's tip can lie over the menu for a moment after the pointer left it.
            wait_for 3 tip_hidden
            screenshot launcher-menu
            more=$(item_rect 0 '&More')
            if [ -n "$more" ]; then
                hover_rect "$more"
                if wait_menus 3 5; then
                    read_menus
                    expect_eq "More submenu" "$(describe_menu 0)" "$MORE_MENU"
                else
                    t_fail "hovering '&More' opened no submenu"
                fi
            fi
        else
            t_fail "hovering '&Tools' opened no submenu"
        fi
    fi
    close_menus
    # Built anew for every showing: the second showing must look the same.
    if open_launcher_by_click; then
        expect_eq "top level, second showing" "$(describe_menu 0)" "$TOP_MENU"
    else
        t_fail "no menu on the second click"
    fi
    close_menus
fi
t_end

# The recorder's log as "exe|cmdline|cwd|flags|show" lines, one per run.
recorder_runs() {
    [ -f "$RUN_DIR/recorder.log" ] || return 0
    tr -d '\r' < "$RUN_DIR/recorder.log" | awk '
        $0 == "[run]" { if (n++) print line; line = ""; next }
        { sub(/^[a-z]+=/, ""); line = (line == "" ? $0 : line "|" $0) }
        END { if (n) print line }'
}
wait_runs() { # seconds count
    local deadline=$(( $(date +%s) + $1 ))
    until [ "$(recorder_runs | wc -l)" -ge "$2" ]; do
        [ "$(date +%s)" -ge "$deadline" ] && return 1
        sleep 0.2
    done
}
# The parameters of a command line: what follows the program name (quoted or not).
params_of() { # cmdline
    local rest
    if [ "${1:0:1}" = '"' ]; then rest=${1#\"*\"}; else rest=${1#"${1%%[ ]*}"}; fi
    printf '%s' "${rest# }"
}

t_begin launch_entries_with_fields
rm -f "$RUN_DIR/recorder.log"
if ! open_launcher_by_click; then
    t_fail "no menu"
else
    click_rect "$(item_rect 0 '&Recorder')"
    if ! wait_runs 10 1; then
        t_fail "choosing '&Recorder' started nothing"
    else
        IFS='|' read -r exe cmdline cwd flags show <<<"$(recorder_runs | sed -n 1p)"
        expect_eq "started file" "$exe" "K:\\build\\e2e\\menu\\recorder.exe"
        expect_eq "parameters" "$(params_of "$cmdline")" '"first arg" %usb% x %WINDIR%'
        expect_eq "working directory" "$cwd" "K:\\build\\e2e\\menu\\work"
        expect_eq "uses show window" "$(( flags & 1 ))" 1
        expect_eq "show state (maximized)" "$show" 3
    fi
    # Under Wine the first click on the icon after an entry was chosen by a click often shows
    # no menu (the desktop process seems to pair it with the earlier click on the icon); a
    # click on the bare desktop first, where no window lies in this test, ends that pairing.
    xdotool mousemove 4 4 click 1
    if ! open_tools; then
        t_fail "could not open 'Tools'"
    else
        click_rect "$(item_rect 0 '&Alpha')"
        if ! wait_runs 10 2; then
            t_fail "choosing '&Alpha' started nothing"
        else
            IFS='|' read -r exe cmdline cwd flags show <<<"$(recorder_runs | sed -n 2p)"
            expect_eq "piped file" "$exe" "K:\\build\\e2e\\menu\\recorder.exe"
            expect_eq "parameters (none)" "$(params_of "$cmdline")" ""
            # No directory: the launcher's own current folder, the run folder.
            cwdUnix=$(WINEDEBUG=-all winepath -u "$cwd" 2>/dev/null)
            expect_eq "working directory (none given)" "$(realpath -m "$cwdUnix")" "$(realpath "$RUN_DIR")"
            expect_eq "show state (minimized)" "$show" 6
        fi
    fi
fi
expect_eq "recorder runs" "$(recorder_runs | wc -l)" 2
t_end

t_begin context_menu_exit
xdotool mousemove 300 200
right_press_icon
if ! wait_menus 1 5; then
    t_fail "a right press showed no menu before the release"
    xdotool mouseup 3
else
    read_menus
    xdotool mouseup 3
    expect_eq "context menu" "$(describe_menu 0)" $'&Settings [pic]\nE&xit [pic]'
    exitRect=$(item_rect 0 'E&xit')
    hover_rect "$(item_rect 0 '&Settings')"
    screenshot context-menu
    probe hotkey-free 7 0x26 >/dev/null && t_fail "hotkey not held before E&xit"
    if [ -z "$exitRect" ]; then
        t_fail "no 'E&xit'"
        close_menus
    else
        click_rect "$exitRect"
        kestrin_wait_exit 10
        expect_eq "exit code after E&xit" "$KESTRIN_EXIT" 0
        probe wait-no-tray "$TIP" 5 || t_fail "the icon stayed after E&xit"
        cmp -s "$RUN_DIR/kestrin.ini" "$RUN_DIR/kestrin.ini.before" || t_fail "E&xit changed the ConfigFile"
        probe hotkey-free 7 0x26 >/dev/null || t_fail "the hotkey is still held after E&xit"
    fi
fi
t_end

# ---- a hotkey another program holds ----------------------------------------------------

t_begin hotkey_in_use_shows_a_balloon
reset_prefix
new_run_dir hotkey-taken
printf '%s' "$DEFAULT_INI" > "$RUN_DIR/kestrin.ini"
# Another program takes Shift+Ctrl+Alt+Up before Kestrin starts.
( cd "$RUN_DIR" && $WINE "$WIN_DIR/probe.exe" hold-hotkey 7 0x26 40 >"$RUN_DIR/holder.out" 2>/dev/null ) &
holder=$!
wait_for 20 grep -q held "$RUN_DIR/holder.out" || t_fail "the other program could not take the hotkey"
kestrin_start
if ! wait_icon 30; then
    t_fail "no tray icon"
else
    # Wine's tooltip hands at most 80 characters of a tool's text to another process, and
    # no title.
    text="Shift+Ctrl+Alt+Up is in use by another program. Choose another hotkey in Settings."
    expect_eq "balloon text" "$(probe wait-balloon 15 | cut -f3)" "${text:0:80}"
    screenshot hotkey-balloon
    kill -0 "$KESTRIN_PID" 2>/dev/null || t_fail "Kestrin ended after the refused hotkey"
    if open_launcher_by_click; then close_menus; else t_fail "no menu on a click on the icon"; fi
fi
kill "$holder" 2>/dev/null
reset_prefix
t_end

[ "$E2E_FAILED" -eq 0 ]
