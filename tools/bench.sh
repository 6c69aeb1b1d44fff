#!/bin/bash
# Runs every benchmark: bench/*.sh scripts (which drive Wine) in order.
NATIVE_DIR=${1:-build/native}
WIN_DIR=${2:-build/win}
cd "$(dirname "$0")/.." || exit 2
export KESTRIN_NATIVE_DIR="$(pwd)/$NATIVE_DIR"
export KESTRIN_WIN_DIR="$(pwd)/$WIN_DIR"
rc=0
for script in bench/*.sh; do
    [ -e "$script" ] || continue
    echo "== $script"
    bash "$script" || rc=1
done
exit $rc
