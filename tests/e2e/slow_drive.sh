#!/bin/bash
# Icon files on a drive that does not answer (a FUSE mirror whose every look at a file waits,
# mapped to S:): the launcher menu shows with every caption while the looks are pending, an
# entry on another drive launches, its icon shows, the program keeps answering, and the slow
# drive's icons arrive once the drive answers again; a look still waiting does not keep the
# program from ending.
. "$(dirname "$0")/lib.sh"
e2e_init slow_drive

# Each look at a file on S: waits this long while the flag exists; Wine looks several times
# per call, so one attribute read takes about five times as long, and reading an icon far
# longer. Three slow files: a program that waited for them would not show its menu for
# well over the 20 s allowed below.
DELAY=2
. "$E2E_ROOT/tools/slow-drive.sh"
# Wine first (it may hold files of the drive open), then the drive.
trap 'e2e_cleanup; slow_drive_down' EXIT

recorder_started() { tr -d '\r' < "$RUN_DIR/recorder.log" 2>/dev/null | grep -q '^\[run\]'; }

open_menu() {
    click_icon
    wait_menus 1 "${1:-5}" || return 1
    read_menus
    set -- $(printf '%s\n' "$MENUS" | awk -F'\t' '$1 == "menu" { print $4, $5; exit }')
    xdotool mousemove $(( $1 + 1 )) $(( $2 + 1 ))
}

# True when the picture place of the item CAPTION of menu 0 (the first 40 pixels of its
# middle row) shows COLOUR (#RRGGBB) on screen.
picture_shows() { # caption colour
    local rect shot="$RUN_DIR/shot.png"
    rect=$(item_rect 0 "$1")
    [ -z "$rect" ] && return 1
    set -- $rect "$2"
    import -window root "$shot" 2>/dev/null || return 1
    convert "$shot" -crop "40x1+$1+$(( ($2 + $4) / 2 ))" +repage txt:- 2>/dev/null | grep -qF " $5"
}

# Opens the menu until the picture of CAPTION shows COLOUR, for at most SECONDS.
picture_arrives() { # caption colour seconds
    local deadline=$(( SECONDS + $3 ))
    while :; do
        open_menu 10 || return 1
        # Wait for the drawing that follows an arrival, as a user would see it.
        sleep 0.5
        picture_shows "$1" "$2" && return 0
        [ "$SECONDS" -ge "$deadline" ] && return 1
        close_menus
        xdotool mousemove 4 4 click 1
        sleep 1
    done
}

t_begin slow_drive_holds_nothing_up
new_run_dir slow-drive
mkdir -p "$RUN_DIR/slow"
for name in a b c; do convert -size 16x16 xc:red -colors 16 "$RUN_DIR/slow/$name.ico"; done
convert -size 16x16 xc:lime -colors 16 "$RUN_DIR/fast.ico"
touch "$RUN_DIR/slow.flag"
if ! slow_drive_up "$RUN_DIR/slow" "$DELAY" "$RUN_DIR/slow.flag" s "$RUN_DIR/slowfs.log"; then
    t_fail "the slow drive did not mount: $(tr '\n' ' ' < "$RUN_DIR/slowfs.log")"
else
    write_ini <<EOF2
[Dat]
Key=57382
Cnt=5
[0]
Tit=Fast
Art=0
Prg=$RUN_WIN\\recorder.exe
Par=fast
Ico=$RUN_WIN\\fast.ico
Idx=0
[1]
Tit=Slow A
Art=0
Prg=x.exe
Ico=S:\\a.ico
Idx=0
[2]
Tit=Slow B
Art=0
Prg=x.exe
Ico=S:\\b.ico
Idx=0
[3]
Tit=Slow C
Art=0
Prg=x.exe
Ico=S:\\c.ico
Idx=0
[4]
Tit=Plain
Art=0
Prg=y.exe
EOF2
    kestrin_start
    if ! wait_icon 30; then
        t_fail "no tray icon"
    elif ! open_menu 20; then
        t_fail "no menu while the slow drive is looked at"
    else
        # Every caption and access key, whatever has been read; the slow drive's files, not
        # counted yet, keep their picture places.
        expect_eq "captions" "$(describe_menu 0 | sed 's/ \[pic\]$//')" $'&Fast\n&Slow A\nS&low B\nSl&ow C\n&Plain'
        expect_eq "slow entries' places" "$(describe_menu 0 | grep -c ' [ABC] \[pic\]$')" 3
        close_menus
        xdotool mousemove 4 4 click 1
        # The fast drive's icon is not held up behind the slow files.
        picture_arrives '&Fast' '#00FF00' 30 || t_fail "the fast drive's icon did not arrive"
        rect=$(item_rect 0 '&Fast')
        if [ -z "$rect" ]; then
            t_fail "no entry '&Fast'"
            close_menus
        else
            click_rect "$rect"
            wait_for 20 recorder_started || t_fail "the fast entry did not start"
        fi
        # Still answering: the menu opens again while the slow looks go on.
        xdotool mousemove 4 4 click 1
        open_menu 20 || t_fail "no second menu while the slow drive is looked at"
        close_menus
        xdotool mousemove 4 4 click 1
        # The drive wakes up while the menu is open: its icons arrive in the open menu.
        if ! open_menu 20; then
            t_fail "no menu before the slow drive answers"
        else
            picture_shows 'Sl&ow C' '#FF0000' && t_fail "an icon of the slow drive showed while it did not answer"
            rm -f "$RUN_DIR/slow.flag"
            wait_for 90 picture_shows 'Sl&ow C' '#FF0000' || t_fail "the slow drive's icons did not arrive"
            wait_for 10 picture_shows '&Slow A' '#FF0000' && wait_for 10 picture_shows 'S&low B' '#FF0000' ||
                t_fail "not every icon of the slow drive arrived"
            close_menus
            xdotool mousemove 4 4 click 1
        fi
        # Asked to end while a worker waits for the drive again: the program still ends at once.
        touch "$RUN_DIR/slow.flag"
        if open_menu 20; then
            close_menus
            xdotool mousemove 4 4 click 1
            $WINE taskkill /im kestrin.exe >/dev/null 2>&1
            if kestrin_wait_exit 15; then
                expect_eq "exit code" "$KESTRIN_EXIT" 0
            else
                t_fail "Kestrin did not end while the slow drive was looked at"
            fi
        else
            t_fail "no menu to start the looks before ending"
        fi
    fi
fi
reset_prefix
slow_drive_down
t_end

[ "$E2E_FAILED" -eq 0 ]
