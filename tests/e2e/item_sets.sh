#!/bin/bash
# Export and import of item sets through the real save and open dialogs: the exported files
# byte for byte, the window's edits saved by an export even when it is cancelled, an import
# into a second Kestrin folder shown in its launcher menu, and the open dialog as the
# browse buttons find it afterwards.
. "$(dirname "$0")/lib_settings.sh"
se2e_init item_sets

crlf() { printf '%s\r\n' "$@"; }

# Top(Sub(Leaf)), a separator, the example's kinds at depth 0 to 2.
deep_ini() {
    printf '[Dat]\nKey=57382\nCnt=4\n'
    printf '[0]\nTit=Top\nArt=2\nIco=\nIdx=0\n'
    printf '[1]\nTit=#|Sub\nArt=2\nPrg=run-Sub\nIco=s.ico\nIdx=2\n'
    printf '[2]\nTit=#|#|Leaf\nArt=0\nPrg=leaf.exe\nPar=-x\nDir=D:\\w\nWin=1\nIco=l.ico\nIdx=3\n'
    printf '[3]\nTit=--------------------\nArt=1\nPrg=never\n'
}
# Five items on the top level.
five_ini() {
    printf '[Dat]\nKey=57382\nCnt=5\n'
    for i in 1 2 3 4 5; do printf '[%d]\nTit=Item%d\nArt=0\nPrg=run-%d\n' $((i - 1)) "$i" "$i"; done
}

# Export of the node at PATH: the window saves, shows again with the node selected, and the
# save dialog proposes its title in the program's folder; Enter takes it.
export_node() { # path
    fp select "$1" >/dev/null || { t_fail "cannot select $1"; return 1; }
    click_control Button12
    wait_dialog 15 || { t_fail "no save dialog for $1"; return 1; }
    keys Return
    wait_no_dialog 10 || { t_fail "the save dialog did not close for $1"; return 1; }
}
filter_shown() { probe controls kestrin.exe | grep -qF 'Kestrin (*.set)'; }

t_begin export_writes_the_subtree_by_kind
if start_and_open sets-a < <(example_ini); then
    if export_node A; then
        expect_eq "visible after the export" "$(fp visible)" 1
        expect_eq "selected after the export" "$(tree_selected)" A
        expect_eq "A.set" "$(cat "$RUN_DIR/A.set" 2>&1)" "$(crlf '[0]' 'Tit=A' 'Art=2' 'Ico=' 'Idx=0' \
            '[1]' 'Tit=#|A1' 'Art=0' 'Prg=run-A1' 'Par=' 'Dir=' 'Win=0' 'Ico=' 'Idx=0' \
            '[2]' 'Tit=#|A2' 'Art=0' 'Prg=run-A2' 'Par=' 'Dir=' 'Win=0' 'Ico=' 'Idx=0' '[Dat]' 'Cnt=3')"
    fi
    # Cancelling the dialog still leaves the edits saved, and the window open on the node.
    fp select B >/dev/null
    fp set Edit3 'edited-B' >/dev/null
    click_control Button12
    if wait_dialog 15; then
        dialog_shot save-dialog
        filter_shown || t_fail "the save dialog shows no 'Kestrin (*.set)' filter"
        keys Escape
        wait_no_dialog 10 || t_fail "the save dialog did not close on Esc"
        expect_eq "B saved" "$(ini_section "$RUN_DIR/kestrin.ini" 3 | grep '^Prg=')" 'Prg=edited-B'
        expect_eq "selected after a cancelled export" "$(tree_selected)" B
        [ -e "$RUN_DIR/B.set" ] && t_fail "a cancelled export wrote B.set"
    else
        t_fail "no save dialog for B"
    fi
    SET_A="$RUN_DIR/A.set"
    click_and_hide Button4 || t_fail "Cancel did not hide the window"
fi
t_end

t_begin export_deep_items_separators_and_submenus
if start_and_open sets-deep < <(deep_ini); then
    export_node Top/Sub/Leaf &&
        expect_eq "Leaf.set" "$(cat "$RUN_DIR/Leaf.set" 2>&1)" "$(crlf '[0]' 'Tit=#|#|Leaf' 'Art=0' 'Prg=leaf.exe' \
            'Par=-x' 'Dir=D:\w' 'Win=1' 'Ico=l.ico' 'Idx=3' '[Dat]' 'Cnt=1')"
    export_node -------------------- &&
        expect_eq "separator set" "$(cat "$RUN_DIR/--------------------.set" 2>&1)" \
            "$(crlf '[0]' 'Tit=--------------------' 'Art=1' '[Dat]' 'Cnt=1')"
    export_node Top/Sub &&
        expect_eq "Sub.set" "$(cat "$RUN_DIR/Sub.set" 2>&1)" "$(crlf '[0]' 'Tit=#|Sub' 'Art=2' 'Ico=s.ico' 'Idx=2' \
            '[1]' 'Tit=#|#|Leaf' 'Art=0' 'Prg=leaf.exe' 'Par=-x' 'Dir=D:\w' 'Win=1' 'Ico=l.ico' 'Idx=3' '[Dat]' 'Cnt=2')"
    SET_LEAF="$RUN_DIR/Leaf.set"
    click_and_hide Button4 || t_fail "Cancel did not hide the window"
fi
t_end

# A title no file name can hold: the export proposes it with those characters made "_".
odd_title_ini() {
    printf '[Dat]\nKey=57382\nCnt=2\n'
    printf '[0]\nTit=Tools: "A|B"?.\nArt=0\nPrg=run-T\n'
    printf '[1]\nTit=Other\nArt=0\nPrg=run-O\n'
}

t_begin export_proposes_a_valid_name_and_never_writes_the_settings
if start_and_open sets-names < <(odd_title_ini); then
    export_node 'Tools: "A|B"?.' &&
        expect_eq "exported set" "$(sed -n 2p "$RUN_DIR/Tools_ _A_B__.set" 2>&1 | tr -d '\r')" 'Tit=Tools: "A|B"?.'
    # The ConfigFile itself, typed in another letter case, is refused and stays as it was.
    fp select Other >/dev/null
    click_control Button12
    if wait_dialog 15; then
        cp "$RUN_DIR/kestrin.ini" "$RUN_DIR/before.ini"
        focus_wine_desktop
        xdotool key ctrl+a && xdotool type --delay 80 'KESTRIN.INI'
        keys Return
        expect_eq "error for the ConfigFile as the target" "$(fp wait-errorbox 10)" \
            "The settings file cannot be the target of an export: $RUN_WIN\\KESTRIN.INI."
        fp errorbox-ok >/dev/null
        cmp -s "$RUN_DIR/kestrin.ini" "$RUN_DIR/before.ini" || t_fail "the export wrote into the ConfigFile"
        expect_eq "visible after the refused export" "$(fp visible)" 1
    else
        t_fail "no save dialog for Other"
    fi
    click_and_hide Button4 || t_fail "Cancel did not hide the window"
fi
t_end

# Chooses FILE (a name in the program's folder) in the import's open dialog.
import_file() { # name
    click_control Button13
    wait_dialog 15 || { t_fail "no open dialog for the import of $1"; return 1; }
    filter_shown || t_fail "the import's dialog shows no 'Kestrin (*.set)' filter"
    keys $(printf '%s' "$1" | sed 's/./& /g; s/\./period/g')
    keys Return
    wait_no_dialog 10 || { t_fail "the open dialog did not close for $1"; return 1; }
    sleep 0.5
}

t_begin import_appends_after_a_separator_in_another_folder
if [ -z "$SET_A" ] || [ -z "$SET_LEAF" ]; then
    t_fail "the exports before did not run"
elif start_and_open sets-b < <(five_ini); then
    cp "$SET_A" "$SET_LEAF" "$RUN_DIR/"
    # An edit not yet saved survives the import: Import saves first, as OK does.
    fp select Item2 >/dev/null
    fp set Edit3 'edited-2' >/dev/null
    if import_file A.set; then
        expect_eq "edit before the import" "$(ini_section "$RUN_DIR/kestrin.ini" 1 | grep '^Prg=')" 'Prg=edited-2'
        expect_eq "visible after the import" "$(fp visible)" 1
        expect_eq "tree" "$(tree_outline)" "Item1,Item2,Item3,Item4,Item5,-------------------- Import,A(A1,A2)"
        expect_eq "selected after the import" "$(tree_selected)" Item1
        expect_eq "count" "$(ini_section "$RUN_DIR/kestrin.ini" Dat | grep '^Cnt=')" 'Cnt=9'
        expect_eq "separator" "$(ini_section "$RUN_DIR/kestrin.ini" 5 | paste -sd' ')" 'Tit=-------------------- Import Art=1'
        expect_eq "items" "$(for s in 6 7 8; do ini_section "$RUN_DIR/kestrin.ini" $s | sed -n 1p; done | paste -sd' ')" \
            'Tit=A Tit=#|A1 Tit=#|A2'
    fi
    # A set from depth 2 lands on the top level, and the file loads without an error.
    if import_file Leaf.set; then
        expect_eq "error box" "$(fp errorbox)" ""
        expect_eq "tree after the second import" "$(tree_outline)" \
            "Item1,Item2,Item3,Item4,Item5,-------------------- Import,A(A1,A2),-------------------- Import,Leaf"
    fi
    # A ConfigFile that cannot be written stays as it was: the save before the import fails,
    # the box says so, no dialog follows and the window stays open.
    cp "$RUN_DIR/kestrin.ini" "$RUN_DIR/before.ini"
    chmod a-w "$RUN_DIR/kestrin.ini"
    click_control Button13
    expect_eq "error for a read-only ConfigFile" "$(fp wait-errorbox 10)" "Unable to write to $RUN_WIN\\kestrin.ini."
    fp errorbox-ok >/dev/null
    wait_dialog 2 && { t_fail "an open dialog followed the failed save"; keys Escape; wait_no_dialog 10; }
    expect_eq "visible after the failed save" "$(fp visible)" 1
    cmp -s "$RUN_DIR/kestrin.ini" "$RUN_DIR/before.ini" || t_fail "the read-only ConfigFile changed"
    chmod u+w "$RUN_DIR/kestrin.ini"
    # The browse buttons find the open dialog without the import's filter.
    fp select Item1 >/dev/null
    click_control BitBtn1
    if wait_dialog 15; then
        filter_shown && t_fail "the Command's browse dialog still shows the import's filter"
        keys Escape
        wait_no_dialog 10 || t_fail "the browse dialog did not close on Esc"
    else
        t_fail "no browse dialog after the import"
    fi
    click_and_hide Button4 || t_fail "Cancel did not hide the window"
    click_icon
    if wait_menus 1 5; then
        read_menus
        expect_eq "launcher menu" "$(describe_menu 0 | paste -sd'|')" \
            "&Item1|I&tem2|It&em3|Ite&m4|Item&5|----|&A > [pic]|----|&Leaf"
        close_menus
    else
        t_fail "no launcher menu after the import"
    fi
fi
t_end

kestrin_stop
[ "$E2E_FAILED" -eq 0 ]
