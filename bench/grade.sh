#!/bin/sh
# orven-key grade over a class of 30 and of 300 reports: wall time and peak
# memory by /usr/bin/time -v, for this build and, when given, another build's
# orven-key (the baseline) on the same reports in the same run.
#
#   grade.sh <build dir> [<baseline orven-key>]     (make grade-benchmark)
set -eu
BUILD=$(cd "$1" && pwd)
BASE=${2:-}
WORK=$(mktemp -d "${TMPDIR:-/tmp}/orven-grade.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
export ORVEN_KEY="$BUILD/orven-key" QT_QPA_PLATFORM=offscreen
measure() { # KEY CLASS-DIR -> "seconds peak-KiB"
    /usr/bin/time -f '%e %M' -o "$WORK/time" "$1" grade --class "$2/class/варианты.csv" \
        "$2/reports" >/dev/null 2>&1 || true
    cat "$WORK/time"
}
for n in 30 300; do
    "$BUILD/tests/orven_class_reports" "$WORK/$n" "$n"
    set -- $(measure "$BUILD/orven-key" "$WORK/$n")
    line="$n reports: this build $1 s, $(($2 / 1024)) MiB peak"
    if [ -n "$BASE" ]; then
        t=$1
        set -- $(measure "$BASE" "$WORK/$n")
        line="$line; baseline $1 s, $(($2 / 1024)) MiB peak; time ratio $(echo "scale=2; $t / $1" | bc)"
    fi
    echo "$line"
done
