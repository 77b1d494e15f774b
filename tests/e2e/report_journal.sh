#!/bin/sh
# No report lost when the program dies: two results blocks printed, then
#  (a) the X server goes away: the program ends by itself and leaves the
#      complete PDF of both blocks;
#  (b) the program is killed with SIGKILL: its journal is there; the next start
#      shows the main menu and writes the recovered PDF of both blocks
#      ("-восстановлен" before ".pdf").
# Each PDF is read back with pdftotext and compared line by line with the
# recording printer's report of the same session; no journal is left.
#
#   report_journal.sh <orven binary> <orven_session_plan binary>
set -u
NAME=report_journal
ORVEN=$1
PLANNER=$2
. "$(dirname "$0")/driver.sh"

make_plan
second=$(step_of "Печать результатов" 2)
[ -n "$second" ] || fail "the plan has no second print step"


# (b) first, while the X server is still there: SIGKILL after two blocks.
start_orven
run_steps "$second"
wait_file "$WORK/home/.local/state/orven" 'orven-report-*.journal'
kill -KILL "$ORVEN_PID"
wait "$ORVEN_PID" 2>/dev/null
ORVEN_PID=
[ -z "$(find "$WORK/home" -name 'orven-report-*.pdf')" ] || fail "a PDF was there before the next start"
start_orven keep
wait_window "НАЧАЛО РАБОТЫ С ПРОГРАММОЙ" >/dev/null || exit 1
# The recovery runs beside the menu: its line on standard error comes last.
wait_said "восстановлен в файле" "the next start"
report_pdf
case "$PDF" in
*-восстановлен.pdf) ;;
*) fail "the recovered report is named $PDF" ;;
esac
grep -q "восстановлен в файле $PDF" "$WORK/orven.err" || fail "the next start did not say it recovered $PDF"
compare_with_plan "$PDF" "after SIGKILL"
kill -TERM "$ORVEN_PID"
wait_end "after SIGTERM at the menu of the second start"

# (a) the X server killed after two blocks: an X server of this part's own,
# since the one of xvfb-run must outlive the test.
: >"$WORK/orven.err"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp -noreset 3>"$WORK/display" >/dev/null 2>&1 &
XVFB_PID=$!
stop_second_x() { kill -KILL "$XVFB_PID" 2>/dev/null; }
CLEANUP=stop_second_x
deadline=$(($(now) + STEP_TIMEOUT))
until [ -s "$WORK/display" ]; do
    [ "$(now)" -lt "$deadline" ] || fail "the second X server did not start"
    sleep 0.1
done
export DISPLAY=":$(cat "$WORK/display")"
unset XAUTHORITY
until xdpyinfo >/dev/null 2>&1; do
    [ "$(now)" -lt "$deadline" ] || fail "the second X server $DISPLAY takes no connection"
    sleep 0.1
done
start_orven
run_steps "$second"
wait_file "$WORK/home/.local/state/orven" 'orven-report-*.journal'
kill -KILL "$XVFB_PID"
wait "$XVFB_PID" 2>/dev/null
wait_exit "after the X server went away"
echo "$NAME: the program ended with status $EXIT_STATUS after the X server went away"
report_pdf
compare_with_plan "$PDF" "after the X server went away"
echo "$NAME: passed in $(($(now) - START))s"
