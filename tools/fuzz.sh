#!/bin/bash
# Builds and runs the libFuzzer targets of fuzz/ (clang, AddressSanitizer, UBSan) in a
# build folder of their own, since the linux preset builds with g++.
#
#   tools/fuzz.sh build                 configure and build every target
#   tools/fuzz.sh test [SECONDS]        build, fuzz each target SECONDS (default 30), then
#                                       replay the committed seeds and regression inputs;
#                                       fails on any crash (what `make fuzz` runs)
#   tools/fuzz.sh run SECONDS [T...]    fuzz the named targets (default all), two at a time
#                                       at the lowest priority; logs in $FUZZ_BUILD/logs
#   tools/fuzz.sh replay [T...]         build, then run each committed seed and regression
#                                       input once (what `make test` runs)
#   tools/fuzz.sh stats [T...]          runs, cov and ft of each target's last run
#
# Committed inputs: fuzz/corpus/<target>/ (seeds) and fuzz/regressions/<target>/ (inputs
# that once crashed). What the fuzzer finds grows a working corpus under $FUZZ_BUILD, so
# the committed folders change only by hand. Crashes land in $FUZZ_BUILD/crashes/<target>/.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${FUZZ_BUILD:-$ROOT/build/fuzz}
TARGETS=(fuzz_record_file fuzz_schedule_transfer fuzz_call_flow fuzz_validation_report fuzz_control_line fuzz_gateway_parse)
JOBS=${FUZZ_JOBS:-2}   # targets fuzzed at the same time; the machine is shared

max_len() {
    case $1 in
        fuzz_record_file | fuzz_validation_report) echo 65536 ;;
        *) echo 4096 ;;
    esac
}

build() {
    if [ ! -f "$BUILD/CMakeCache.txt" ]; then
        local flags="-O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined"
        flags="$flags -fno-sanitize-recover=undefined -fsanitize=fuzzer-no-link"
        CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -G "Unix Makefiles" \
            -DZEL_FUZZ=ON -DCMAKE_BUILD_TYPE= \
            -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" >/dev/null
    fi
    cmake --build "$BUILD" --target fuzzers -j2
}

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# fuzz_one TARGET SECONDS: one fuzzing session over a working corpus seeded from the
# committed one. Prints the log's last status line.
fuzz_one() {
    local t=$1 seconds=$2
    local work="$BUILD/corpus/$t" crashes="$BUILD/crashes/$t" log="$BUILD/logs/$t.log"
    mkdir -p "$work" "$crashes" "$BUILD/logs"
    if [ -d "$ROOT/fuzz/corpus/$t" ]; then cp -n "$ROOT/fuzz/corpus/$t"/* "$work"/ 2>/dev/null || true; fi
    local status=0
    nice -n 19 "$BUILD/fuzz/$t" "$work" -max_total_time="$seconds" -max_len="$(max_len "$t")" \
        -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$crashes/" >"$log" 2>&1 || status=$?
    local last
    last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
    echo "$t: ${last:-no status line} (exit $status)"
    return $status
}

# Runs fuzz_one over the targets, at most $JOBS at a time; fails when any failed.
fuzz_all() {
    local seconds=$1
    shift
    local failed=0 running=0 t
    local -a pids=()
    for t in "$@"; do
        fuzz_one "$t" "$seconds" &
        pids+=($!)
        running=$((running + 1))
        if [ "$running" -ge "$JOBS" ]; then
            wait -n || failed=1
            running=$((running - 1))
        fi
    done
    while [ "$running" -gt 0 ]; do
        wait -n || failed=1
        running=$((running - 1))
    done
    if [ "$failed" -ne 0 ]; then
        echo "fuzz: a target failed; see $BUILD/logs and $BUILD/crashes" >&2
        return 1
    fi
}

replay() {
    local failed=0 t dir
    for t in "$@"; do
        local inputs=()
        for dir in "$ROOT/fuzz/corpus/$t" "$ROOT/fuzz/regressions/$t"; do
            [ -d "$dir" ] && inputs+=("$dir"/*)
        done
        [ ${#inputs[@]} -gt 0 ] || continue
        if "$BUILD/fuzz/$t" -runs=1 "${inputs[@]}" >"$BUILD/logs/$t.replay.log" 2>&1; then
            echo "$t: replayed ${#inputs[@]} committed inputs"
        else
            echo "$t: a committed input fails; see $BUILD/logs/$t.replay.log" >&2
            failed=1
        fi
    done
    return $failed
}

stats() {
    local t
    for t in "$@"; do
        local log="$BUILD/logs/$t.log"
        [ -f "$log" ] || { echo "$t: no run"; continue; }
        local done_line runs crashes
        done_line=$(grep -E '^#[0-9]+' "$log" | tail -n 1)
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        crashes=$(ls "$BUILD/crashes/$t" 2>/dev/null | wc -l)
        echo "$t: runs ${runs:-?}; $(echo "$done_line" | grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+/[^ ]+'); crash files $crashes"
    done
}

cmd=${1:-test}
shift || true
case $cmd in
    build) build ;;
    test)
        seconds=${1:-30}
        build
        mkdir -p "$BUILD/logs"
        status=0
        fuzz_all "$seconds" "${TARGETS[@]}" || status=1
        replay "${TARGETS[@]}" || status=1
        exit $status
        ;;
    run)
        seconds=${1:?seconds}
        shift
        [ $# -gt 0 ] || set -- "${TARGETS[@]}"
        build
        fuzz_all "$seconds" "$@"
        ;;
    replay)
        [ $# -gt 0 ] || set -- "${TARGETS[@]}"
        build
        mkdir -p "$BUILD/logs"
        replay "$@"
        ;;
    stats)
        [ $# -gt 0 ] || set -- "${TARGETS[@]}"
        stats "$@"
        ;;
    *)
        sed -n '2,16p' "$0" >&2
        exit 2
        ;;
esac
