#!/bin/sh
# The real program under a virtual X display and the ways it ends:
#  - it starts at the main menu "НАЧАЛО РАБОТЫ С ПРОГРАММОЙ" at its place and
#    size, and SIGTERM ends it with status 0, no report written;
#  - SIGTERM while the name box is open ends it with status 0 as well;
#  - SIGTERM after a printed results block finishes the open report: one
#    complete PDF that pdfinfo reads, status 0;
#  - SIGTERM while an input box is open (the next arrangement's packs) does the
#    same, and no further box comes up on the way out.
#
#   program_end.sh <orven binary> <orven_session_plan binary>
set -u
NAME=program_end
ORVEN=$1
PLANNER=$2
. "$(dirname "$0")/driver.sh"

make_plan

# The main menu, then SIGTERM.
start_orven
menu=$(wait_window "НАЧАЛО РАБОТЫ С ПРОГРАММОЙ") || exit 1
geometry=$(xwininfo -id "$menu" | sed -n 's/^ *-geometry //p')
[ "$geometry" = "800x600+33+33" ] || fail "the main menu stands at $geometry, not 800x600+33+33"
kill -TERM "$ORVEN_PID"
wait_end "after SIGTERM at the main menu"
no_report

# SIGTERM while the name box is open: status 0, nothing written.
start_orven
run_steps 1
wait_window "ВВОД ФАМИЛИИ" >/dev/null || exit 1
kill -TERM "$ORVEN_PID"
wait_end "after SIGTERM with the name box open"
no_report

# One results block printed, then SIGTERM on the results screen.
printed=$(step_of "Печать результатов" 1)
letter=$(step_of 'Литера "Г"' 1)
[ -n "$printed" ] && [ -n "$letter" ] || fail "the plan has no print or no letter step"

print_then_terminate "$printed"
pdftotext -layout "$PDF" "$WORK/printed.txt" || fail "pdftotext cannot read $PDF"
blocks=$(grep -c "Тип теплообменника - ХОЛОДИЛЬНИК" "$WORK/printed.txt")
[ "$blocks" -eq 1 ] || fail "the report holds $blocks results blocks, not 1"

# One block printed, the next arrangement's first box open, then SIGTERM.
start_orven
LAST_BOX=
run_steps "$letter"
box=$(wait_window "Ввод числа пакетов для холодного теплоносителя") || exit 1
kill -TERM "$ORVEN_PID"
wait_end "after SIGTERM with an input box open"
report_pdf
pdftotext -layout "$PDF" "$WORK/printed.txt" || fail "pdftotext cannot read $PDF"
blocks=$(grep -c "Тип теплообменника - ХОЛОДИЛЬНИК" "$WORK/printed.txt")
[ "$blocks" -eq 1 ] || fail "the report holds $blocks results blocks, not 1"

echo "$NAME: passed in $(($(now) - START))s"
