#!/bin/bash
# Saves that survive what a machine can do to them, and ConfigFiles and item sets that try to
# break Kestrin: OK into a folder that refuses new files, onto a full disk and at the ANSI
# path limit; kestrin.exe killed at many moments of a large save; huge, deep and garbage
# files loaded, saved and imported. Kestrin must keep the old file or write the new one
# whole, report what failed, and stay resident and responsive.
# Needs root: it mounts a small tmpfs and makes a folder immutable (or mounts it read-only).
. "$(dirname "$0")/lib_settings.sh"
se2e_init faults

# ---- what the tests set up and take down ------------------------------------------------------

FULL_MNT="$E2E_ROOT/build/e2e/faults-full-mnt"
UNDO_IMMUTABLE=()
UNDO_MOUNTS=()

faults_cleanup() {
    local dir
    e2e_cleanup  # Wine first: nothing may hold a file on what is unmounted below
    for dir in "${UNDO_IMMUTABLE[@]}"; do chattr -i "$dir" 2>/dev/null; done
    for dir in "${UNDO_MOUNTS[@]}"; do umount "$dir" 2>/dev/null || umount -l "$dir" 2>/dev/null; done
    [ -n "$WINEPREFIX" ] && rm -f "$WINEPREFIX/dosdevices/t:"
}
trap faults_cleanup EXIT
trap 'exit 130' INT TERM

# Makes DIR refuse new files, renames and deletions even to root, as Wine sees it: the
# immutable attribute where the file system has one, else a read-only bind mount.
make_unwritable() { # dir
    if chattr +i "$1" 2>/dev/null; then
        UNDO_IMMUTABLE+=("$1")
        touch "$1/.faults-probe" 2>/dev/null || return 0
        rm -f "$1/.faults-probe"
        chattr -i "$1"
    fi
    mount --bind "$1" "$1" 2>/dev/null || return 1
    UNDO_MOUNTS+=("$1")
    mount -o remount,bind,ro "$1" 2>/dev/null && ! touch "$1/.faults-probe" 2>/dev/null
}
make_writable() { # dir
    chattr -i "$1" 2>/dev/null
    while mountpoint -q "$1"; do umount "$1" || return 1; done
    touch "$1/.faults-probe" 2>/dev/null && rm -f "$1/.faults-probe"
}

# Files in the run folder other than the programs, the ConfigFile and the copies the test
# keeps there itself, one per line.
leftovers() { # [more expected names]
    local name expected
    for name in $(ls -A "$RUN_DIR"); do
        for expected in kestrin.exe recorder.exe kestrin.ini saved.ini "$@"; do
            [ "$name" = "$expected" ] && continue 2
        done
        printf '%s\n' "$name"
    done
}

# Kestrin is still there: its process runs, its one icon shows, and the settings window
# opens within SECONDS (it is left open). WHEN goes into the failure.
still_resident() { # seconds [when]
    local deadline=$(( $(date +%s) + $1 )) when=${2:+ $2}
    kill -0 "$KESTRIN_PID" 2>/dev/null || { t_fail "kestrin.exe is gone$when"; return 1; }
    expect_eq "tray icons$when" "$(icon_count)" 1
    until open_settings; do
        [ "$(date +%s)" -ge "$deadline" ] && { t_fail "the settings window did not open within $1 s$when"; return 1; }
        sleep 1
    done
}

# OK that must fail: the error box's text, closed again.
ok_fails_with() { # expected error
    fp click Button3 >/dev/null
    expect_eq "error box after OK" "$(fp wait-errorbox 10)" "$1"
    fp errorbox-ok >/dev/null
    fp wait-visible 0 5 || t_fail "the window stayed open after the failed OK"
}
# OK that must succeed: the window hides and no error box shows.
ok_succeeds() { # seconds
    click_and_hide Button3 || { t_fail "OK did not hide the window"; return 1; }
    if box=$(fp wait-errorbox "${1:-2}"); then
        t_fail "OK showed an error box: $box"
        fp errorbox-ok >/dev/null
        return 1
    fi
}
config_changed() { ! cmp -s "$RUN_DIR/kestrin.ini" "$RUN_DIR/saved.ini"; }
# Cancel, and whatever error box its reload shows closed.
cancel_settings() {
    click_and_hide Button4
    fp wait-errorbox 1 >/dev/null && fp errorbox-ok >/dev/null
}
command_of_b() { ini_section "$RUN_DIR/kestrin.ini" 3 | grep '^Prg='; }

# ---- OK where nothing can be written ----------------------------------------------------------

t_begin ok_into_unwritable_folder
if start_and_open faults-ro < <(example_ini); then
    fp select B >/dev/null || t_fail "cannot select B"
    fp set Edit3 'edited-B' >/dev/null
    if ! make_unwritable "$RUN_DIR"; then
        t_fail "cannot make $RUN_DIR refuse new files here"
    else
        ok_fails_with "Unable to write to $RUN_WIN\\kestrin.ini."
        cmp -s "$RUN_DIR/kestrin.ini" "$RUN_DIR/saved.ini" || t_fail "the ConfigFile changed"
        expect_eq "files left beside the ConfigFile" "$(leftovers)" ""
        if still_resident 10 "after the failed OK"; then
            fp select B >/dev/null
            expect_eq "B's command kept in the window" "$(fp get Edit3)" edited-B
            make_writable "$RUN_DIR" || t_fail "cannot make $RUN_DIR writable again"
            ok_succeeds && expect_eq "B's command after the second OK" "$(command_of_b)" 'Prg=edited-B'
            expect_eq "files left after the second OK" "$(leftovers)" ""
        fi
    fi
    make_writable "$RUN_DIR"
fi
t_end

t_begin ok_onto_full_disk
kestrin_stop
mkdir -p "$FULL_MNT"
if ! mount -t tmpfs -o size=1m tmpfs "$FULL_MNT"; then
    t_fail "cannot mount a tmpfs"
else
    UNDO_MOUNTS+=("$FULL_MNT")
    ln -sfn "$FULL_MNT" "$WINEPREFIX/dosdevices/t:"
    RUN_DIR=$FULL_MNT RUN_WIN='T:'
    saved="$E2E_ROOT/build/e2e/faults-full.saved.ini"
    cp "$WIN_DIR/kestrin.exe" "$RUN_DIR/"
    example_ini | write_ini
    cp "$RUN_DIR/kestrin.ini" "$saved"
    kestrin_start
    if ! wait_icon 30; then
        t_fail "no tray icon for T:\\kestrin.exe"
    elif ! open_settings; then
        t_fail "no settings window"
    else
        fp select B >/dev/null || t_fail "cannot select B"
        fp set Edit3 'edited-B' >/dev/null
        dd if=/dev/zero of="$RUN_DIR/filler" bs=4096 2>/dev/null
        expect_eq "free space after the filler" "$(df --output=avail "$RUN_DIR" | tail -1 | tr -d ' ')" 0
        ok_fails_with 'Unable to write to T:\kestrin.ini.'
        cmp -s "$RUN_DIR/kestrin.ini" "$saved" || t_fail "the ConfigFile changed"
        expect_eq "files left on the full disk" "$(leftovers filler)" ""
        if still_resident 10 "after the failed OK"; then
            rm -f "$RUN_DIR/filler"
            ok_succeeds && expect_eq "B's command after space was freed" "$(command_of_b)" 'Prg=edited-B'
            expect_eq "files left after the second OK" "$(leftovers)" ""
        fi
    fi
    # Nothing may run from the tmpfs when it is unmounted.
    kestrin_stop
    reset_prefix
    rm -f "$WINEPREFIX/dosdevices/t:"
    umount "$FULL_MNT" || t_fail "cannot unmount $FULL_MNT"
fi
t_end

# ---- the path limit ---------------------------------------------------------------------------

# The ANSI functions take paths of at most MAX_PATH - 1 = 259 characters. The run folder's
# name is padded so that the ConfigFile's path is exactly that long.
t_begin ok_at_the_path_limit
long_name=faults-long-
base="$(win_path "$E2E_ROOT/build/e2e")\\$long_name\\kestrin.ini"
long_name="$long_name$(printf '%*s' $(( 259 - ${#base} )) '' | tr ' ' L)"
if start_and_open "$long_name" < <(example_ini); then
    config="$RUN_WIN\\kestrin.ini"
    expect_eq "length of the ConfigFile's path" "${#config}" 259
    fp select B >/dev/null || t_fail "cannot select B"
    fp set Edit3 'edited-B' >/dev/null
    ok_succeeds && expect_eq "B's command" "$(command_of_b)" 'Prg=edited-B'
    expect_eq "files left beside the ConfigFile" "$(leftovers)" ""
    # A second save replaces the file the first one wrote.
    if open_settings; then
        fp select B >/dev/null
        fp set Edit3 'edited-B-again' >/dev/null
        ok_succeeds && expect_eq "B's command after the second OK" "$(command_of_b)" 'Prg=edited-B-again'
        expect_eq "files left after the second OK" "$(leftovers)" ""
    else
        t_fail "no settings window for the second OK"
    fi
fi
t_end

# ---- killed while saving ----------------------------------------------------------------------

# About 6 MB: many items with long fields, CR LF lines.
large_ini() {
    awk 'BEGIN { s = "f"; while (length(s) < 640) s = s s; s = substr(s, 1, 640)
        printf "[Dat]\r\nKey=57382\r\nCnt=3000\r\n"
        for (i = 0; i < 3000; i++)
            printf "[%d]\r\nTit=Item %d\r\nArt=0\r\nPrg=run-%d-%s\r\nPar=-p %s\r\nDir=C:\\d\\%s\r\nWin=0\r\nIco=\r\nIdx=0\r\n", i, i, i, s, s, s }'
}
# Files beside the ConfigFile that are not Kestrin's: no save may touch them. "ke~deadbeef"
# looks like a temporary of kestrin.ini's saves.
BYSTANDERS="kestrin.ini.bak ~kestrin.ini kestrin.~ini kestrin.set kes~tmp ke~deadbeef"

# Starts Kestrin on the large file, opens the window, edits the first item's command and
# holds the mouse button down on OK: OK acts when the button is let go.
large_edit() {
    kestrin_start
    wait_icon 30 || { t_fail "no tray icon"; return 1; }
    open_settings || { t_fail "no settings window"; return 1; }
    fp set Edit3 'run-killed.exe' >/dev/null
    hover_rect "$(fp rect Button3)"
    xdotool mousedown 1
}
killed_gone() { ! kill -0 "$KESTRIN_PID" 2>/dev/null; }

# The clock in microseconds, and waits that start no process: a save takes milliseconds.
now_us() { NOW_US=${EPOCHREALTIME/./}; }
spin_until() { # microseconds
    while now_us; [ "$NOW_US" -lt "$1" ]; do :; done
}
# Until the save begins to write, at most 5 s: the run folder holds more than COUNT files, or
# the ConfigFile was modified after MARKER.
spin_write_start() { # count marker
    local files end
    now_us
    end=$((NOW_US + 5000000))
    while files=("$RUN_DIR"/*); [ "${#files[@]}" -le "$1" ] && ! [ "$RUN_DIR/kestrin.ini" -nt "$2" ]; do
        now_us
        [ "$NOW_US" -gt "$end" ] && return 1
    done
}
file_count() { local files=("$RUN_DIR"/*); printf '%s\n' "${#files[@]}"; }
stamp_us() { stat -c "%.6$1" "$2" | tr -d .; } # W (birth) or Z (change), file

t_begin killed_saves_leave_old_or_new
kestrin_stop
new_run_dir faults-kill
large_ini > "$RUN_DIR/kestrin.ini"
cp "$RUN_DIR/kestrin.ini" "$RUN_DIR/saved.ini"
for name in $BYSTANDERS; do printf 'not Kestrin'"'"'s %s\r\n' "$name" > "$RUN_DIR/$name"; done
# The new content: what an undisturbed save of the same edit writes. The replaced file's
# timestamps say how long after the button was let go the save put its new file in place, and
# how long it wrote (its birth is the new file's creation).
if large_edit; then
    now_us
    start=$NOW_US
    xdotool mouseup 1
    # The window opens again once OK's save and reload are through.
    fp wait-visible 0 10 && open_settings || t_fail "OK did not finish"
    cp "$RUN_DIR/kestrin.ini" "$RUN_DIR/new.ini"
    cmp -s "$RUN_DIR/new.ini" "$RUN_DIR/saved.ini" && t_fail "OK did not change the large ConfigFile"
    renamed=$(stamp_us Z "$RUN_DIR/kestrin.ini")
    created=$(stamp_us W "$RUN_DIR/kestrin.ini")
    save_us=$((renamed - start))
    # Without birth times, a fifth of the save is taken for the writing.
    write_us=$(( created > start ? renamed - created : save_us / 5 ))
    [ "$save_us" -gt 0 ] && [ "$save_us" -lt 10000000 ] || t_fail "implausible save time: $save_us us"
fi
kestrin_stop
before=0 during=0 after=0 left=0
if t_ok; then
    # Even rounds kill from the moment the button is let go, through the whole save; odd rounds
    # from the moment the save begins to write, through its writing and a little beyond.
    for ((k = 0; k < 20; k++)); do
        cp "$RUN_DIR/saved.ini" "$RUN_DIR/kestrin.ini"
        large_edit || break
        pid=$(kestrin_unix_pid) || { t_fail "no Unix process for kestrin.exe"; break; }
        files=$(file_count)
        touch "$RUN_DIR.marker"
        earlier=$(leftovers new.ini $BYSTANDERS)
        xdotool mouseup 1 &
        now_us
        if ((k % 2 == 0)); then
            delay=$((k / 2 * save_us / 9))
        else
            spin_write_start "$files" "$RUN_DIR.marker"
            delay=$((k / 2 * write_us * 12 / 90))
        fi
        spin_until $((NOW_US + delay))
        kill -KILL "$pid"
        wait $!
        wait_for 10 killed_gone || { t_fail "kestrin.exe survived SIGKILL"; break; }
        wait "$KESTRIN_PID"
        KESTRIN_PID="" ICON_X=""
        probe wait-no-tray "$TIP" 10 >/dev/null
        # The system takes away the temporary of a save killed while writing; only a kill between
        # the end of the writing and the replace leaves it, whole (earlier rounds' may be there).
        temps=$(leftovers new.ini $BYSTANDERS | grep -vxF "${earlier:-/}")
        for temp in $temps; do
            left=$((left + 1))
            cmp -s "$RUN_DIR/$temp" "$RUN_DIR/new.ini" || t_fail "round $k left an unfinished temporary $temp"
        done
        if cmp -s "$RUN_DIR/kestrin.ini" "$RUN_DIR/new.ini"; then
            after=$((after + 1))
        elif ! cmp -s "$RUN_DIR/kestrin.ini" "$RUN_DIR/saved.ini"; then
            cp "$RUN_DIR/kestrin.ini" "$RUN_DIR/../faults-kill-$k.ini" 2>/dev/null
            t_fail "round $k: the ConfigFile is neither old nor new ($(stat -c %s "$RUN_DIR/kestrin.ini" 2>&1) bytes)"
        elif [ -n "$temps" ] || [ "$RUN_DIR" -nt "$RUN_DIR.marker" ]; then
            # A temporary came (and went): the folder changed after the button was let go.
            during=$((during + 1))
        else
            before=$((before + 1))
        fi
    done 2>/dev/null  # the shell's notices of killed jobs
    echo "# killed saves: $before before writing, $during while writing, $after after the rename" \
        "(save $((save_us / 1000)) ms, writing $((write_us / 1000)) ms); temporaries left: $left"
    [ $((before + during + after)) -eq 20 ] || t_fail "only $((before + during + after)) of 20 kills ran"
    [ "$during" -gt 0 ] || t_fail "no kill landed while the new file was written"
    [ "$left" -lt "$during" ] || t_fail "the system took away no killed save's temporary ($left left)"
    # The next save completes, leaves nothing of its own and deletes nothing: what killed saves
    # left stays, as the look-alike and the other bystanders do.
    earlier=$(leftovers new.ini $BYSTANDERS)
    cp "$RUN_DIR/saved.ini" "$RUN_DIR/kestrin.ini"
    if large_edit; then
        xdotool mouseup 1
        fp wait-visible 0 10 && open_settings || t_fail "OK did not finish"
        cmp -s "$RUN_DIR/kestrin.ini" "$RUN_DIR/new.ini" || t_fail "the save after the kills wrote other content"
        expect_eq "files left after the next save" "$(leftovers new.ini $BYSTANDERS)" "$earlier"
        for name in $BYSTANDERS; do
            expect_eq "$name" "$(tr -d '\r' < "$RUN_DIR/$name" 2>&1)" "not Kestrin's $name"
        done
    fi
fi
t_end

# ---- hostile ConfigFiles ----------------------------------------------------------------------

# A fresh run folder whose ConfigFile is what the command prints (written as it is, CR LF
# and bytes untouched), Kestrin started in it.
start_with_file() { # name command...
    kestrin_stop
    new_run_dir "$1"
    "${@:2}" > "$RUN_DIR/kestrin.ini"
    cp "$RUN_DIR/kestrin.ini" "$RUN_DIR/saved.ini"
    kestrin_start
    wait_icon 30 || { t_fail "no tray icon"; return 1; }
}

# The error box Kestrin shows at its start (none: empty), closed again.
start_error() {
    local text
    text=$(fp wait-errorbox 3) || return 0
    fp errorbox-ok >/dev/null
    printf '%s\n' "$text"
}

# The launcher menu opens from the icon within SECONDS, with COUNT entries on its top level.
launcher_responds() { # seconds count
    click_icon
    if ! wait_menus 1 "$1"; then
        t_fail "no launcher menu within $1 s"
        return 1
    fi
    read_menus
    expect_eq "launcher menu entries" "$(describe_menu 0 | wc -l)" "$2"
    close_menus
}

# Numbers on stdin as runs of consecutive ones: "0 1 2 2 0" -> "0..2 2 0".
level_runs() {
    awk 'function run() { return first == last ? first : first ".." last }
        NR > 1 && $1 != last + 1 { printf "%s ", run(); first = $1 }
        NR == 1 { first = $1 } { last = $1 } END { if (NR) print run() }'
}
# Stored value lengths of KEY in every item section, space-separated.
value_lengths() { # file key
    tr -d '\r' < "$1" | awk -v k="$2=" 'index($0, k) == 1 { printf "%s%d", sep, length($0) - length(k); sep = " " }
        END { print "" }'
}

huge_title_ini() { # megabytes
    awk -v mb="$1" 'BEGIN { s = "x"; while (length(s) < 1048576) s = s s; s = substr(s, 1, 1048576)
        printf "[Dat]\r\nKey=57382\r\nCnt=2\r\n[0]\r\nTit=Huge "
        for (i = 0; i < mb; i++) printf "%s", s
        printf "\r\nArt=0\r\nPrg=huge.exe\r\n[1]\r\nTit=Small\r\nArt=0\r\nPrg=small.exe\r\n" }'
}
many_items_ini() { # items field-length
    awk -v n="$1" -v len="$2" 'BEGIN { s = "y"; while (length(s) < len) s = s s; s = substr(s, 1, len)
        printf "[Dat]\r\nKey=57382\r\nCnt=%d\r\n", n
        for (i = 0; i < n; i++) printf "[%d]\r\nTit=Item %d\r\nArt=0\r\nPrg=%s\r\nPar=%s\r\n", i, i, s, s }'
}
long_fields_ini() { # items, each with 1 MB title, command and parameters
    awk -v n="$1" 'BEGIN { s = "z"; while (length(s) < 1048576) s = s s; s = substr(s, 1, 1048576)
        printf "[Dat]\r\nKey=57382\r\nCnt=%d\r\n", n
        for (i = 0; i < n; i++) printf "[%d]\r\nTit=T%d %s\r\nArt=0\r\nPrg=%s\r\nPar=%s\r\n", i, i, s, s, s }'
}
# Each item one level deeper than the one before, as deep as a stored title can say (a value
# reads as at most 2047 characters: 1023 times "#|" and one more), then a top-level "Top" and
# an item claiming 100,000 levels.
deep_ini() {
    awk 'BEGIN { printf "[Dat]\r\nKey=57382\r\nCnt=1026\r\n"; p = ""
        for (i = 0; i < 1024; i++) { printf "[%d]\r\nTit=%sx\r\nArt=%d\r\n", i, p, (i < 1023 ? 2 : 0); p = p "#|" }
        q = ""; for (i = 0; i < 100000; i++) q = q "#|"
        printf "[1024]\r\nTit=Top\r\nArt=2\r\n[1025]\r\nTit=%sDeep\r\nArt=0\r\nPrg=deep.exe\r\n", q }'
}
garbage() { # bytes seed
    awk -v n="$1" -v seed="$2" 'BEGIN { srand(seed); for (i = 0; i < n; i++) printf "%c", int(rand() * 256) }'
}
max_count_ini() { printf '[Dat]\r\nKey=57382\r\nCnt=2147483647\r\n[0]\r\nTit=A\r\nArt=0\r\nPrg=a.exe\r\n'; }

# Files whose count cannot be read: the error at the start and again at OK, nothing written.
for case in "count_2147483647 max_count_ini" "binary_garbage garbage 1048576 7"; do
    t_begin "hostile_${case%% *}"
    if start_with_file "faults-${case%% *}" ${case#* }; then
        expect_eq "error at the start" "$(start_error)" "Range check error."
        if still_resident 10 "after the start"; then
            expect_eq "tree" "$(tree_outline)" ""
            ok_fails_with "Range check error."
            cmp -s "$RUN_DIR/kestrin.ini" "$RUN_DIR/saved.ini" || t_fail "the ConfigFile changed"
            expect_eq "files left beside the ConfigFile" "$(leftovers)" ""
            still_resident 10 "after OK" && cancel_settings
        fi
    fi
    t_end
done

t_begin hostile_50mb_title
if start_with_file faults-huge-title huge_title_ini 50; then
    expect_eq "error at the start" "$(start_error)" ""
    if still_resident 30 "after the start"; then
        expect_eq "tree" "$(tree_outline | cut -c1-12)" "Huge xxxxxxx"
        expect_eq "title field's length" "$(fp get Edit1 | wc -L)" 2047
        ok_succeeds 5
        expect_eq "stored title lengths" "$(value_lengths "$RUN_DIR/kestrin.ini" Tit)" "2047 5"
        still_resident 30 "after OK" && cancel_settings
        launcher_responds 30 2
    fi
fi
t_end

t_begin hostile_50mb_of_100000_items
if start_with_file faults-many many_items_ini 100000 250; then
    expect_eq "error at the start" "$(start_error)" ""
    if still_resident 30 "after the start"; then
        expect_eq "first item" "$(fp get Edit1)|$(fp get Edit3 | wc -L)" "Item 0|250"
        fp set Edit1 'Item zero' >/dev/null
        hover_rect "$(fp rect Button3)"
        xdotool click 1
        fp wait-visible 0 10 || t_fail "OK did not hide the window"
        wait_for 30 config_changed || t_fail "OK wrote nothing within 30 s"
        expect_eq "stored count and first title" \
            "$(tr -d '\r' < "$RUN_DIR/kestrin.ini" | grep -m2 -E '^(Cnt|Tit)=' | paste -sd' ')" 'Cnt=100000 Tit=Item zero'
        # OK reloads the file into the window: Kestrin must answer again within a bound.
        still_resident 30 "after OK reloaded the items" && cancel_settings
    fi
fi
reset_prefix  # whatever is still busy goes
t_end

t_begin hostile_1mb_titles_and_commands
if start_with_file faults-long-fields long_fields_ini 3; then
    expect_eq "error at the start" "$(start_error)" ""
    if still_resident 30 "after the start"; then
        expect_eq "title, command and parameters field lengths" \
            "$(for f in Edit1 Edit3 Edit2; do fp get "$f" | wc -L; done | paste -sd' ')" "2047 2047 2047"
        ok_succeeds 5
        expect_eq "stored title lengths" "$(value_lengths "$RUN_DIR/kestrin.ini" Tit)" "2047 2047 2047"
        expect_eq "stored command lengths" "$(value_lengths "$RUN_DIR/kestrin.ini" Prg)" "2047 2047 2047"
        launcher_responds 30 3
    fi
fi
t_end

t_begin hostile_deep_outline
if start_with_file faults-deep deep_ini; then
    expect_eq "error at the start" "$(start_error)" 'Invalid level (1023) for item "#"'
    if still_resident 30 "after the start"; then
        # The claimed item goes under the last line one level up from where the cut title puts it.
        expect_eq "depths in the tree (first, deepest, the claimed item, Top)" \
            "$(fp tree | awk -F'\t' 'NR == 1 || NR == 1024 || NR >= 1025 { printf "%s%s:%s", sep, $1, $3; sep = " " }')" \
            "0:x 1023:x 1023:# 0:Top"
        ok_succeeds 5
        expect_eq "stored levels" "$(ini_items "$RUN_DIR/kestrin.ini" | cut -f1 | level_runs)" "0..1023 1023 0"
        still_resident 30 "after OK" && cancel_settings
        launcher_responds 30 2
    fi
fi
t_end

# ---- hostile item sets ------------------------------------------------------------------------

# Chooses NAME (in the program's folder) in the import's open dialog.
import_file() { # name
    click_control Button13
    wait_dialog 15 || { t_fail "no open dialog for the import of $1"; return 1; }
    keys $(printf '%s' "$1" | sed 's/./& /g; s/\./period/g')
    keys Return
    wait_no_dialog 10 || { t_fail "the open dialog did not close for $1"; return 1; }
}

t_begin hostile_item_sets_import_nothing
if start_and_open faults-sets < <(example_ini); then
    printf '[0]\r\nTit=Bad\r\nArt=0\r\nPrg=bad.exe\r\n[Dat]\r\nCnt=2000000000\r\n' > "$RUN_DIR/big.set"
    garbage 262144 11 > "$RUN_DIR/junk.set"
    printf '[0]\r\nTit=Good\r\nArt=0\r\nPrg=good.exe\r\n[Dat]\r\nCnt=1\r\n' > "$RUN_DIR/good.set"
    for set in big.set junk.set; do
        import_file "$set" || continue
        if box=$(fp wait-errorbox 2); then
            t_fail "importing $set showed an error box: $box"
            fp errorbox-ok >/dev/null
        fi
        fp wait-visible 1 10 || t_fail "the window did not come back after importing $set"
        expect_eq "tree after importing $set" "$(tree_outline)" "$EXAMPLE_OUTLINE"
        # The import saved the window first; nothing was added to what it saved.
        expect_eq "saved after importing $set" "$(ini_outline "$RUN_DIR/kestrin.ini")" "$EXAMPLE_OUTLINE"
    done
    # The same way in, a good set is imported: the bad ones were read and refused.
    if import_file good.set; then
        fp wait-visible 1 10
        expect_eq "tree after importing good.set" "$(tree_outline)" "$EXAMPLE_OUTLINE,-------------------- Import,Good"
    fi
    expect_eq "files left beside the ConfigFile" "$(leftovers big.set junk.set good.set)" ""
    cancel_settings
    still_resident 10 "after the imports" && cancel_settings
fi
t_end

kestrin_stop
[ "$E2E_FAILED" -eq 0 ]
