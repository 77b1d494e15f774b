# Shared by the scripts that drive the real program under a virtual X display
# (sourced, not run). The caller sets NAME (for messages), ORVEN and PLANNER
# (the program and orven_session_plan) and the arguments "$@" of its own
# command line; it is re-run under xvfb-run when no display of its own is up.
#
# Exit status 77 means the tools are missing and the test is skipped.

STEP_TIMEOUT=${ORVEN_E2E_STEP_TIMEOUT:-30}

for tool in xvfb-run xdotool xwininfo pdftotext pdfinfo; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$NAME: SKIPPED: $tool is not installed (scripts/install-deps installs it)"
        exit 77
    fi
done

if [ -z "${ORVEN_E2E_UNDER_XVFB:-}" ]; then
    # A display number of its own to start from, so that runs side by side
    # (other tests, other users) do not reach for the same free number.
    ORVEN_E2E_UNDER_XVFB=1 exec xvfb-run -a -n $(($$ % 400 + 100)) -s "-screen 0 ${ORVEN_E2E_SCREEN:-1280x1024x24} -dpi 96 -noreset" \
        sh "$0" "$@"
fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/orven-$NAME.XXXXXX")
ORVEN_PID=
# CLEANUP names a command of the test's own run first (an X server, mounts).
CLEANUP=:
finish() {
    status=$?
    $CLEANUP
    if [ -n "$ORVEN_PID" ] && kill -0 "$ORVEN_PID" 2>/dev/null; then
        kill "$ORVEN_PID" 2>/dev/null
        wait "$ORVEN_PID" 2>/dev/null
    fi
    if [ "$status" -ne 0 ]; then
        echo "$NAME: the program's messages:" >&2
        cat "$WORK/orven.err" >&2 2>/dev/null
        echo "$NAME: files kept in $WORK" >&2
    else
        rm -rf "$WORK"
    fi
}
trap finish EXIT
trap 'exit 3' INT TERM HUP

fail() {
    echo "$NAME: FAILED: $*" >&2
    exit 1
}

# Qt wants a private runtime folder; one of its own keeps it quiet.
mkdir -p "$WORK/runtime" && chmod 700 "$WORK/runtime"
export XDG_RUNTIME_DIR="$WORK/runtime"

now() { date +%s; }
START=$(now)

# The session as the recording printer sees it (expected.txt), with the pixel
# position of every button clicked (plan.tsv).
make_plan() {
    (
        # The session bus as the program will have it (start_orven).
        [ -n "${ORVEN_E2E_BUS:-}" ] || unset DBUS_SESSION_BUS_ADDRESS
        QT_QPA_PLATFORM=offscreen exec "$PLANNER" plan "$WORK" ${1:-}
    ) || fail "the in-process session did not run"
}

# Starts the real program the way "make run" does (scripts/run-orven), in a home
# of its own: no printer is configured here, so a report goes into
# $HOME/Documents as a PDF.
RUN_ORVEN=$(cd "$(dirname "$0")/../../scripts" && pwd)/run-orven
# With "keep" as $1 the home of the last run stays as it was (a second start).
start_orven() {
    if [ "${1:-}" != keep ]; then
        rm -rf "$WORK/home"
    fi
    mkdir -p "$WORK/home"
    (
        unset QT_QPA_PLATFORM XDG_CONFIG_HOME XDG_DOCUMENTS_DIR XDG_STATE_HOME
        # No session bus unless the test brings one of its own.
        [ -n "${ORVEN_E2E_BUS:-}" ] || unset DBUS_SESSION_BUS_ADDRESS
        export HOME="$WORK/home" LANG=ru_RU.UTF-8 LANGUAGE=ru
        exec "$RUN_ORVEN" "$ORVEN" 2>>"$WORK/orven.err"
    ) &
    ORVEN_PID=$!
}

# The program's windows that are shown, by its process id.
program_windows() {
    xdotool search --onlyvisible --pid "$ORVEN_PID" 2>/dev/null
}

# The visible window titled exactly $1, other than $2; waits up to the step
# timeout, fails with the step's name. Titles are compared as whole texts here
# (xdotool's own name search does not match some Cyrillic titles).
wait_window() {
    deadline=$(($(now) + STEP_TIMEOUT))
    while :; do
        kill -0 "$ORVEN_PID" 2>/dev/null || fail "the program ended while waiting for \"$1\""
        for id in $(program_windows); do
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

# After a box has gone, the screen behind it is finished before anything is
# clicked (the box's end and the next click could otherwise be handled in one
# go, before the buttons that the answer brings up are there): the program
# that owns window $1 has answered a ping, so it has handled everything sent
# to it before. Without a window (or a window gone meanwhile), a short pause.
settle() {
    if [ -n "${1:-}" ] && "$PLANNER" ping "$1" 2>/dev/null; then
        return 0
    fi
    sleep 0.3
}

# Runs the first $1 steps of the plan (all when empty), from step $2 on (the
# first when not given): clicks at the button positions, answers typed into
# the boxes, each box focused first.
LAST_BOX=
run_steps() {
    TAB=$(printf '\t')
    step=0
    while IFS="$TAB" read -r kind title a b w what; do
        step=$((step + 1))
        [ -z "${1:-}" ] || [ "$step" -le "$1" ] || break
        [ "$step" -ge "${2:-1}" ] || continue
        case "$kind" in
        click)
            win=$(wait_window "$title") || exit 1
            settle "$win"
            # The plan's positions are in logical pixels of a window $w wide;
            # a scaled program's window is wider by its scale.
            width=$(xwininfo -id "$win" | awk '/Width:/ { print $2 }')
            a=$((a * width / w))
            b=$((b * width / w))
            xdotool mousemove --window "$win" "$a" "$b" click 1 ||
                fail "step $step: clicking $what on \"$title\""
            ;;
        input)
            box=$(wait_window "$title" "$LAST_BOX") || exit 1
            xdotool windowfocus --sync "$box" || fail "step $step: focusing the box \"$title\""
            settle "$box"
            $TYPE_INPUT "$a" || fail "step $step: typing into \"$title\""
            xdotool key Return
            wait_gone "$box" "$title"
            LAST_BOX=$box
            ;;
        yes)
            box=$(wait_window "$title") || exit 1
            $BEFORE_YES
            xdotool windowfocus --sync "$box" || fail "step $step: focusing the box \"$title\""
            settle "$box"
            xdotool key Return
            wait_gone "$box" "$title"
            ;;
        close)
            win=$(wait_window "$title") || exit 1
            settle "$win"
            "$PLANNER" wm-close "$win" || fail "step $step: closing \"$title\""
            wait_gone "$win" "$title"
            ;;
        *) fail "unknown step \"$kind\" in the plan" ;;
        esac
        $AFTER_STEP
    done <"$WORK/plan.tsv"
}
AFTER_STEP=:
# Run with the message box's window id in $box, before it is answered.
BEFORE_YES=:
# Types its argument into the focused input box.
type_text() {
    xdotool type --delay 20 "$1"
}
TYPE_INPUT=type_text

# The number of the plan's step that clicks the button captioned $1 for the
# $2-th time.
step_of() {
    grep -nF "\"$1\"" "$WORK/plan.tsv" | sed -n "${2}p" | cut -d: -f1
}

# Waits for the program to end by itself; its status is left in EXIT_STATUS.
wait_exit() {
    deadline=$(($(now) + STEP_TIMEOUT))
    while kill -0 "$ORVEN_PID" 2>/dev/null; do
        [ "$(now)" -lt "$deadline" ] || fail "the program did not end $1"
        sleep 0.1
    done
    wait "$ORVEN_PID"
    EXIT_STATUS=$?
    ORVEN_PID=
}

# The same, failing unless the status is 0.
wait_end() {
    wait_exit "$1"
    [ "$EXIT_STATUS" -eq 0 ] || fail "the program ended with status $EXIT_STATUS $1"
}

# A fresh run up to step $1 (a print), then SIGTERM: the program ends with
# status 0 and leaves its report (report_pdf). The report's journal is begun
# by the print itself; a signal is handled only after the print has ended.
print_then_terminate() {
    start_orven
    run_steps "$1"
    wait_file "$WORK/home/.local/state/orven" 'orven-report-*.journal'
    kill -TERM "$ORVEN_PID"
    wait_end "after SIGTERM with a report open"
    report_pdf
}

# The PDF $1 read back (pdftotext) and compared line by line with the
# recording printer's report of the plan; $2 names the case.
compare_with_plan() {
    pdftotext -layout -fixed 6 "$1" "$WORK/printed.txt" || fail "$2: pdftotext cannot read $1"
    pdftotext -bbox "$1" "$WORK/boxes.html" || fail "$2: pdftotext cannot read the words of $1"
    QT_QPA_PLATFORM=offscreen "$PLANNER" compare "$WORK/expected.txt" "$WORK/printed.txt" \
        "$WORK/boxes.html" || fail "$2: the printed report differs from the recorded one"
}

# The one finished report PDF in the documents folder, checked with pdfinfo;
# its path must have been named on standard error and no half-written file
# may be left.
report_pdf() {
    set -- "$WORK"/home/Documents/orven-report-*.pdf
    [ $# -eq 1 ] && [ -f "$1" ] || fail "expected one report PDF in $WORK/home/Documents, found: $*"
    grep -qF "$1" "$WORK/orven.err" || fail "the program did not name $1 on standard error"
    pdfinfo "$1" >"$WORK/pdfinfo.txt" 2>&1 || fail "pdfinfo cannot read $1"
    leftover=$(find "$WORK/home" -name '*.part' -o -name '*.journal' -o -name 'orven-report-*.pdf.*')
    [ -z "$leftover" ] || fail "a half-written report or its journal was left: $leftover"
    PDF=$1
}

# Waits until the program's standard error holds the text $1 ($2 names the
# step in the failure).
wait_said() {
    deadline=$(($(now) + STEP_TIMEOUT))
    until grep -qF "$1" "$WORK/orven.err"; do
        [ "$(now)" -lt "$deadline" ] || fail "$2: standard error does not say \"$1\""
        sleep 0.05
    done
}

# Waits for a file named like $2 to appear under $1.
wait_file() {
    deadline=$(($(now) + STEP_TIMEOUT))
    while [ -z "$(find "$1" -name "$2" 2>/dev/null)" ]; do
        [ "$(now)" -lt "$deadline" ] || fail "no file $2 in $1 within ${STEP_TIMEOUT}s"
        sleep 0.05
    done
}

no_report() {
    leftover=$(find "$WORK/home" -name '*.pdf*')
    [ -z "$leftover" ] || fail "a report file was written though nothing was printed: $leftover"
}
