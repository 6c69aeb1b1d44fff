#!/bin/bash
# Runs each libFuzzer target of a fuzz build for a bounded time, one after the other, and
# counts each as one test: "PASS fuzz.<target> (...)" or "FAIL fuzz.<target>: why".
# Usage: tests/fuzz/run.sh FUZZ_DIR SECONDS [--keep-corpus] [target...]
# The checked-in seeds (tests/fuzz/corpus/<target>) are copied to a scratch corpus so they
# never grow; with --keep-corpus the grown corpus stays in FUZZ_DIR/corpus/<target> and the
# next run starts from it. Logs go to FUZZ_DIR/logs, crash artefacts to FUZZ_DIR/artifacts.
FUZZ_DIR=${1:?usage: run.sh FUZZ_DIR SECONDS [--keep-corpus] [target...]}
SECONDS_EACH=${2:?usage: run.sh FUZZ_DIR SECONDS [--keep-corpus] [target...]}
shift 2
KEEP=0
if [ "$1" = --keep-corpus ]; then KEEP=1; shift; fi
cd "$(dirname "$0")/../.." || exit 2
ROOT=$(pwd)
case "$FUZZ_DIR" in /*) ;; *) FUZZ_DIR="$ROOT/$FUZZ_DIR" ;; esac

# Longest input per target: large enough for several items with their keys, small enough that
# the quadratic parts (access keys of a level, lookups per item) stay fast.
max_len() {
    case "$1" in
        fuzz_integer) echo 64 ;;
        fuzz_title | fuzz_launch) echo 1024 ;;
        *) echo 4096 ;;
    esac
}

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for bin in "$FUZZ_DIR"/fuzz_*; do
        [ -f "$bin" ] && [ -x "$bin" ] && targets+=("$(basename "$bin")")
    done
fi
if [ ${#targets[@]} -eq 0 ]; then
    echo "FAIL fuzz: no fuzz targets in $FUZZ_DIR"
    exit 1
fi

export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$FUZZ_DIR/logs" "$FUZZ_DIR/artifacts"
failed=0
for target in "${targets[@]}"; do
    name=${target#fuzz_}
    bin="$FUZZ_DIR/$target"
    log="$FUZZ_DIR/logs/$target.log"
    artifacts="$FUZZ_DIR/artifacts/$target"
    if [ ! -x "$bin" ]; then
        echo "FAIL fuzz.$name: $bin was not built"
        failed=$((failed + 1))
        continue
    fi
    if [ "$KEEP" = 1 ]; then
        corpus="$FUZZ_DIR/corpus/$target"
    else
        corpus="$FUZZ_DIR/scratch/$target"
        rm -rf "$corpus"
    fi
    mkdir -p "$corpus" "$artifacts"
    [ -d "tests/fuzz/corpus/$target" ] && cp -n "tests/fuzz/corpus/$target"/* "$corpus"/ 2>/dev/null
    dict=()
    case "$target" in
        fuzz_ini | fuzz_config | fuzz_item_sets | fuzz_menu) dict=(-dict=tests/fuzz/ini.dict) ;;
    esac

    timeout $((SECONDS_EACH + 120)) "$bin" "$corpus" "${dict[@]}" -max_total_time="$SECONDS_EACH" \
        -max_len="$(max_len "$target")" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" >"$log" 2>&1
    rc=$?
    if [ "$rc" -eq 0 ]; then
        runs=$(grep -oE 'stat::number_of_executed_units: [0-9]+' "$log" | tail -1 | grep -oE '[0-9]+$')
        cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | grep -oE '[0-9]+$')
        echo "PASS fuzz.$name (${SECONDS_EACH}s, ${runs:-?} runs, cov ${cov:-?})"
        continue
    fi
    failed=$((failed + 1))
    why=$(grep -m1 -oE 'invariant broken: .*' "$log")
    [ -z "$why" ] && why=$(grep -m1 -oE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer): [^(]*' "$log")
    [ -z "$why" ] && why=$(grep -m1 -oE 'runtime error: .*' "$log")
    [ "$rc" -eq 124 ] && why="did not stop after ${SECONDS_EACH}s"
    artefact=$(grep -m1 -oE 'Test unit written to [^ ]+' "$log" | sed 's/Test unit written to //')
    echo "FAIL fuzz.$name: ${why:-exit $rc}${artefact:+ (input: ${artefact#"$ROOT"/})} (log: ${log#"$ROOT"/})"
done
[ "$failed" -eq 0 ]
