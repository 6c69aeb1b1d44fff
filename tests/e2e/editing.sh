#!/bin/bash
# Outline editing in the settings window: the arrow buttons, Ctrl+arrow keys, New,
# Duplicate and Delete on the example tree A(A1,A2),B,C(C1); each case ends with OK and
# compares the saved ConfigFile, and a series of edits ends with Cancel.
. "$(dirname "$0")/lib_settings.sh"
se2e_init editing

# Runs one step on the open window: "click NAME", "key KEYS" or "select PATH".
run_step() { # step
    case $1 in
        click\ *) fp click "${1#click }" >/dev/null ;;
        key\ *) form_keys ${1#key } ;;
        select\ *) fp select "${1#select }" >/dev/null ;;
        *) return 2 ;;
    esac
}

# Every saved Program/Command row must still hold the command named after its title (a new
# item holds none): fields travel with their node.
rows_follow_nodes() { # file
    ini_items "$1" | awk -F'\t' '$3 == 0 {
        want = ($2 == "New Item") ? "" : "run-" $2
        if ($4 != want) { printf "%s has Prg=%s; ", $2, $4; bad = 1 } }
        END { exit bad }'
}

# name | node | steps (";" between) | tree afterwards | selected | saved kinds
CASES='up_B_enters_A|B|click BitBtn3|A(A1,B,A2),C(C1)|B|2 0 0 0 2 0
up_A1_leaves_A|A/A1|key ctrl+Up|A1,A(A2),B,C(C1)|A1|0 2 0 0 2 0
up_first_node_nothing|A|click BitBtn3|A(A1,A2),B,C(C1)|A|2 0 0 0 2 0
down_A1_leaves_A|A/A1|key ctrl+Down|A(A2),A1,B,C(C1)|A1|2 0 0 0 2 0
down_A2_passes_B|A/A2|click BitBtn4|A(A1),B,A2,C(C1)|A2|2 0 0 0 2 0
down_B_enters_C|B|click BitBtn4|A(A1,A2),C(B,C1)|B|2 0 0 2 0 0
down_A_swaps_with_B|A|key ctrl+Down|B,A(A1,A2),C(C1)|A|0 2 0 0 2 0
down_last_node_nothing|C/C1|click BitBtn4|A(A1,A2),B,C(C1)|C1|2 0 0 0 2 0
down_last_submenu_nothing|C|key ctrl+Down|A(A1,A2),B,C(C1)|C|2 0 0 0 2 0
right_B_into_A|B|click BitBtn6|A(A1,A2,B),C(C1)|B|2 0 0 0 2 0
right_first_child_nothing|A/A1|key ctrl+Right|A(A1,A2),B,C(C1)|A1|2 0 0 0 2 0
right_C_into_program_B|C|click BitBtn6|A(A1,A2),B(C(C1))|C|2 0 0 0 2 0
right_C_then_select_B|C|click BitBtn6;select B|A(A1,A2),B(C(C1))|B|2 0 0 2 2 0
left_A2_out_of_A|A/A2|key ctrl+Left|A(A1),A2,B,C(C1)|A2|2 0 0 0 2 0
left_C1_before_C|C/C1|click BitBtn7|A(A1,A2),B,C1,C|C1|2 0 0 0 0 2
left_top_level_nothing|B|key ctrl+Left|A(A1,A2),B,C(C1)|B|2 0 0 0 2 0
new_before_A2|A/A2|click Button1|A(A1,New Item,A2),B,C(C1)|New Item|2 0 0 0 0 2 0
duplicate_A|A|click Button9|A,A(A1,A2),B,C(C1)|A|0 2 0 0 0 2 0
delete_A|A|click Button2|B,C(C1)|B|0 2 0
delete_A2_selects_previous|A/A2|click Button2|A(A1),B,C(C1)|A1|2 0 0 2 0
delete_C1_selects_parent|C/C1|click Button2|A(A1,A2),B,C|C|2 0 0 0 0'

n=0
while IFS='|' read -r -u 3 name node steps outline selected kinds; do
    n=$((n + 1))
    t_begin "$name"
    if ! start_and_open "se2e-edit-$n" < <(example_ini); then
        : # start_and_open has reported why
    elif ! fp select "$node" >/dev/null; then
        t_fail "cannot select $node"
        click_and_hide Button4
    else
        IFS=';' read -ra stepList <<<"$steps"
        for step in "${stepList[@]}"; do run_step "$step" || t_fail "step '$step' failed"; done
        sleep 0.3
        expect_eq "tree" "$(tree_outline)" "$outline"
        shown=$(tree_selected)
        [ "$selected" = "*" ] && selected=$shown
        expect_eq "selected node" "$shown" "$selected"
        expect_eq "title field" "$(fp get Edit1)" "$selected"
        # A button takes the focus when clicked; the operation gives it back to the tree.
        case "$name/$steps" in *_nothing/*) ;; */click\ *) expect_eq "focus" "$(fp focus)" TreeView1 ;; esac
        case $name in
            new_*)
                expect_eq "new item's fields" "$(fp get Edit3)|$(fp get Edit2)|$(fp get Edit5)|$(fp get Edit4)|$(fp get Edit6)" "||||0"
                expect_eq "new item's kind" "$(fp combo ComboBox2 | cut -f1)" 0 ;;
            duplicate_*)
                expect_eq "copy is the first node" "$(fp tree | head -1 | cut -f2 | grep -c s)" 1
                expect_eq "copy's command" "$(fp get Edit3)" run-A
                expect_eq "copy's kind" "$(fp combo ComboBox2 | cut -f1)" 0 ;;
            left_C1_*)
                expect_eq "C's marks (collapsed, no button)" "$(tree_marks C)" "-" ;;
        esac
        if ! click_and_hide Button3; then
            t_fail "OK did not hide the window"
        else
            expect_eq "saved outline" "$(ini_outline "$RUN_DIR/kestrin.ini")" "$outline"
            expect_eq "saved kinds" "$(ini_kinds "$RUN_DIR/kestrin.ini")" "$kinds"
            why=$(rows_follow_nodes "$RUN_DIR/kestrin.ini") || t_fail "rows do not follow their nodes: $why"
        fi
    fi
    t_end
done 3<<<"$CASES"

t_begin delete_last_node_keeps_it
if start_and_open se2e-edit-only < <(printf '[Dat]\nKey=57382\nCnt=1\n[0]\nTit=Only\nArt=0\nPrg=run-Only\n'); then
    fp click Button2 >/dev/null
    expect_eq "tree" "$(tree_outline)" Only
    expect_eq "selected" "$(tree_selected)" Only
    if click_and_hide Button3; then
        expect_eq "saved outline" "$(ini_outline "$RUN_DIR/kestrin.ini")" Only
    else
        t_fail "OK did not hide the window"
    fi
fi
t_end

t_begin cancel_after_edits_restores_tree
if start_and_open se2e-edit-cancel < <(example_ini); then
    for step in "select B" "click BitBtn3" "select C/C1" "key ctrl+Left" "select A/A2" "click Button1" \
        "select C" "click Button9" "select A/A1" "key ctrl+Down" "select A" "click Button2"; do
        run_step "$step" || t_fail "step '$step' failed"
    done
    [ "$(tree_outline)" = "$EXAMPLE_OUTLINE" ] && t_fail "the edits did not change the tree"
    if ! click_and_hide Button4; then
        t_fail "Cancel did not hide the window"
    else
        cmp -s "$RUN_DIR/kestrin.ini" "$RUN_DIR/saved.ini" || t_fail "Cancel changed the ConfigFile"
        if open_settings; then
            expect_eq "tree after Cancel" "$(tree_outline)" "$EXAMPLE_OUTLINE"
            expect_eq "selected after Cancel" "$(tree_selected)" A
            fp select C/C1 >/dev/null
            expect_eq "C1's command after Cancel" "$(fp get Edit3)" run-C1
            # Nothing was saved: OK now writes the outline as it was.
            click_and_hide Button3 || t_fail "OK did not hide the window"
            expect_eq "saved outline" "$(ini_outline "$RUN_DIR/kestrin.ini")" "$EXAMPLE_OUTLINE"
            expect_eq "saved kinds" "$(ini_kinds "$RUN_DIR/kestrin.ini")" "2 0 0 0 2 0"
        else
            t_fail "the window did not open again after Cancel"
        fi
    fi
fi
t_end

kestrin_stop
[ "$E2E_FAILED" -eq 0 ]
