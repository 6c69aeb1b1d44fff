#!/bin/bash
# The launcher menu shown again: an icon file that vanishes or comes back shows soon after
# (a look in the background) although the menu is otherwise reused, and an entry past the
# 65,535th launches.
. "$(dirname "$0")/lib_settings.sh"
se2e_init menu_reuse

recorder_log() { tr -d '\r' < "$RUN_DIR/recorder.log" 2>/dev/null | grep -c '^\[run\]'; }

# Opens the launcher menu from the icon and reads it; the pointer rests on its corner.
open_menu() { # [seconds]
    click_icon
    wait_menus 1 "${1:-5}" || return 1
    read_menus
    set -- $(printf '%s\n' "$MENUS" | awk -F'\t' '$1 == "menu" { print $4, $5; exit }')
    xdotool mousemove $(( $1 + 1 )) $(( $2 + 1 ))
}

t_begin icon_file_changes_show_at_the_next_showing
new_run_dir menu-reuse
convert -size 16x16 xc:red -colors 16 "$RUN_DIR/pic.ico"
write_ini <<EOF2
[Dat]
Key=57382
Cnt=2
[0]
Tit=Pictured
Art=0
Prg=x.exe
Ico=$RUN_WIN\\pic.ico
Idx=0
[1]
Tit=Plain
Art=0
Prg=y.exe
EOF2
kestrin_start
if ! wait_icon 30; then
    t_fail "no tray icon"
else
    for step in shown again gone back; do
        case $step in
            gone) mv "$RUN_DIR/pic.ico" "$RUN_DIR/pic.ico.away" ;;
            back) mv "$RUN_DIR/pic.ico.away" "$RUN_DIR/pic.ico" ;;
        esac
        want=$'&Pictured [pic]\nP&lain'
        [ "$step" = gone ] && want=$'&Pictured\nP&lain'
        if ! menu_settles open_menu 0 "$want" 20; then
            t_fail "no menu ($step)"
            break
        fi
        expect_eq "menu ($step)" "$(describe_menu 0)" "$want"
        close_menus
        # A click right after a menu closed can be lost under Wine; the desktop takes it.
        xdotool mousemove 4 4 click 1
        sleep 0.3
    done
fi
t_end

t_begin entry_past_65535_launches
kestrin_stop
new_run_dir menu-far
RUN="$RUN_WIN" awk 'BEGIN {
    run = ENVIRON["RUN"]  # as it is: -v would read its backslashes as escapes
    n = 70000
    # Held by a separator line, the bulk is never built into the menu, but it takes the
    # entry numbers up to 70,000.
    printf "[Dat]\r\nKey=57382\r\nCnt=%d\r\n[0]\r\nTit=Bulk\r\nArt=1\r\n", n + 2
    for (i = 1; i <= n; i++) printf "[%d]\r\nTit=#|Item %d\r\nArt=0\r\n", i, i
    printf "[%d]\r\nTit=&Target\r\nArt=0\r\nPrg=%s\\recorder.exe\r\nPar=far\r\n", n + 1, run
}' > "$RUN_DIR/kestrin.ini"
kestrin_start
if ! wait_icon 60; then
    t_fail "no tray icon"
elif ! menu_settles "open_menu 60" 0 '&Target' 60; then
    t_fail "no menu"
else
    expect_eq "top level" "$(describe_menu 0)" '&Target'
    rect=$(item_rect 0 '&Target')
    if [ -z "$rect" ]; then
        t_fail "no entry '&Target'"
        close_menus
    else
        click_rect "$rect"
        for ((i = 0; i < 50; i++)); do [ "$(recorder_log)" = 1 ] && break; sleep 0.2; done
        expect_eq "runs of the entry 70,001" "$(recorder_log)" 1
        expect_eq "its parameters" "$(tr -d '\r' < "$RUN_DIR/recorder.log" 2>/dev/null | sed -n 's/^cmdline=.*recorder\.exe"* *//p')" far
    fi
fi
t_end

kestrin_stop
[ "$E2E_FAILED" -eq 0 ]
