# Sourced by the run, test and bench scripts: a private Wine prefix on a virtual X display
# with one shell desktop (taskbar and notification area) that every process shares.
#   wine_up NAME   prefix build/wine-NAME, display, desktop; exports WINEPREFIX, DISPLAY
#   wine_down      ends every process of the prefix and the display it started
# WINE_SCREEN (default 1024x768) sizes the display and the desktop.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE=${WINE:-wine}
XVFB_PID=""

wait_for() { # seconds command...
    local deadline=$(( $(date +%s) + $1 )); shift
    while ! "$@" >/dev/null 2>&1; do
        [ "$(date +%s)" -ge "$deadline" ] && return 1
        sleep 0.2
    done
}

# A prefix is usable once its registry holds the shell-desktop values and its system
# folder exists; wineboot can return before either when Wine is missing or broken.
prefix_complete() {
    [ -d "$WINEPREFIX/drive_c/windows/system32" ] &&
        grep -q '"Desktop"="shell"' "$WINEPREFIX/user.reg" 2>/dev/null
}

desktop_ready() { xwininfo -root -tree 2>/dev/null | grep -q 'Wine desktop'; }

wine_up() {
    local name=$1 screen=${WINE_SCREEN:-1024x768}
    export WINEPREFIX="$ROOT/build/wine-$name"
    if [ -z "$KESTRIN_KEEP_DISPLAY" ] || [ -z "$DISPLAY" ]; then
        local n=$(( 90 + $(printf '%s' "$name" | cksum | cut -d' ' -f1) % 400 ))
        while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
        Xvfb ":$n" -screen 0 "${screen}x24" -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        export DISPLAY=":$n"
        wait_for 10 xdpyinfo || { echo "Xvfb did not start" >&2; return 1; }
    fi
    if [ ! -f "$WINEPREFIX/.kestrin-ready" ]; then
        # Whatever a failed or interrupted set-up left behind is made again from nothing.
        rm -rf "$WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        # wineboot's own exit code is not trusted either way; the prefix's contents decide.
        $WINE wineboot -i >/dev/null 2>&1
        if ! wineserver -w ||
            ! $WINE reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1 ||
            ! $WINE reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d "$screen" /f >/dev/null 2>&1 ||
            ! wineserver -w || ! prefix_complete; then
            echo "wine_up: the Wine prefix $WINEPREFIX could not be created" >&2
            return 1
        fi
        touch "$WINEPREFIX/.kestrin-ready"
    fi
    ln -sfn "$ROOT" "$WINEPREFIX/dosdevices/k:"
    # The shell desktop (with its taskbar) starts with the first program of the prefix
    # and ends with the last one, so there is nothing to start here.
}

wine_down() {
    [ -n "$WINEPREFIX" ] && wineserver -k >/dev/null 2>&1
    [ -n "$WINEPREFIX" ] && wineserver -w >/dev/null 2>&1
    if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null; fi
    XVFB_PID=""
}
