#!/bin/sh
# One whole student session with the real program: build/orven started under a
# virtual X display with its real dialogs and its real PDF printer, driven with
# the mouse and the keyboard (xdotool) from the main menu through two printed
# results blocks to the end button. The PDF it leaves is read back with
# pdftotext and compared line by line with what the recording printer gets for
# the same session in-process (orven_session_plan), and the teacher's key
# checks it: every block printed by the real printer agrees with its
# recalculation.
#
#   real_session.sh <orven binary> <orven_session_plan binary> [<orven-key binary>]
#
# Exit status 0: the session ran and the report agrees; 77: the tools for a
# virtual display are missing (skipped); anything else: failure.
set -u
NAME=real_session
ORVEN=$1
PLANNER=$2
KEY=${3:-}
. "$(dirname "$0")/driver.sh"

make_plan
start_orven
run_steps
wait_end "after the end button"
report_pdf
compare_with_plan "$PDF" "the session"
# The US layout alone: the name box gave the keys their Russian letters.
grep -q "Иванов И\.и\. Гр\. 101" "$WORK/printed.txt" || fail "the name typed as Bdfyjd B/B/ uh/ 101 is not Иванов И.и. Гр. 101"
if [ -n "$KEY" ]; then
    "$KEY" check "$PDF" >"$WORK/key.txt" 2>&1 || fail "orven-key check refuses the report: $(cat "$WORK/key.txt")"
    grep -qxF "Итог: все строки отчёта на месте, все числа совпадают с пересчётом." "$WORK/key.txt" &&
        [ "$(grep -c "числа: все строки блока" "$WORK/key.txt")" -eq 2 ] ||
        fail "orven-key check: $(cat "$WORK/key.txt")"
fi
echo "$NAME: passed in $(($(now) - START))s ($(grep -c . "$WORK/plan.tsv") steps)"
