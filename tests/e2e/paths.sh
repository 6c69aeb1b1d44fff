#!/bin/bash
# The path fields' helpers in the settings window: the "usb" buttons, browsing for a file and
# a folder through the real dialogs, and the icon picker on a file with many icons.
. "$(dirname "$0")/lib_settings.sh"
se2e_init paths

SHELL_DLL='C:\windows\system32\shell32.dll'

one_item_ini() {
    printf '[Dat]\nKey=57382\nCnt=2\n'
    printf '[0]\nTit=Tool\nArt=0\nPrg=\nPar=\nDir=\nWin=0\nIco=\nIdx=0\n'
    printf '[1]\nTit=-\nArt=1\n'
}

picker_shown() { probe listbox "Select Icon" >/dev/null; }
# The picker over the settings window, as the README shows it.
picker_shot() { # name
    local l t r b
    read -r l t r b <<<"$(probe windows kestrin.exe | awk -F'\t' '$3 == 1 && $9 == "Select Icon" { print $5, $6, $7, $8; exit }')"
    [ -n "$b" ] || return 1
    sleep 0.5
    import -window root -crop "$(( r - l + 40 ))x$(( b - t + 40 ))+$(( l - 20 ))+$(( t - 20 ))" +repage "$SHOTS/$1.png" 2>/dev/null
}
wait_picker() { # 0|1 seconds
    local i
    for ((i = 0; i < $2 * 5; i++)); do
        if [ "$1" = 1 ]; then picker_shown && return 0; else picker_shown || return 0; fi
        sleep 0.2
    done
    return 1
}

# ---- "usb" --------------------------------------------------------------------------------

t_begin usb_buttons_make_paths_drive_independent
if start_and_open paths-usb < <(one_item_ini); then
    for pair in Edit3:Button5 Edit5:Button7 Edit4:Button6; do
        field=${pair%:*} button=${pair#*:}
        fp set "$field" '\\server\share\app.exe' >/dev/null
        fp click "$button" >/dev/null
        expect_eq "$field with a network path" "$(fp get "$field")" '\\server\share\app.exe'
        fp set "$field" 'D:\Tools\run.exe' >/dev/null
        fp click "$button" >/dev/null
        expect_eq "$field" "$(fp get "$field")" '%usb%\Tools\run.exe'
        fp click "$button" >/dev/null
        expect_eq "$field after a second press" "$(fp get "$field")" '%usb%\Tools\run.exe'
    done
    # The buttons act on a separator's read-only fields too.
    fp select - >/dev/null
    expect_eq "separator's command read-only" "$(fp readonly Edit3)" 1
    fp set Edit3 'C:' >/dev/null
    fp click Button5 >/dev/null
    expect_eq "separator's command" "$(fp get Edit3)" '%usb%'
    fp select Tool >/dev/null
    click_and_hide Button3 || t_fail "OK did not hide the window"
    expect_eq "saved item" "$(ini_section "$RUN_DIR/kestrin.ini" 0 | grep -E '^(Prg|Dir|Ico)=')" \
        $'Prg=%usb%\\Tools\\run.exe\nDir=%usb%\\Tools\\run.exe\nIco=%usb%\\Tools\\run.exe'
fi
t_end

# ---- browsing -------------------------------------------------------------------------------

t_begin browse_file_fills_the_full_path
if start_and_open paths-file < <(one_item_ini); then
    # A folder in the field: the dialog opens there and the typed name is taken.
    fp set Edit3 'C:\windows\system32' >/dev/null
    click_control BitBtn1
    if ! wait_dialog 10; then
        t_fail "no open dialog"
    else
        dialog_shot open-dialog
        keys w i n v e r period e x e Return
        wait_no_dialog 10 || t_fail "the open dialog did not close"
        expect_eq "command" "$(fp get Edit3)" 'C:\windows\system32\winver.exe'
    fi
    # A file in the field: the dialog opens in its folder with its name proposed.
    fp set Edit4 "$SHELL_DLL" >/dev/null
    click_control BitBtn2
    if ! wait_dialog 10; then
        t_fail "no open dialog for the icon file"
    else
        keys Return
        wait_no_dialog 10 || t_fail "the open dialog did not close on Enter"
        expect_eq "icon file" "$(fp get Edit4)" "$SHELL_DLL"
    fi
    click_and_hide Button3 || t_fail "OK did not hide the window"
    expect_eq "saved" "$(ini_section "$RUN_DIR/kestrin.ini" 0 | grep -E '^(Prg|Ico)=')" \
        $'Prg=C:\\windows\\system32\\winver.exe\nIco=C:\\windows\\system32\\shell32.dll'
fi
t_end

# The name in the shown file dialog's name field.
dialog_name() { probe controls kestrin.exe | awk -F'\t' '$4 == 1148 { print $NF; exit }'; }

t_begin browse_file_proposes_names_the_dialog_takes
if start_and_open paths-names < <(one_item_ini); then
    # Pipe quoting: the pipes are no part of the name.
    fp set Edit3 '|C:\windows\system32\winver.exe|' >/dev/null
    click_control BitBtn1
    if wait_dialog 10; then
        expect_eq "name proposed for a piped command" "$(dialog_name)" winver.exe
        keys Return
        wait_no_dialog 10 || t_fail "the open dialog did not close on Enter"
        expect_eq "command" "$(fp get Edit3)" 'C:\windows\system32\winver.exe'
    else
        t_fail "no open dialog for a piped command"
    fi
    # A cancelled dialog leaves the last accepted name for the next use.
    fp set Edit3 '|C:\windows\system32\notepad.exe|' >/dev/null
    click_control BitBtn1
    if wait_dialog 10; then
        keys Escape
        wait_no_dialog 10 || t_fail "the open dialog did not close on Esc"
    else
        t_fail "no open dialog for notepad"
    fi
    fp set Edit3 '' >/dev/null
    click_control BitBtn1
    if wait_dialog 10; then
        keys Return
        wait_no_dialog 10 || t_fail "the open dialog did not close on Enter"
        expect_eq "command from the remembered name" "$(fp get Edit3)" 'C:\windows\system32\winver.exe'
    else
        t_fail "no open dialog for an empty command"
    fi
    click_and_hide Button4 || t_fail "Cancel did not hide the window"
fi
t_end

t_begin browse_folder_starts_at_the_commands_folder
if start_and_open paths-folder < <(one_item_ini); then
    fp set Edit3 'C:\windows\system32\notepad.exe' >/dev/null
    fp set Edit5 'C:\elsewhere' >/dev/null
    click_control BitBtn5
    if ! wait_dialog 10; then
        t_fail "no folder dialog"
    else
        dialog_shot folder-browser
        keys Return
        wait_no_dialog 10 || t_fail "the folder dialog did not close on Enter"
        expect_eq "working directory" "$(fp get Edit5)" 'C:\windows\system32'
    fi
    # Cancel changes nothing.
    click_control BitBtn5
    if wait_dialog 10; then
        keys Escape
        wait_no_dialog 10 || t_fail "the folder dialog did not close on Esc"
        expect_eq "working directory after Cancel" "$(fp get Edit5)" 'C:\windows\system32'
    else
        t_fail "no folder dialog the second time"
    fi
    click_and_hide Button3 || t_fail "OK did not hide the window"
    expect_eq "saved" "$(ini_section "$RUN_DIR/kestrin.ini" 0 | grep '^Dir=')" 'Dir=C:\windows\system32'
fi
t_end

# ---- icon picker ----------------------------------------------------------------------------

# Opens the picker with the icon file and index set; PICKER holds "COUNT SELECTED ENABLED".
open_picker() { # icon-file index
    fp set Edit4 "$1" >/dev/null
    fp set Edit6 "$2" >/dev/null
    click_control Button8
    wait_picker 1 10 || return 1
    PICKER=$(probe listbox "Select Icon" | cut -f2-)
}

t_begin icon_picker_lists_preselects_and_writes_back
if start_and_open paths-picker < <(one_item_ini); then
    if ! open_picker "$SHELL_DLL" 3; then
        t_fail "no picker window"
    else
        read -r count selected enabled <<<"$PICKER"
        [ "${count:-0}" -gt 3 ] || t_fail "the picker lists $count icons of shell32.dll"
        expect_eq "preselected" "$selected" 3
        expect_eq "enabled" "$enabled" 1
        picker_shot icon-picker || t_fail "no picker window to photograph"
        keys Return
        wait_picker 0 10 || t_fail "Enter did not close the picker"
        expect_eq "index after Enter" "$(fp get Edit6)" 3
    fi
    if open_picker "$SHELL_DLL" 7; then
        keys Escape
        wait_picker 0 10 || t_fail "Esc did not close the picker"
        expect_eq "index after Esc" "$(fp get Edit6)" 0
    else
        t_fail "no picker the second time"
    fi
    click_and_hide Button3 || t_fail "OK did not hide the window"
    expect_eq "saved" "$(ini_section "$RUN_DIR/kestrin.ini" 0 | grep -E '^(Ico|Idx)=')" \
        $'Ico=C:\\windows\\system32\\shell32.dll\nIdx=0'
fi
t_end

# The close button at the right end of the picker's caption.
picker_close_button() {
    local l t r b
    read -r l t r b <<<"$(probe windows kestrin.exe | awk -F'\t' '$3 == 1 && $9 == "Select Icon" { print $5, $6, $7, $8; exit }')"
    [ -n "$b" ] && xdotool mousemove $(( r - 12 )) $(( t + 12 )) click 1
}

# A picker that shows no icons changes nothing, whichever way it is closed.
t_begin icon_picker_without_icons_keeps_the_index
if start_and_open paths-picker-empty < <(one_item_ini); then
    # How it is closed, whether the list is enabled (the file exists), the file.
    for case in 'Return|0|C:\no\such\file.ico' "Escape|1|$RUN_WIN\kestrin.ini" 'close|0|C:\no\such\file.ico'; do
        IFS='|' read -r how enabled file <<<"$case"
        if open_picker "$file" 2; then
            expect_eq "list for $file" "$PICKER" $'0\t-1\t'"$enabled"
            if [ "$how" = close ]; then picker_close_button; else keys "$how"; fi
            wait_picker 0 10 || t_fail "$how did not close the empty picker"
            expect_eq "index after $how on $file" "$(fp get Edit6)" 2
        else
            t_fail "no picker for $file"
        fi
    done
    click_and_hide Button3 || t_fail "OK did not hide the window"
    expect_eq "saved index" "$(ini_section "$RUN_DIR/kestrin.ini" 0 | grep '^Idx=')" 'Idx=2'
fi
t_end

t_begin icon_picker_without_file_or_with_a_bad_index
if start_and_open paths-picker-edge < <(one_item_ini); then
    fp set Edit4 '' >/dev/null
    fp set Edit3 '' >/dev/null
    fp set Edit6 '9' >/dev/null
    fp click Button8 >/dev/null
    expect_eq "index with both fields empty" "$(fp get Edit6)" 0
    picker_shown && t_fail "a picker opened with both fields empty"
    fp set Edit4 "$SHELL_DLL" >/dev/null
    fp set Edit6 'abc' >/dev/null  # the field's own check reports it first
    [ -n "$(fp errorbox)" ] && fp errorbox-ok >/dev/null
    click_control Button8
    expect_eq "error" "$(fp wait-errorbox 10)" "'abc' is not a valid integer value."
    fp errorbox-ok >/dev/null
    picker_shown && t_fail "a picker opened for a bad index"
    expect_eq "index field keeps its text" "$(fp get Edit6)" abc
    click_and_hide Button4 || t_fail "Cancel did not hide the window"
fi
t_end

# ---- home page ------------------------------------------------------------------------------

# The recorder stands in for the browser: the prefix's web protocol opens it.
recorder_cmdlines() { [ -f "$RUN_DIR/recorder.log" ] && tr -d '\r' < "$RUN_DIR/recorder.log" | sed -n 's/^cmdline=//p'; }
t_begin home_page_link_opens_on_double_click
if start_and_open paths-home < <(one_item_ini); then
    handler="\"$RUN_WIN\\recorder.exe\" \"%1\""
    $WINE reg add 'HKCR\http\shell\open\command' /ve /d "$handler" /f >/dev/null 2>&1
    rm -f "$RUN_DIR/recorder.log"
    read -r l t r b <<<"$(fp rect Label10)"
    xdotool mousemove $(( (l + r) / 2 )) $(( (t + b) / 2 )) click 1
    sleep 1
    [ -n "$(recorder_cmdlines)" ] && t_fail "a single click opened the page"
    xdotool click --repeat 2 --delay 80 1
    for ((i = 0; i < 50; i++)); do [ -n "$(recorder_cmdlines)" ] && break; sleep 0.2; done
    case "$(recorder_cmdlines)" in
        *'"http://www.kestrin.example/tray-launcher/"') ;;
        *) t_fail "the browser was handed '$(recorder_cmdlines)'" ;;
    esac
    click_and_hide Button4 || t_fail "Cancel did not hide the window"
fi
t_end

kestrin_stop
[ "$E2E_FAILED" -eq 0 ]
