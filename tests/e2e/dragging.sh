#!/bin/bash
# Dragging in the settings window: files, a folder and a shortcut dropped onto the tree
# become entries at the drop point (WM_DROPFILES, as a source without OLE sends it), and a
# node dragged with the mouse moves with its subtree. Each case ends with OK and checks the
# saved ConfigFile.
. "$(dirname "$0")/lib_settings.sh"
se2e_init dragging

# The middle, upper edge or lower edge of a node's row: "X Y" on the screen.
node_point() { # path where
    local l t r b
    read -r l t r b < <(fp noderect "$1") || return 1
    case $2 in
        on) echo "$(((l + r) / 2)) $(((t + b) / 2))" ;;
        above) echo "$(((l + r) / 2)) $((t + 1))" ;;
    esac
}

# The points of two rows as node_point gives them, in fx fy and tx ty; false when either is
# missing.
node_points() { # path where path where
    local from to
    from=$(node_point "$1" "$2")
    to=$(node_point "$3" "$4")
    [ -n "$from" ] && [ -n "$to" ] || return 1
    read -r fx fy <<<"$from"
    read -r tx ty <<<"$to"
}

# Presses on (X, Y) and moves the pointer DIRECTION (1 down, -1 up) past the drag threshold,
# then on to (TX, TY + NEAR) and (TX, TY): the tree view sees a drag that comes to rest there.
drag_to() { # x y direction tx ty near
    local step
    xdotool mousemove "$1" "$2" mousedown 1
    for step in 4 8 12; do xdotool mousemove "$1" $(($2 + $3 * step)); sleep 0.1; done
    xdotool mousemove "$4" $(($5 + $6))
    sleep 0.2
    xdotool mousemove "$4" "$5"
    sleep 0.2
}

# Field of the saved row whose title is TITLE: KEY's value.
saved_field() { # title key
    tr -d '\r' < "$RUN_DIR/kestrin.ini" | awk -F= -v t="$1" -v k="$2" '
        /^\[/ { hit = 0; next }
        $1 == "Tit" { sub(/^Tit=(#\|)*/, ""); hit = ($0 == t); next }
        hit && $1 == k { sub(/^[^=]*=/, ""); print; exit }'
}

t_begin drop_file_folder_and_shortcut_before_B
if start_and_open se2e-drag-drop < <(example_ini); then
    files="$RUN_DIR/drops"
    mkdir -p "$files/My Tools.v2"
    : > "$files/notes.txt"
    win_files=$(win_path "$files")
    # Kestrin runs from K:, not the Windows drive: paths on K: travel as %usb%.
    fp makelink "$win_files\\Editor.lnk" 'C:\windows\notepad.exe' '"a b.txt" /x' 'C:\windows' 7 \
        'C:\windows\system32\shell32.dll' 4 || t_fail "cannot write the shortcut"
    point=$(node_point B above)
    if [ -z "$point" ]; then
        t_fail "no row for B"
    else
        fp drop $point "$win_files\\notes.txt" "$win_files\\My Tools.v2" "$win_files\\Editor.lnk" >/dev/null ||
            t_fail "drop refused"
        sleep 0.3
        expect_eq "tree" "$(tree_outline)" "A(A1,A2),notes,My Tools.v2,Editor,B,C(C1)"
        expect_eq "selected" "$(tree_selected)" notes
        expect_eq "title field" "$(fp get Edit1)" notes
        # Onto the submenu C: its last child.
        point=$(node_point C on)
        fp drop $point "$win_files\\notes.txt" >/dev/null || t_fail "second drop refused"
        sleep 0.3
        expect_eq "tree after a drop onto C" "$(tree_outline)" "A(A1,A2),notes,My Tools.v2,Editor,B,C(C1,notes)"
        if ! click_and_hide Button3; then
            t_fail "OK did not hide the window"
        else
            expect_eq "saved outline" "$(ini_outline "$RUN_DIR/kestrin.ini")" \
                "A(A1,A2),notes,My Tools.v2,Editor,B,C(C1,notes)"
            rel=${win_files#K:}
            expect_eq "file's command" "$(saved_field notes Prg)" "%usb%$rel\\notes.txt"
            expect_eq "folder's command" "$(saved_field 'My Tools.v2' Prg)" "%usb%$rel\\My Tools.v2"
            # Win is not compared: Wine's shell link reads the stored show command back as
            # normal (the file holds 7); the unit tests cover the mapping.
            expect_eq "shortcut's fields" \
                "$(for k in Prg Par Dir Ico Idx; do printf '%s;' "$(saved_field Editor $k)"; done)" \
                'C:\windows\notepad.exe;|a b.txt| /x;C:\windows;C:\windows\system32\shell32.dll;4;'
        fi
    fi
fi
t_end

t_begin drop_then_cancel_saves_nothing
if start_and_open se2e-drag-cancel < <(example_ini); then
    : > "$RUN_DIR/x.txt"
    point=$(node_point A above)
    fp drop $point "$(win_path "$RUN_DIR")\\x.txt" >/dev/null || t_fail "drop refused"
    # Below the last node: the end of the top level.
    read -r l t r b < <(fp rect TreeView1)
    fp drop $((l + 40)) $((b - 20)) "$(win_path "$RUN_DIR")\\x.txt" >/dev/null || t_fail "drop at the end refused"
    expect_eq "tree" "$(tree_outline)" "x,A(A1,A2),B,C(C1),x"
    click_and_hide Button4 || t_fail "Cancel did not hide the window"
    cmp -s "$RUN_DIR/kestrin.ini" "$RUN_DIR/saved.ini" || t_fail "Cancel changed the ConfigFile"
fi
t_end

t_begin drag_B_onto_C_with_the_mouse
if start_and_open se2e-drag-move < <(example_ini); then
    if ! node_points B on C on; then
        t_fail "no rows for B and C"
    else
        drag_to "$fx" "$fy" 1 "$tx" $((ty + 1)) -1
        xdotool mouseup 1
        sleep 0.3
        expect_eq "tree" "$(tree_outline)" "A(A1,A2),C(C1,B)"
        expect_eq "selected" "$(tree_selected)" B
        if click_and_hide Button3; then
            expect_eq "saved outline" "$(ini_outline "$RUN_DIR/kestrin.ini")" "A(A1,A2),C(C1,B)"
            expect_eq "B's command" "$(saved_field B Prg)" run-B
        else
            t_fail "OK did not hide the window"
        fi
    fi
fi
t_end

t_begin escape_ends_the_drag_not_the_window
if start_and_open se2e-drag-escape < <(example_ini); then
    if ! node_points B on A above; then
        t_fail "no rows for B and A"
    else
        drag_to "$fx" "$fy" -1 "$tx" "$ty" 2
        # DRAG_SHOT=NAME keeps a picture of the drag in progress (the README's).
        [ -n "$DRAG_SHOT" ] && form_screenshot "$DRAG_SHOT"
        xdotool key Escape
        sleep 0.2
        xdotool mouseup 1
        sleep 0.3
        expect_eq "window still shown" "$(fp visible)" 1
        expect_eq "tree" "$(tree_outline)" "$EXAMPLE_OUTLINE"
        click_and_hide Button4 || t_fail "Cancel did not hide the window"
    fi
fi
t_end

kestrin_stop
[ "$E2E_FAILED" -eq 0 ]
