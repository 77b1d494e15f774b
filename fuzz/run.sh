#!/bin/sh
# Each harness of <build dir> (make fuzz) under libFuzzer until FUZZ_RUNS
# executions (10^6 by default) or <seconds>, whichever comes first, two at
# once; a line a harness: its executions, coverage and corpus, and a crash's
# input. Exit status 1 when any harness found one.
#
#   run.sh <build dir> <seconds> [harness ...]
set -eu
BUILD=$(cd "$1" && pwd)
SECONDS_EACH=$2
shift 2
HERE=$(cd "$(dirname "$0")" && pwd)
NAMES=${*:-$(ls "$HERE"/*_fuzz.cpp | sed 's|.*/||; s|_fuzz.cpp||')}
mkdir -p "$BUILD/crashes" "$BUILD/logs"
run_one() {
    name=$1
    mkdir -p "$BUILD/corpus/$name"
    # The new inputs go to the build's corpus; the checked-in one is read only.
    ASAN_OPTIONS=detect_leaks=1 "$BUILD/fuzz/fuzz_$name" -max_total_time="$SECONDS_EACH" \
        -runs="${FUZZ_RUNS:-1000000}" \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$BUILD/crashes/$name-" \
        "$BUILD/corpus/$name" "$HERE/corpus/$name" >"$BUILD/logs/$name.log" 2>&1 || true
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$BUILD/logs/$name.log" | tail -1)
    cov=$(grep -o 'cov: [0-9]*' "$BUILD/logs/$name.log" | tail -1)
    corpus=$(ls "$BUILD/corpus/$name" | wc -l)
    found=$(ls "$BUILD/crashes" | grep -c "^$name-\(crash\|leak\|timeout\|oom\)-" || true)
    slow=$(ls "$BUILD/crashes" | grep -c "^$name-slow-unit-" || true)
    took=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$BUILD/logs/$name.log")
    echo "$name: ${runs:-0} executions in ${took:-?} s, ${cov:-cov: ?}, corpus $corpus," \
        "found $found, slow inputs $slow"
}
# Two harnesses at a time, the next starting as soon as one ends: each a run
# of this script for one harness.
if [ -n "${FUZZ_ONE:-}" ]; then
    run_one "$FUZZ_ONE"
    exit 0
fi
for name in $NAMES; do
    echo "$name"
done | xargs -P 2 -I NAME env FUZZ_ONE=NAME sh "$0" "$BUILD" "$SECONDS_EACH"
status=0
# A slow input is listed, not failed: it may be a large task's honest search.
if ls "$BUILD/crashes" | grep -q -- "-\(crash\|leak\|timeout\|oom\)-"; then
    echo "fuzz: found (inputs in $BUILD/crashes):" >&2
    ls "$BUILD/crashes" | grep -- "-\(crash\|leak\|timeout\|oom\)-" >&2
    status=1
fi
exit $status
