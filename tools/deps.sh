#!/bin/sh
# Installs with apt-get every Debian package whose programs the build, `make run`, the tests
# and the benchmarks call, when this machine lacks it. The check is by package, never by
# command name: a command of the same name may come from elsewhere (a stand-in `convert` in
# /usr/local/bin, say), and `wine`/`wineserver` come from the package wine, not wine64.
set -e
packages="
    make cmake g++ libgtest-dev
    clang libclang-rt-14-dev libfuzzer-14-dev
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64
    xvfb x11-utils xdotool imagemagick
    fuse3 python3-fusepy
"
# What calls what:
#   make, cmake, g++, GoogleTest              native build and unit tests
#   clang++ (clang = clang-14), the runtimes  the fuzz build (make test, make fuzz); the
#   of -fsanitize=fuzzer,address,undefined    runtimes are only recommended by clang, so
#   (libclang-rt-14-dev), libFuzzer           --no-install-recommends needs them named
#   (libfuzzer-14-dev)
#   x86_64-w64-mingw32-g++-posix, windres,    cross build of kestrin.exe and the Win32
#   objdump (binutils-mingw-w64-x86-64)       test programs; objdump in the benchmarks
#   wine, wineserver, winepath (wine, wine64) make run, e2e tests, benchmarks
#   Xvfb (xvfb)                               the virtual display
#   xwininfo, xdpyinfo (x11-utils)            window lookups, display readiness
#   xdotool                                   mouse and keys in the e2e tests
#   convert, import (imagemagick)             screenshots and pixel reads in the e2e tests
#   fusermount3 (fuse3), the fusepy module    the slow drive of the e2e tests (a file system
#   (python3-fusepy)                          whose every look at a file waits), also in the
#                                             benchmarks
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
need=""
for p in $packages; do
    have_pkg "$p" || need="$need $p"
done
if [ -n "$need" ]; then
    echo "Installing:$need"
    SUDO=""
    [ "$(id -u)" = 0 ] || SUDO=sudo
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    # shellcheck disable=SC2086
    $SUDO apt-get install -y -qq --no-install-recommends $need
fi
