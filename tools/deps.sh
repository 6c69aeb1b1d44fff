#!/bin/sh
# Installs with apt-get whatever the build and the tests need and this machine lacks.
set -e
need=""
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
check() { # command package
    if ! have_cmd "$1"; then need="$need $2"; fi
}
check cmake cmake
check make make
check g++ g++
check x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64-posix
check wine wine64
check Xvfb xvfb
check xdotool xdotool
check convert imagemagick
check xwininfo x11-utils
have_pkg libgtest-dev || need="$need libgtest-dev"
if [ -n "$need" ]; then
    echo "Installing:$need"
    SUDO=""
    [ "$(id -u)" = 0 ] || SUDO=sudo
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    # shellcheck disable=SC2086
    $SUDO apt-get install -y -qq --no-install-recommends $need
fi
