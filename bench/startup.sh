#!/bin/sh
# The program's start to the first paint of its main menu against a bare Qt
# Widgets window with a button (the same compiler, flags and display): the
# median wall time of alternating runs, and the instructions of one run of
# each counted by callgrind (repeatable whatever else the machine does).
#
#   startup.sh <build dir>     (make startup-benchmark)
set -eu
BUILD=$(cd "$1" && pwd)
RUNS=${RUNS:-21}
for tool in xvfb-run valgrind; do
    command -v "$tool" >/dev/null 2>&1 || { echo "startup.sh: $tool is not installed (scripts/install-deps installs it)" >&2; exit 2; }
done
if [ -z "${STARTUP_UNDER_XVFB:-}" ]; then
    STARTUP_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" sh "$0" "$@"
fi
WORK=$(mktemp -d "${TMPDIR:-/tmp}/orven-startup.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/home" "$WORK/runtime"
chmod 700 "$WORK/runtime"
export HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/runtime" LANG=ru_RU.UTF-8
unset QT_QPA_PLATFORM DBUS_SESSION_BUS_ADDRESS

ns() { date +%s%N; }
run() { "$BUILD/$1" >/dev/null 2>&1 || { echo "startup.sh: $1 failed" >&2; exit 1; }; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# One warm-up run of each (shared libraries and fonts into the page cache).
run bare_first_paint
run orven_first_paint
: >"$WORK/bare"
: >"$WORK/orven"
i=0
while [ "$i" -lt "$RUNS" ]; do
    for program in bare orven; do
        start=$(ns)
        run "${program}_first_paint"
        echo $((($(ns) - start) / 1000)) >>"$WORK/$program"
    done
    i=$((i + 1))
done
bare_us=$(median <"$WORK/bare")
orven_us=$(median <"$WORK/orven")

# Callgrind follows a fork (D-Bus's autolaunch of a session bus when none is
# set starts one), so each process writes its own log: the program is the
# process valgrind was started as; its children are counted apart.
instructions() {
    rm -f "$WORK"/vg.*
    valgrind --tool=callgrind --callgrind-out-file=/dev/null --log-file="$WORK/vg.%p" \
        "$BUILD/$1" >/dev/null 2>&1 &
    pid=$!
    wait "$pid" || { echo "startup.sh: $1 failed under valgrind" >&2; exit 1; }
    main=$(awk '/Collected :/ { print $NF }' "$WORK/vg.$pid")
    all=$(cat "$WORK"/vg.* | awk '/Collected :/ { sum += $NF } END { print sum + 0 }')
    echo "$main $all"
}
set -- $(instructions bare_first_paint)
bare_ir=$1 bare_all=$2
set -- $(instructions orven_first_paint)
orven_ir=$1 orven_all=$2

awk -v bt="$bare_us" -v ot="$orven_us" -v bi="$bare_ir" -v oi="$orven_ir" \
    -v ba="$bare_all" -v oa="$orven_all" -v n="$RUNS" 'BEGIN {
    printf "start to the first paint, median of %d runs each (wall time):\n", n
    printf "  bare Qt window  %8.1f ms\n  ORVEN main menu %8.1f ms   ratio %.2f\n", bt / 1000, ot / 1000, ot / bt
    printf "instructions to the first paint of the program itself (callgrind):\n"
    printf "  bare Qt window  %12d\n  ORVEN main menu %12d   ratio %.2f\n", bi, oi, oi / bi
    printf "with the processes they started (a D-Bus session bus, where none was set):\n"
    printf "  bare Qt window  %12d\n  ORVEN main menu %12d   ratio %.2f\n", ba, oa, oa / ba
}'
