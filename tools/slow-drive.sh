# Sourced by the slow-drive test and benchmark: a drive that does not answer, a FUSE mirror
# (tools/slowfs.py) whose every look at a file waits while a flag file exists, mapped to a
# drive letter of the Wine prefix in WINEPREFIX.
#   slow_drive_up SOURCE DELAY FLAG LETTER LOG   mounts and maps; false when it cannot
#   slow_drive_down                              unmaps and unmounts (after Wine has ended)
SLOW_MOUNT=""
SLOW_PID=""
SLOW_LETTER=""

slow_drive_up() { # source delay flag letter log
    SLOW_MOUNT=$(mktemp -d /tmp/kestrin-slow-XXXXXX)
    SLOW_LETTER=$4
    /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/slowfs.py" "$1" "$SLOW_MOUNT" "$2" "$3" >"$5" 2>&1 &
    SLOW_PID=$!
    # The mount answers for folders at once; a file of it would wait.
    local i
    for i in $(seq 100); do
        mountpoint -q "$SLOW_MOUNT" && break
        sleep 0.2
    done
    mountpoint -q "$SLOW_MOUNT" || return 1
    ln -sfn "$SLOW_MOUNT" "$WINEPREFIX/dosdevices/$SLOW_LETTER:"
}

slow_drive_down() {
    if [ -n "$SLOW_MOUNT" ]; then
        fusermount3 -u "$SLOW_MOUNT" 2>/dev/null || fusermount3 -uz "$SLOW_MOUNT" 2>/dev/null
    fi
    if [ -n "$SLOW_PID" ]; then
        kill "$SLOW_PID" 2>/dev/null
        wait "$SLOW_PID" 2>/dev/null
    fi
    [ -n "$WINEPREFIX" ] && [ -n "$SLOW_LETTER" ] && rm -f "$WINEPREFIX/dosdevices/$SLOW_LETTER:"
    [ -n "$SLOW_MOUNT" ] && rmdir "$SLOW_MOUNT" 2>/dev/null
    SLOW_MOUNT=""
    SLOW_PID=""
    SLOW_LETTER=""
}
