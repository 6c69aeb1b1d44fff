#!/bin/bash
# Where the settings file lives: beside the program even in a folder with a dot in its name,
# an older set-up's file kept, another program's file left alone; and the launcher menu's
# pictures for bare names that the search path finds.
. "$(dirname "$0")/lib.sh"
e2e_init settings_file

# A run folder "Portable.Apps" inside build/e2e/NAME: the old rule put its settings file at
# build/e2e/NAME/Portable.ini (OLD_INI).
dotted_run_dir() { # name
    new_run_dir "$1"
    mkdir -p "$RUN_DIR/Portable.Apps"
    mv "$RUN_DIR/kestrin.exe" "$RUN_DIR/recorder.exe" "$RUN_DIR/Portable.Apps/"
    OLD_INI=$RUN_DIR/Portable.ini
    RUN_DIR=$RUN_DIR/Portable.Apps
    RUN_WIN=$(win_path "$RUN_DIR")
}
crlf() { sed 's/$/\r/'; }
open_top() { click_icon; wait_menus 1 5 && read_menus; }

launcher_menu() { # prints the top level as describe_menu does
    click_icon
    wait_menus 1 5 || return 1
    read_menus
    describe_menu 0
    close_menus
}

t_begin dotted_folder_keeps_the_file_beside_the_program
dotted_run_dir dotted-new
printf '[Settings]\nCnt=4\nColour=blue\n' | crlf > "$OLD_INI"
cp "$OLD_INI" "$OLD_INI.before"
kestrin_start
if ! wait_icon 30; then
    t_fail "no tray icon"
else
    [ -f "$RUN_DIR/kestrin.ini" ] || t_fail "no kestrin.ini beside the program"
    cmp -s "$OLD_INI" "$OLD_INI.before" || t_fail "another program's Portable.ini was changed"
    expect_eq "menu" "$(launcher_menu)" "&New Item"
fi
reset_prefix
t_end

t_begin older_setup_keeps_its_file
dotted_run_dir dotted-old
printf '[Dat]\nKey=57382\nCnt=1\n[0]\nTit=Old Entry\nArt=0\nPrg=\nPar=\nDir=\nWin=0\nIco=\nIdx=0\n' | crlf > "$OLD_INI"
kestrin_start
if ! wait_icon 30; then
    t_fail "no tray icon"
else
    expect_eq "menu" "$(launcher_menu)" "&Old Entry"
    [ -e "$RUN_DIR/kestrin.ini" ] && t_fail "a new kestrin.ini was written beside the older set-up's"
fi
reset_prefix
t_end

t_begin pictures_for_names_on_the_search_path
dotted_run_dir search-path
crlf > "$RUN_DIR/kestrin.ini" <<'INI'
[Dat]
Key=57382
Cnt=3
[0]
Tit=Notepad
Art=0
Prg=notepad.exe
Par=
Dir=
Win=0
Ico=
Idx=0
[1]
Tit=Shell
Art=2
Ico=shell32.dll
Idx=3
[2]
Tit=Nowhere
Art=0
Prg=no-such-program.exe
Par=
Dir=
Win=0
Ico=
Idx=0
INI
kestrin_start
if ! wait_icon 30; then
    t_fail "no tray icon"
else
    want=$'&Notepad [pic]\n&Shell [pic]\nN&owhere'
    if menu_settles open_top 0 "$want" 20; then
        expect_eq "menu" "$(describe_menu 0)" "$want"
        close_menus
    else
        t_fail "no launcher menu"
    fi
fi
reset_prefix
t_end

[ "$E2E_FAILED" -eq 0 ]
