#!/bin/sh
# One whole student session with the real program: build/orven started under a
# virtual X display with its real dialogs and its real PDF printer, driven with
# the mouse and the keyboard (xdotool) from the main menu through two printed
# results blocks to the end button. The PDF it leaves is read back with
# pdftotext and compared line by line with what the recording printer gets for
# the same session in-process (orven_session_plan).
#
#   real_session.sh <orven binary> <orven_session_plan binary> [work folder]
#
# Exit status 0: the session ran and the report agrees; 77: the tools for a
# virtual display are missing (the test is skipped); anything else: failure.
# Without xvfb-run around it, the script starts one for itself.
set -u

ORVEN=$1
PLANNER=$2
WORK=${3:-}
STEP_TIMEOUT=${ORVEN_E2E_STEP_TIMEOUT:-30}

for tool in xvfb-run xdotool xwininfo pdftotext pdfinfo; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "real_session: SKIPPED: $tool is not installed (scripts/install-deps installs it)"
        exit 77
    fi
done

if [ -z "${ORVEN_E2E_UNDER_XVFB:-}" ]; then
    ORVEN_E2E_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96 -noreset" \
        "$0" "$@"
fi

if [ -z "$WORK" ]; then
    WORK=$(mktemp -d "${TMPDIR:-/tmp}/orven-e2e.XXXXXX")
    KEEP_WORK=
else
    rm -rf "$WORK"
    mkdir -p "$WORK"
    KEEP_WORK=1
fi
ORVEN_PID=
finish() {
    status=$?
    if [ -n "$ORVEN_PID" ] && kill -0 "$ORVEN_PID" 2>/dev/null; then
        kill "$ORVEN_PID" 2>/dev/null
        wait "$ORVEN_PID" 2>/dev/null
    fi
    if [ "$status" -ne 0 ]; then
        echo "real_session: the program's messages:" >&2
        cat "$WORK/orven.err" >&2 2>/dev/null
        echo "real_session: files kept in $WORK" >&2
    elif [ -z "$KEEP_WORK" ]; then
        rm -rf "$WORK"
    fi
}
trap finish EXIT
trap 'exit 3' INT TERM HUP

fail() {
    echo "real_session: FAILED: $*" >&2
    exit 1
}

# Qt wants a private runtime folder; one of its own keeps it quiet.
mkdir -p "$WORK/runtime" && chmod 700 "$WORK/runtime"
export XDG_RUNTIME_DIR="$WORK/runtime"

now() { date +%s; }
START=$(now)

# The session as the recording printer sees it, with the pixel position of
# every button clicked.
QT_QPA_PLATFORM=offscreen "$PLANNER" plan "$WORK" || fail "the in-process session did not run"

# A home of its own: no printer is configured here, so the report goes into
# $HOME/Documents as a PDF.
mkdir -p "$WORK/home"
(
    unset QT_QPA_PLATFORM XDG_CONFIG_HOME XDG_DOCUMENTS_DIR
    export HOME="$WORK/home" LANG=ru_RU.UTF-8 LANGUAGE=ru
    exec "$ORVEN" 2>"$WORK/orven.err"
) &
ORVEN_PID=$!

# The visible window titled exactly $1, other than $2; waits up to the step
# timeout, fails with the step's name. Titles are compared as whole texts here
# (xdotool's own name search does not match some Cyrillic titles).
LAST_BOX=
wait_window() {
    deadline=$(($(now) + STEP_TIMEOUT))
    while :; do
        kill -0 "$ORVEN_PID" 2>/dev/null || fail "the program ended while waiting for \"$1\""
        for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
            if [ "$id" != "${2:-}" ] && [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ]; then
                echo "$id"
                return 0
            fi
        done
        [ "$(now)" -lt "$deadline" ] || fail "no window \"$1\" within ${STEP_TIMEOUT}s"
        sleep 0.1
    done
}

# Waits until window $1 is no longer shown (destroyed or unmapped).
wait_gone() {
    deadline=$(($(now) + STEP_TIMEOUT))
    while xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; do
        [ "$(now)" -lt "$deadline" ] || fail "the window \"$2\" stayed open"
        sleep 0.05
    done
}

# The program handles the last key or click fully before the next one: after
# a box has gone, the screen behind it is finished before anything is clicked.
settle() { sleep 0.3; }

TAB=$(printf '\t')
step=0
while IFS="$TAB" read -r kind title a b what; do
    step=$((step + 1))
    case "$kind" in
    click)
        win=$(wait_window "$title") || exit 1
        settle
        xdotool mousemove --window "$win" "$a" "$b" click 1 ||
            fail "step $step: clicking $what on \"$title\""
        ;;
    input)
        box=$(wait_window "$title" "$LAST_BOX") || exit 1
        xdotool windowfocus --sync "$box" || fail "step $step: focusing the box \"$title\""
        settle
        xdotool type --delay 20 "$a" || fail "step $step: typing into \"$title\""
        xdotool key Return
        wait_gone "$box" "$title"
        LAST_BOX=$box
        ;;
    *) fail "unknown step \"$kind\" in the plan" ;;
    esac
done <"$WORK/plan.tsv"

# The end button ends the program; it must leave with status 0.
deadline=$(($(now) + STEP_TIMEOUT))
while kill -0 "$ORVEN_PID" 2>/dev/null; do
    [ "$(now)" -lt "$deadline" ] || fail "the program did not end after the end button"
    sleep 0.1
done
wait "$ORVEN_PID"
status=$?
ORVEN_PID=
[ "$status" -eq 0 ] || fail "the program ended with status $status"

set -- "$WORK"/home/Documents/orven-report-*.pdf
[ $# -eq 1 ] && [ -f "$1" ] || fail "expected one report PDF in $WORK/home/Documents, found: $*"
PDF=$1
grep -qF "$PDF" "$WORK/orven.err" || fail "the program did not name $PDF on standard error"
pdfinfo "$PDF" >"$WORK/pdfinfo.txt" 2>&1 || fail "pdfinfo cannot read $PDF"
pdftotext -layout -fixed 6 "$PDF" "$WORK/printed.txt" || fail "pdftotext cannot read $PDF"
pdftotext -bbox "$PDF" "$WORK/boxes.html" || fail "pdftotext cannot read the words of $PDF"
QT_QPA_PLATFORM=offscreen "$PLANNER" compare "$WORK/expected.txt" "$WORK/printed.txt" \
    "$WORK/boxes.html" ||
    fail "the printed report differs from the recorded one"
echo "real_session: passed in $(($(now) - START))s ($(grep -c . "$WORK/plan.tsv") steps)"
