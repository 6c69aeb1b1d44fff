#!/bin/bash
# The settings window as a user meets it: opening from the tray, the item form's fields and
# their saving, OK and Cancel by button and by key, kind changes and the autostart switch.
# One prefix for the script; every test starts Kestrin afresh with its own ConfigFile.
. "$(dirname "$0")/lib_settings.sh"
se2e_init settings

RUN_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
hotkey_held() { ! probe hotkey-free 7 0x26 >/dev/null; }
ini_unchanged() { cmp -s "$RUN_DIR/kestrin.ini" "$RUN_DIR/saved.ini"; }

# ---- opening ------------------------------------------------------------------------------

t_begin settings_opens_collapsed_on_first_node
if ! start_with_ini se2e-open < <(example_ini); then
    t_fail "no tray icon"
else
    hotkey_held || t_fail "the hotkey is not registered before opening"
    expect_eq "visible before opening" "$(fp visible)" 0
    if ! open_settings; then
        t_fail "\"&Settings\" showed no settings window"
    else
        expect_eq "tree" "$(tree_outline)" "$EXAMPLE_OUTLINE"
        expect_eq "expanded nodes" "$(fp tree | awk -F'\t' '$2 ~ /e/ { print $3 }')" ""
        expect_eq "selected node" "$(tree_selected)" A
        expect_eq "title field" "$(fp get Edit1)" A
        expect_eq "command field" "$(fp get Edit3)" run-A
        expect_eq "kind (A has children)" "$(fp combo ComboBox2)" $'2\tSubmenu'
        expect_eq "read-only fields of a submenu" "$(readonly_flags)" 011100
        expect_eq "focus" "$(fp focus)" TreeView1
        expect_eq "hotkey field (Up as the extended key)" "$(fp hotkey)" 0x0f26
        hotkey_held && t_fail "the hotkey is still held while the window is open"

        # Choosing "&Settings" again while it is open: no reset, no reselection.
        fp select A/A2 >/dev/null || t_fail "cannot select A2"
        fp set Edit3 'edited-A2' >/dev/null
        open_settings || t_fail "the window was not visible after the second \"&Settings\""
        expect_eq "selected after the second opening" "$(tree_selected)" A2
        expect_eq "A still expanded" "$(tree_marks A | grep -c e)" 1
        expect_eq "title after the second opening" "$(fp get Edit1)" A2
        expect_eq "command after the second opening" "$(fp get Edit3)" edited-A2

        click_and_hide Button4 || t_fail "Cancel did not hide the window"
        ini_unchanged || t_fail "Cancel changed the ConfigFile"
        wait_for 3 hotkey_held || t_fail "the hotkey was not registered again after Cancel"
    fi
fi
t_end

# ---- fields, OK, saved format ---------------------------------------------------------------

t_begin fields_saved_in_config_format
if ! start_with_ini se2e-fields <<'EOF'
[Dat]
Key=57382
Cnt=4
[0]
Tit=Prog
Art=0
Prg=old.exe
Par=old
Dir=C:\old
Win=0
Ico=
Idx=7
[1]
Tit=-
Art=1
Prg=junk.exe
Par=junk
Dir=C:\junk
Win=1
Ico=C:\junk.ico
Idx=5
[2]
Tit=Tools
Art=2
Prg=junk2.exe
Par=p
Dir=d
Win=2
Ico=
Idx=0
[3]
Tit=#|Child
Art=0
Prg=child.exe
EOF
then
    t_fail "no tray icon"
elif ! open_settings; then
    t_fail "no settings window"
else
    expect_eq "first node" "$(fp get Edit1)" Prog
    # Each field as a user types it; the sync writes nothing back but the icon index.
    while IFS=';' read -r -u 3 field value shown; do
        fp set "$field" "$value" >/dev/null || t_fail "setting $field gave $?"
        expect_eq "$field after typing '$value'" "$(fp get "$field")" "$shown"
    done 3<<'EOF'
Edit1;Edited &Title;Edited &Title
Edit3;%usb%\tools\app.exe;%usb%\tools\app.exe
Edit2;|C:\My Notes\list.txt| -x;|C:\My Notes\list.txt| -x
Edit5;C:\Work Dir;C:\Work Dir
Edit4;C:\icons.dll;C:\icons.dll
Edit6;300;44
EOF
    expect_eq "tree title" "$(fp tree | head -1 | cut -f3)" "Edited &Title"
    fp choose ComboBox1 2 >/dev/null
    expect_eq "show state" "$(fp combo ComboBox1)" $'2\tMinimized'

    # An empty icon index is no integer: the error box, the typed text kept, 44 kept.
    fp set Edit6 "" >/dev/null
    rc=$?
    if [ "$rc" -ne 3 ] && ! fp wait-errorbox 3 >/dev/null; then
        t_fail "clearing the icon index showed no error box"
    else
        expect_eq "error box text" "$(fp errorbox)" "'' is not a valid integer value."
        # The box is modal to the settings window: a real click on its Cancel does nothing.
        expect_eq "settings window enabled under the box" "$(fp enabled)" 0
        click_control Button4
        sleep 0.5
        expect_eq "window after a click on Cancel under the box" "$(fp visible)" 1
        expect_eq "error boxes after a click on Cancel under the box" "$(fp errorboxes)" 1
        fp errorbox-ok || t_fail "the error box did not close"
        expect_eq "settings window enabled after the box" "$(fp enabled)" 1
        expect_eq "icon index field after the error" "$(fp get Edit6)" ""
    fi

    fp select Tools >/dev/null || t_fail "cannot select Tools"
    fp set Edit4 'C:\tools.ico' >/dev/null
    fp set Edit6 '0x10' >/dev/null
    expect_eq "hexadecimal icon index shown as stored" "$(fp get Edit6)" 16
    fp select - >/dev/null || t_fail "cannot select the separator"

    if ! click_and_hide Button3; then
        t_fail "OK did not hide the window"
    else
        expected=$'[Dat]\nKey=57382\nCnt=4\n[0]\nTit=Edited &Title\nArt=0\nPrg=%usb%\\tools\\app.exe
Par=|C:\\My Notes\\list.txt| -x\nDir=C:\\Work Dir\nWin=2\nIco=C:\\icons.dll\nIdx=44\n[1]\nTit=-\nArt=1
[2]\nTit=Tools\nArt=2\nIco=C:\\tools.ico\nIdx=16\n[3]\nTit=#|Child\nArt=0\nPrg=child.exe\nPar=\nDir=
Win=0\nIco=\nIdx=0'
        expect_eq "saved ConfigFile" "$(tr -d '\r' < "$RUN_DIR/kestrin.ini")" "$expected"
        grep -qv $'\r$' "$RUN_DIR/kestrin.ini" && t_fail "a ConfigFile line does not end in CR LF"

        # Reloaded and the hotkey registered again: the launcher menu shows the new title.
        wait_for 3 hotkey_held || t_fail "the hotkey was not registered again after OK"
        xdotool mousemove 400 300
        press_hotkey
        if wait_menus 1 5; then
            read_menus
            [ -n "$(item_rect 0 'Edited &Title')" ] ||
                t_fail "the launcher menu lacks the edited title: $(printf '%s\n' "$MENUS" | cut -f11 | paste -sd'|')"
            close_menus
        else
            t_fail "Shift+Ctrl+Alt+Up showed no launcher menu after OK"
        fi
        if open_settings; then
            expect_eq "reloaded title" "$(fp get Edit1)" "Edited &Title"
            expect_eq "reloaded icon index" "$(fp get Edit6)" 44
            expect_eq "reloaded show state" "$(fp combo ComboBox1 | cut -f1)" 2
            click_and_hide Button4 >/dev/null
        else
            t_fail "the window did not open again after OK"
        fi
    fi
fi
t_end

# ---- Cancel, Enter, Esc -------------------------------------------------------------------

t_begin cancel_restores_last_saved
if start_and_open se2e-cancel < <(example_ini); then
    fp select B >/dev/null
    fp set Edit1 'B renamed' >/dev/null
    fp set Edit3 'lost.exe' >/dev/null
    fp set Edit6 9 >/dev/null
    fp select A/A1 >/dev/null
    fp choose ComboBox2 1 >/dev/null
    fp select C/C1 >/dev/null
    fp click Button1 >/dev/null
    fp select A >/dev/null
    fp click Button2 >/dev/null
    [ "$(tree_outline)" = "$EXAMPLE_OUTLINE" ] && t_fail "the edits did not reach the tree"
    if ! click_and_hide Button4; then
        t_fail "Cancel did not hide the window"
    else
        ini_unchanged || t_fail "Cancel changed the ConfigFile"
        wait_for 3 hotkey_held || t_fail "the hotkey was not registered again after Cancel"
        if open_settings; then
            expect_eq "tree after Cancel" "$(tree_outline)" "$EXAMPLE_OUTLINE"
            fp select B >/dev/null
            expect_eq "B's fields after Cancel" "$(fp get Edit1)|$(fp get Edit3)|$(fp get Edit6)" "B|run-B|0"
            fp select A/A1 >/dev/null
            expect_eq "A1 after Cancel" "$(fp get Edit1)|$(fp combo ComboBox2 | cut -f1)" "A1|0"
            click_and_hide Button4 >/dev/null
        else
            t_fail "the window did not open again after Cancel"
        fi
    fi
fi
t_end

# Enter in each edit field confirms the window: the typed value is saved.
t_begin enter_in_any_edit_acts_as_ok
if ! start_with_ini se2e-enter < <(example_ini); then
    t_fail "no tray icon"
else
    while IFS='|' read -r -u 3 field value line; do
        if ! open_settings; then
            t_fail "no settings window for $field"
            break
        fi
        fp select B >/dev/null || { t_fail "no node B for $field"; fp click Button4; continue; }
        fp set "$field" "$value" >/dev/null
        click_control "$field"
        focus_wine_desktop
        xdotool key Return
        if ! fp wait-visible 0 5; then
            t_fail "Enter in $field did not close the window"
            fp click Button4 >/dev/null
            fp wait-visible 0 5
            continue
        fi
        ini_section "$RUN_DIR/kestrin.ini" 3 | grep -qxF "$line" ||
            t_fail "after Enter in $field, section 3 lacks '$line': $(ini_section "$RUN_DIR/kestrin.ini" 3 | paste -sd' ')"
    done 3<<'EOF'
Edit3|enter-cmd.exe|Prg=enter-cmd.exe
Edit2|-enter|Par=-enter
Edit5|C:\enter|Dir=C:\enter
Edit4|C:\enter.ico|Ico=C:\enter.ico
Edit6|12|Idx=12
Edit1|Bee|Tit=Bee
EOF
fi
t_end

# Esc and the window's own close (Alt+F4) are Cancel: the edits are dropped and the program
# goes on. Alt+F4 reaches the window's system command only from an edit field.
for closing in "esc Escape Esc" "alt_f4 alt+F4 Alt+F4"; do
    read -r name key shown <<<"$closing"
    t_begin "${name}_acts_as_cancel"
    if start_and_open "se2e-$name" < <(example_ini); then
        fp select B >/dev/null
        fp set Edit3 "$name-lost.exe" >/dev/null
        click_control Edit2
        focus_wine_desktop
        xdotool key "$key"
        if ! fp wait-visible 0 5; then
            t_fail "$shown did not close the window"
            click_and_hide Button4
        else
            kill -0 "$KESTRIN_PID" 2>/dev/null || t_fail "$shown ended the program"
            ini_unchanged || t_fail "$shown changed the ConfigFile"
            if open_settings; then
                fp select B >/dev/null
                expect_eq "B's command after $shown" "$(fp get Edit3)" run-B
                click_and_hide Button4 >/dev/null
            else
                t_fail "the window did not open again after $shown"
            fi
        fi
    fi
    t_end
done

# ---- kinds ----------------------------------------------------------------------------------

DASHES=--------------------
t_begin kind_changes_follow_children_rule
if ! start_with_ini se2e-kinds <<'EOF'
[Dat]
Key=57382
Cnt=4
[0]
Tit=P
Art=0
Prg=run-P
[1]
Tit=S
Art=2
Prg=run-S
[2]
Tit=M
Art=0
Prg=run-M
[3]
Tit=#|M1
Art=0
Prg=run-M1
EOF
then
    t_fail "no tray icon"
elif ! open_settings; then
    t_fail "no settings window"
else
    measure_fields || t_fail "cannot find the fields on the screen"
    # step: what is done | kind shown | title shown | read-only edits | field colours
    while IFS='|' read -r -u 3 step kind title flags colours; do
        case $step in
            select*) fp select "${step#select }" >/dev/null || t_fail "cannot $step" ;;
            choose*) fp choose ComboBox2 "${step#choose }" >/dev/null || t_fail "cannot $step" ;;
        esac
        expect_eq "kind after '$step'" "$(fp combo ComboBox2 | cut -f1)" "$kind"
        expect_eq "title after '$step'" "$(fp get Edit1)" "$title"
        expect_eq "read-only edits after '$step'" "$(readonly_flags)" "$flags"
        expect_eq "colours ($FIELD_ORDER) after '$step'" "$(field_colours)" "$colours"
    done 3<<EOF
select P|0|P|000000|WWWWWWWW
choose 2|0|P|000000|WWWWWWWW
choose 1|1|$DASHES|111111|WFFFFFFF
choose 0|0|$DASHES|000000|WWWWWWWW
select S|0|S|000000|WWWWWWWW
select M|2|M|011100|FWFFFWWF
choose 1|2|$DASHES|011100|FWFFFWWF
choose 0|2|$DASHES|011100|FWFFFWWF
EOF
    expect_eq "tree titles" "$(tree_outline)" "$DASHES,S,$DASHES(M1)"
    if click_and_hide Button3; then
        expect_eq "saved outline" "$(ini_outline "$RUN_DIR/kestrin.ini")" "$DASHES,S,$DASHES(M1)"
        expect_eq "saved kinds" "$(ini_kinds "$RUN_DIR/kestrin.ini")" "0 0 2 0"
        expect_eq "saved commands" "$(ini_items "$RUN_DIR/kestrin.ini" | cut -f4 | paste -sd' ')" "run-P run-S  run-M1"
    else
        t_fail "OK did not hide the window"
    fi
fi
t_end

# ---- autostart ------------------------------------------------------------------------------

# The data of the value "Kestrin" in the Run key; returns 1 when there is no such value.
autostart_value() {
    $WINE reg query "$RUN_KEY" /v Kestrin 2>/dev/null | tr -d '\r' |
        awk '$1 == "Kestrin" && $2 == "REG_SZ" { sub(/^ *Kestrin +REG_SZ +/, ""); print; found = 1 }
             END { exit !found }'
}
other_value() {
    $WINE reg query "$RUN_KEY" /v KestrinTestOther 2>/dev/null | tr -d '\r' |
        awk '$1 == "KestrinTestOther" { sub(/^ *KestrinTestOther +REG_SZ +/, ""); print }'
}

t_begin autostart_checkbox_writes_run_value
$WINE reg delete "$RUN_KEY" /v Kestrin /f >/dev/null 2>&1
$WINE reg add "$RUN_KEY" /v KestrinTestOther /d 'C:\other dir\other.exe' /f >/dev/null 2>&1
# A folder with a blank in its name: the written path must be quoted.
if ! start_with_ini "se2e auto start" < <(example_ini); then
    t_fail "no tray icon"
else
    exePath="$RUN_WIN\\kestrin.exe"
    # step | box before | action | value afterwards ("-" for none)
    while IFS='|' read -r -u 3 step before action after; do
        if ! open_settings; then
            t_fail "no settings window at '$step'"
            break
        fi
        expect_eq "box at opening ($step)" "$(fp checked CheckBox1)" "$before"
        case $action in
            check*) fp check CheckBox1 "${action#check }" >/dev/null || t_fail "cannot $action ($step)" ;;
        esac
        case $step in
            *ok) click_and_hide Button3 || t_fail "OK did not hide the window ($step)" ;;
            *) click_and_hide Button4 || t_fail "Cancel did not hide the window ($step)" ;;
        esac
        value=$(autostart_value) || value=-
        [ "$after" = PATH ] && after="\"$exePath\""
        expect_eq "value after '$step'" "$value" "$after"
        expect_eq "other value after '$step'" "$(other_value)" 'C:\other dir\other.exe'
    done 3<<'EOF'
check ok|0|check 1|PATH
unchanged ok|1||PATH
uncheck cancel|1|check 0|PATH
uncheck ok|1|check 0|-
check cancel|0|check 1|-
EOF
fi
$WINE reg delete "$RUN_KEY" /v KestrinTestOther /f >/dev/null 2>&1
t_end

# A Run key that refuses the value: OK still reloads what it saved, so after Second moved
# above First the launcher menu's "Second" starts Second's program; then the error shows.
t_begin refused_autostart_still_reloads
if ! start_with_ini se2e-runkey < <(printf '[Dat]\nKey=57382\nCnt=2\n[0]\nTit=First\nArt=0\nPrg=recorder.exe\nPar=first\n[1]\nTit=Second\nArt=0\nPrg=recorder.exe\nPar=second\n'); then
    t_fail "no tray icon"
elif ! probe run-key deny; then
    t_fail "cannot make the Run key refuse new values"
else
    $WINE reg delete "$RUN_KEY" /v Kestrin /f >/dev/null 2>&1
    if open_settings; then
        fp select Second >/dev/null
        form_keys ctrl+Up
        expect_eq "tree after the move" "$(tree_outline)" "Second,First"
        fp check CheckBox1 1 >/dev/null
        fp click Button3 >/dev/null
        expect_eq "error box after OK" "$(fp wait-errorbox 10)" "Failed to set data for 'Kestrin'"
        fp errorbox-ok >/dev/null
        fp wait-visible 0 5 || t_fail "the window stayed open after OK"
        expect_eq "saved order" "$(ini_outline "$RUN_DIR/kestrin.ini")" "Second,First"
        rm -f "$RUN_DIR/recorder.log"
        click_icon
        if wait_menus 1 5; then
            read_menus
            click_rect "$(item_rect 0 '&Second')"
            wait_for 10 test -s "$RUN_DIR/recorder.log" || t_fail "choosing 'Second' started nothing"
            grep -q 'second' "$RUN_DIR/recorder.log" 2>/dev/null ||
                t_fail "choosing 'Second' started: $(tr -d '\r' < "$RUN_DIR/recorder.log" 2>/dev/null | grep cmdline)"
        else
            t_fail "no launcher menu after OK"
        fi
    else
        t_fail "no settings window"
    fi
fi
probe run-key allow >/dev/null
t_end

# ---- failed loads lose nothing --------------------------------------------------------------

# Tools holding Notes, then Mail; every field of Notes set, so a lost field shows.
notes_ini() { # stored title of Notes
    printf '[Dat]\nKey=57382\nCnt=3\n[0]\nTit=Tools\nArt=2\nIco=\nIdx=0\n'
    printf '[1]\nTit=%s\nArt=0\nPrg=notes.exe\nPar=-n\nDir=C:\\Notes\nWin=1\nIco=notes.ico\nIdx=2\n' "$1"
    printf '[2]\nTit=Mail\nArt=0\nPrg=mail.exe\nPar=\nDir=\nWin=0\nIco=\nIdx=0\n'
}
NOTES_SAVED=$(notes_ini '#|Notes')

t_begin typed_leading_blank_loses_nothing
if start_and_open se2e-blank < <(notes_ini '#|Notes'); then
    fp select Tools/Notes >/dev/null || t_fail "cannot select Notes"
    fp set Edit1 " Notes" >/dev/null
    click_and_hide Button3 || t_fail "OK did not hide the window"
    fp wait-errorbox 2 >/dev/null && t_fail "the reload after OK failed: $(fp errorbox)" && fp errorbox-ok
    expect_eq "ConfigFile after OK" "$(tr -d '\r' < "$RUN_DIR/kestrin.ini")" "$NOTES_SAVED"
    if ! open_settings; then
        t_fail "no settings window the second time"
    else
        expect_eq "tree reopened" "$(tree_outline)" "Tools(Notes),Mail"
        click_and_hide Button3 || t_fail "the second OK did not hide the window"
        expect_eq "ConfigFile after the second OK" "$(tr -d '\r' < "$RUN_DIR/kestrin.ini")" "$NOTES_SAVED"
    fi
fi
t_end

t_begin invalid_level_file_loses_nothing
# A title stored with a blank after its level mark reads one level too deep.
if ! start_with_ini se2e-level < <(notes_ini '#| Notes'); then
    t_fail "no tray icon"
else
    expect_eq "error at start" "$(fp wait-errorbox 10)" 'Invalid level (2) for item "Notes"'
    fp errorbox-ok || t_fail "the error box did not close"
    if ! open_settings; then
        t_fail "no settings window"
    else
        expect_eq "tree holds every item" "$(tree_outline)" "Tools(Notes),Mail"
        fp select Tools/Notes >/dev/null || t_fail "cannot select Notes"
        expect_eq "command of Notes" "$(fp get Edit3)" notes.exe
        expect_eq "icon index of Notes" "$(fp get Edit6)" 2
        click_and_hide Button3 || t_fail "OK did not hide the window"
        fp wait-errorbox 2 >/dev/null && t_fail "the reload after OK failed: $(fp errorbox)" && fp errorbox-ok
        expect_eq "ConfigFile after OK" "$(tr -d '\r' < "$RUN_DIR/kestrin.ini")" "$NOTES_SAVED"
    fi
fi
t_end

# ---- screenshots ----------------------------------------------------------------------------

t_begin screenshots_of_each_kind
if ! start_with_ini se2e-shots <<'EOF'
[Dat]
Key=57382
Cnt=5
[0]
Tit=&Editor
Art=0
Prg=%usb%\Editor\editor.exe
Par=|C:\My Notes\list.txt|
Dir=%usb%\Editor
Win=1
Ico=C:\windows\notepad.exe
Idx=0
[1]
Tit=-
Art=1
[2]
Tit=Tools
Art=2
Ico=C:\windows\explorer.exe
Idx=0
[3]
Tit=#|Notepad
Art=0
Prg=C:\windows\notepad.exe
[4]
Tit=#|Calculator
Art=0
Prg=calc.exe
EOF
then
    t_fail "no tray icon"
elif ! open_settings; then
    t_fail "no settings window"
else
    # Each picture shows the form of its kind: the fields' colours, read from the saved file.
    measure_fields || t_fail "cannot find the fields on the screen"
    read -r left top _ <<<"$(fp rect)"
    while IFS='|' read -r -u 3 title name colours; do
        fp select "$title" >/dev/null || t_fail "cannot select $title"
        rm -f "$SHOTS/$name.png"
        form_screenshot "$name"
        expect_eq "colours ($FIELD_ORDER) in $name.png" "$(picture_colours "$SHOTS/$name.png" "$left" "$top")" "$colours"
    done 3<<'EOF'
&Editor|settings-program|WWWWWWWW
-|settings-separator|WFFFFFFF
Tools|settings-submenu|FWFFFWWF
EOF
    click_and_hide Button4 >/dev/null
fi
t_end

kestrin_stop
[ "$E2E_FAILED" -eq 0 ]
