#!/bin/sh
# A course's whole cycle in the real teacher's window under a virtual X
# display, by mouse and keyboard (xdotool): the class list imported through
# the file dialog, the draw number typed into the template's form and the
# set drawn, the grading worksheet and Moodle's zip taken through file
# dialogs and graded, a held row's grade set by hand, and the files for
# Moodle saved. Each file is compared with what orven-key writes from the
# same inputs: the set with assign's, the grading with grade's (the row set
# by hand aside).
#
#   teacher_session.sh <orven-teacher> <orven_teacher_plan> <orven-key>
#
# Exit status 0: passed; 77: the tools for a virtual display are missing.
set -u
NAME=teacher_session
ORVEN=$1
PLANNER=$2
KEY=$3
. "$(dirname "$0")/driver.sh"
SOURCE=$(cd "$(dirname "$0")/../.." && pwd)
COURSE=$WORK/course

# The class, and the template as the teacher wrote it, in the course.
mkdir -p "$COURSE" "$WORK/hand"
printf '%s\n' 'фамилия,группа,email' 'Верный Вадим,Х-11,vernyi@example.org' \
    'Копиев Кирилл,Х-11,kopiev@example.org' 'Дублёва Дарья,Х-11,dubleva@example.org' \
    'Неявкин Никита,Х-11,neyavkin@example.org' >"$WORK/list.csv"
cp "$SOURCE/tests/key/class_template.txt" "$COURSE/шаблон.txt"

# Where the controls are, as the window lays itself out.
mkdir -p "$WORK/home"
env -u QT_QPA_PLATFORM HOME="$WORK/home" LANG=ru_RU.UTF-8 LANGUAGE=ru "$PLANNER" plan "$COURSE" >"$WORK/plan.tsv" ||
    fail "the window's layout could not be read"
at() {
    line=$(grep "^$1	" "$WORK/plan.tsv") || fail "no control $1 in the plan"
    echo "$line" | cut -f2,3 | tr '\t' ' '
}

(
    unset QT_QPA_PLATFORM XDG_CONFIG_HOME
    export HOME="$WORK/home" LANG=ru_RU.UTF-8 LANGUAGE=ru
    exec "$ORVEN" "$COURSE" 2>>"$WORK/orven.err"
) &
ORVEN_PID=$!
WINDOW=$(wait_window "ORVEN — преподаватель — $COURSE")
click() {
    # shellcheck disable=SC2046
    xdotool mousemove --window "$WINDOW" $(at "$1") click 1
    settle "$WINDOW"
}
# A file dialog: its name typed where the focus is, then Enter.
answer_dialog() {
    dialog=$(wait_window "$1" "$WINDOW")
    xdotool windowfocus --sync "$dialog" 2>/dev/null
    settle "$dialog"
    xdotool type --delay 10 "$2"
    xdotool key Return
    wait_gone "$dialog" "$1"
    settle "$WINDOW"
}
# With ORVEN_E2E_SHOTS naming a folder, a picture of the window there.
shoot() {
    [ -z "${ORVEN_E2E_SHOTS:-}" ] || env -u QT_QPA_PLATFORM "$PLANNER" shot "$WINDOW" "$ORVEN_E2E_SHOTS/$1.png"
}
wait_file() {
    deadline=$(($(now) + STEP_TIMEOUT))
    until [ -s "$1" ]; do
        [ "$(now)" -lt "$deadline" ] || fail "no $2 within ${STEP_TIMEOUT}s"
        sleep 0.2
    done
    settle "$WINDOW"
}

# Студенты: the list through the file dialog.
shoot teacher-start
click import
answer_dialog "Список группы" "$WORK/list.csv"
cmp -s "$WORK/list.csv" "$COURSE/список.csv" || fail "the class list was not imported"

# Задания: the draw number typed, the set drawn.
shoot teacher-students
click tabTasks
click draw
xdotool key ctrl+a
xdotool type "5"
click drawSet
wait_file "$COURSE/ключ.pdf" "drawn set"
sleep 1
shoot teacher-tasks
cp "$WORK/list.csv" "$WORK/hand/список.csv"
cp "$SOURCE/tests/key/class_template.txt" "$WORK/hand/шаблон.txt"
(cd "$WORK/hand" && "$KEY" assign --class список.csv --template шаблон.txt --out . --draw 5 \
    >/dev/null 2>&1) || fail "orven-key assign"
cmp -s "$COURSE/варианты.csv" "$WORK/hand/варианты.csv" || fail "the window's variants differ from assign's"
for pdf in задания ключ; do
    pdftotext -layout "$COURSE/$pdf.pdf" "$WORK/window-$pdf.txt"
    pdftotext -layout "$WORK/hand/$pdf.pdf" "$WORK/key-$pdf.txt"
    cmp -s "$WORK/window-$pdf.txt" "$WORK/key-$pdf.txt" || fail "the window's $pdf.pdf differs from assign's"
done

# What the class handed in: Верный his own report, Копиев and Дублёва one
# file between them, Неявкин nothing.
mkdir -p "$WORK/moodle/Вадим Верный_101_assignsubmission_file" \
    "$WORK/moodle/Кирилл Копиев_102_assignsubmission_file" \
    "$WORK/moodle/Дарья Дублёва_103_assignsubmission_file"
"$PLANNER" report "$COURSE/варианты/01.txt" "Верный Вадим Х-11" \
    "$WORK/moodle/Вадим Верный_101_assignsubmission_file/отчёт.pdf" || fail "report 1"
"$PLANNER" report "$COURSE/варианты/02.txt" "Копиев Кирилл Х-11" \
    "$WORK/moodle/Кирилл Копиев_102_assignsubmission_file/копиев.pdf" || fail "report 2"
cp "$WORK/moodle/Кирилл Копиев_102_assignsubmission_file/копиев.pdf" \
    "$WORK/moodle/Дарья Дублёва_103_assignsubmission_file/мой.pdf"
(cd "$WORK/moodle" && python3 -c 'import sys, zipfile, os
with zipfile.ZipFile(sys.argv[1], "w") as z:
    for d in sorted(os.listdir(".")):
        for f in sorted(os.listdir(d)):
            z.write(os.path.join(d, f))' "$WORK/answers.zip") || fail "the zip"
{
    echo "Identifier,Full name,Email address,Status,Grade,Maximum grade,Grade can be changed,Last modified (submission),Last modified (grade),Feedback comments"
    echo "Participant 101,Вадим Верный,vernyi@example.org,Submitted,,100.00,Yes,-,-,"
    echo "Participant 102,Кирилл Копиев,kopiev@example.org,Submitted,,100.00,Yes,-,-,"
    echo "Participant 103,Дарья Дублёва,dubleva@example.org,Submitted,,100.00,Yes,-,-,"
    echo "Participant 104,Никита Неявкин,neyavkin@example.org,No submission,,100.00,Yes,-,-,"
} >"$WORK/worksheet.csv"

# Проверка: the worksheet and the zip through their dialogs; the first row
# (held) graded by hand; saved.
click tabGrading
click takeWorksheet
answer_dialog "Ведомость оценок из Moodle" "$WORK/worksheet.csv"
click gradeZip
answer_dialog "Ответы из Moodle" "$WORK/answers.zip"
deadline=$(($(now) + STEP_TIMEOUT))
sleep 2
settle "$WINDOW"
click gradingRow1
click handScore
xdotool key ctrl+a
xdotool type "85"
click setHandGrade
shoot teacher-grading
[ -s "$COURSE/оценки преподавателя.csv" ] || fail "the grade set by hand was not kept"
click saveForMoodle
wait_file "$COURSE/ведомость с оценками.csv" "files for Moodle"

"$KEY" grade --class "$COURSE/варианты.csv" "$WORK/answers.zip" --csv "$WORK/key.csv" \
    --worksheet "$WORK/worksheet.csv" --out "$WORK/key-sheet.csv" --feedback-zip "$WORK/key.zip" \
    >"$WORK/grade.txt" 2>&1
[ $? -le 1 ] || fail "orven-key grade: $(cat "$WORK/grade.txt")"
# Every row as the key has it, but Копиев's, which the teacher set to 85.
python3 - "$COURSE/оценки.csv" "$WORK/key.csv" "$COURSE/ведомость с оценками.csv" "$WORK/key-sheet.csv" \
    "$COURSE/отзывы.zip" "$WORK/key.zip" <<'PY' || fail "the files for Moodle differ from grade's"
import csv, sys, zipfile
def rows(path):
    with open(path, newline="", encoding="utf-8-sig") as f:
        return list(csv.reader(f))
for window, key in ((sys.argv[1], sys.argv[2]), (sys.argv[3], sys.argv[4])):
    w, k = rows(window), rows(key)
    assert len(w) == len(k), (window, len(w), len(k))
    for a, b in zip(w, k):
        if any("Копиев" in field for field in a):
            assert "85" in a or "85.00" in a, a
        else:
            assert a == b, (a, b)
names = lambda p: sorted(zipfile.ZipFile(p).namelist())
assert names(sys.argv[5]) == names(sys.argv[6]), (names(sys.argv[5]), names(sys.argv[6]))
PY
echo "$NAME: passed in $(($(now) - START))s"
