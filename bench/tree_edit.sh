#!/bin/bash
# Settings tree editing: the slowest of the seven operations on 5,000-node trees.
# The native build compiles this benchmark with ASan and UBSan on, so the figure is an
# upper bound; an unsanitized -O2 build runs several times faster.
bin="${KESTRIN_NATIVE_DIR:-build/native}/tree_edit_native"
if [ ! -x "$bin" ]; then
    echo "tree_edit: $bin not built" >&2
    exit 1
fi
exec "$bin"
