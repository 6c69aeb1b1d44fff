#!/bin/bash
# Runs every test: the native unit tests, each libFuzzer target for a few seconds
# (FUZZ_TEST_SECONDS, default 4), then each tests/e2e/*.sh under Wine. The fuzz runner and an
# e2e script print one line per test, "PASS name" or "FAIL name: why"; a script that fails
# without printing a FAIL line counts as one failure. Ends with "N passed, M failed".
NATIVE_DIR=${1:-build/native}
WIN_DIR=${2:-build/win}
FUZZ_DIR=${3:-build/fuzz}
FUZZ_TEST_SECONDS=${FUZZ_TEST_SECONDS:-4}
cd "$(dirname "$0")/.." || exit 2
ROOT=$(pwd)
export KESTRIN_WIN_DIR="$ROOT/$WIN_DIR"
passed=0
failed=0

echo "== unit tests (native, ASan/UBSan)"
out=$(mktemp)
"$NATIVE_DIR/unit_tests" --gtest_brief=1 2>&1 | tee "$out" | grep -v '^\[       OK \]'
unit_rc=${PIPESTATUS[0]}
p=$(grep -oE '^\[  PASSED  \] [0-9]+' "$out" | grep -oE '[0-9]+$')
f=$(grep -oE '^\[  FAILED  \] [0-9]+ test' "$out" | grep -oE '[0-9]+' | head -1)
passed=$((passed + ${p:-0}))
failed=$((failed + ${f:-0}))
if [ "$unit_rc" -ne 0 ] && [ "${f:-0}" -eq 0 ]; then failed=$((failed + 1)); echo "FAIL unit_tests: exit $unit_rc"; fi
rm -f "$out"

# Runs a command that prints "PASS name" and "FAIL name: why" lines and counts them; a
# command that fails without a FAIL line counts as one failure.
count_lines() { # name command...
    local name=$1 out rc p f
    shift
    out=$(mktemp)
    "$@" 2>&1 | tee "$out"
    rc=${PIPESTATUS[0]}
    p=$(grep -c '^PASS ' "$out")
    f=$(grep -c '^FAIL ' "$out")
    passed=$((passed + p))
    failed=$((failed + f))
    if [ "$rc" -ne 0 ] && [ "$f" -eq 0 ]; then failed=$((failed + 1)); echo "FAIL $name: exit $rc"; fi
    rm -f "$out"
}

echo "== fuzz targets (libFuzzer, ASan/UBSan, ${FUZZ_TEST_SECONDS}s each)"
count_lines tests/fuzz/run.sh bash tests/fuzz/run.sh "$FUZZ_DIR" "$FUZZ_TEST_SECONDS"

for script in tests/e2e/*.sh; do
    [ -e "$script" ] || continue
    case "$(basename "$script")" in lib*.sh) continue ;; esac
    echo "== $script"
    count_lines "$script" timeout 900 bash "$script"
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
