# The teacher's programs of the Windows build under Wine (sourced by
# windows_check.sh, in its prefix and on its display; $EXE is the unpacked
# zip's orven.exe, $PDF the report of its session):
# - orven-key.exe check of that report prints what the Linux build's prints;
# - orven-key.exe assign, given Cyrillic names and a drive-letter path with
#   "\", writes the set the Linux build writes from the same files;
# - orven-key.exe grade of reports the Linux build wrote prints and writes
#   what the Linux build's grade does;
# - orven-teacher.exe opens the course, its three steps are pictured
#   (build-windows/windows-teacher-*.png), and it grades the class's zip
#   (Alt+Z, the file dialog) and saves the files for Moodle (Alt+M): the
#   gradebook is the Linux key's.
# Outputs are compared with paths and line ends aside.

FOLDER=$(dirname "$EXE")
KEY_EXE=$FOLDER/orven-key.exe
C=$WINEPREFIX/drive_c
# A Windows line's own: CR off, each path given put as the word PATH.
plain() {
    tr -d '\r' | sed -e "s|$1|PATH|g" -e "s|$2|PATH|g"
}

# check
wine "$KEY_EXE" check "$(winepath -w "$PDF")" >"$WORK/check-windows.txt" 2>&1
windows_status=$?
"$LINUX_KEY" check "$PDF" >"$WORK/check-linux.txt" 2>&1
[ "$windows_status" -eq $? ] || fail "orven-key.exe check: status $windows_status"
plain <"$WORK/check-windows.txt" "$(winepath -w "$PDF" | sed 's|\\|\\\\|g')" "$PDF" >"$WORK/a.txt"
plain <"$WORK/check-linux.txt" "$PDF" "$PDF" >"$WORK/b.txt"
cmp -s "$WORK/a.txt" "$WORK/b.txt" || fail "orven-key.exe check differs: $(diff "$WORK/a.txt" "$WORK/b.txt" | head -5)"

# assign: a class in a Cyrillic folder, the out folder as a drive-letter path.
mkdir -p "$C/курс" "$WORK/linux-class"
printf '%s\r\n' 'фамилия,группа,email' 'Верный Вадим,Х-11,vernyi@example.org' \
    'Копиев Кирилл,Х-11,kopiev@example.org' 'Дублёва Дарья,Х-11,dubleva@example.org' \
    'Неявкин Никита,Х-11,neyavkin@example.org' >"$C/курс/список.csv"
cp "$SOURCE/tests/key/class_template.txt" "$C/курс/шаблон.txt"
cp "$C/курс/список.csv" "$C/курс/шаблон.txt" "$WORK/linux-class/"
(cd "$C/курс" && wine "$KEY_EXE" assign --class список.csv --template шаблон.txt \
    --out 'C:\курс' --draw 5 >"$WORK/assign-windows.txt" 2>&1) ||
    fail "orven-key.exe assign: $(tr -d '\r' <"$WORK/assign-windows.txt" | tail -3)"
(cd "$WORK/linux-class" && "$LINUX_KEY" assign --class список.csv --template шаблон.txt \
    --out . --draw 5 >/dev/null 2>&1) || fail "orven-key assign"
# The same draw, the same design files and sheets, but for the last digits of
# the properties (same_text.py says why).
SAME="python3 $SOURCE/tests/windows/same_text.py"
: >"$WORK/same.txt"
$SAME "$C/курс/варианты.csv" "$WORK/linux-class/варианты.csv" >>"$WORK/same.txt" ||
    fail "assign's variants differ on Windows"
for file in "$WORK/linux-class/варианты"/*.txt; do
    $SAME "$C/курс/варианты/$(basename "$file")" "$file" >>"$WORK/same.txt" ||
        fail "assign's $(basename "$file") differs on Windows"
done
for pdf in задания ключ; do
    pdftotext -layout "$C/курс/$pdf.pdf" "$WORK/w-$pdf.txt"
    pdftotext -layout "$WORK/linux-class/$pdf.pdf" "$WORK/l-$pdf.txt"
    # The key's cover names the out folder as it was given.
    sed -i 's|C:\\курс|.|g' "$WORK/w-$pdf.txt"
    $SAME "$WORK/w-$pdf.txt" "$WORK/l-$pdf.txt" >>"$WORK/same.txt" || fail "assign's $pdf.pdf differs on Windows"
done

# grade: the Linux build's reports of the class, as Moodle's zip unpacked.
moodle=$C/ответы
mkdir -p "$moodle/Вадим Верный_101_assignsubmission_file" "$moodle/Кирилл Копиев_102_assignsubmission_file"
"$TEACHER_PLAN" report "$C/курс/варианты/01.txt" "Верный Вадим Х-11" \
    "$moodle/Вадим Верный_101_assignsubmission_file/отчёт.pdf" || fail "a report"
"$TEACHER_PLAN" report "$C/курс/варианты/03.txt" "Копиев Кирилл Х-11" \
    "$moodle/Кирилл Копиев_102_assignsubmission_file/отчёт.pdf" || fail "a report"
wine "$KEY_EXE" grade --class 'C:\курс\варианты.csv' 'C:\ответы' --csv 'C:\курс\оценки-ключ.csv' \
    >"$WORK/grade-windows.txt" 2>&1
windows_status=$?
"$LINUX_KEY" grade --class "$C/курс/варианты.csv" "$moodle" --csv "$WORK/grade-linux.csv" \
    >"$WORK/grade-linux.txt" 2>&1
[ "$windows_status" -eq $? ] || fail "orven-key.exe grade: status $windows_status"
plain <"$WORK/grade-windows.txt" 'C:\\ответы\\' 'C:\\курс\\' | tr '\\' '/' >"$WORK/a.txt"
plain <"$WORK/grade-linux.txt" "$moodle/" "$C/курс/" >"$WORK/b.txt"
cmp -s "$WORK/a.txt" "$WORK/b.txt" || fail "orven-key.exe grade differs: $(diff "$WORK/a.txt" "$WORK/b.txt" | head -6)"
cmp -s "$C/курс/оценки-ключ.csv" "$WORK/grade-linux.csv" || fail "grade's gradebook differs on Windows"
echo "$NAME: orven-key.exe check, assign and grade agree with the Linux build's ($(sort -u "$WORK/same.txt" | sort -t' ' -k5 -g | tail -1 | cut -d' ' -f2-))"

# The teacher's window on the course: its steps, then the zip graded.
python3 -c 'import sys, zipfile, os
os.chdir(sys.argv[1])
with zipfile.ZipFile(sys.argv[2], "w") as z:
    for d in sorted(os.listdir(".")):
        for f in sorted(os.listdir(d)):
            z.write(os.path.join(d, f))' "$moodle" "$C/answers.zip" || fail "the zip"
(
    cd "$FOLDER" || exit 1
    exec wine "$FOLDER/orven-teacher.exe" 'C:\курс' 2>>"$WORK/orven.err"
) &
ORVEN_PID=$!
teacher=$(wait_window 'ORVEN — преподаватель — C:\курс') || exit 1
settle "$teacher"
sleep 1
for step in students tasks grading; do
    "$TEACHER_PLAN" shot "$teacher" "$BUILD/windows-teacher-$step.png" || fail "no picture of the teacher's $step"
    xdotool windowfocus --sync "$teacher" key ctrl+Tab
    settle "$teacher"
    sleep 1
done
# On Проверка (Ctrl+Tab went round once more): the zip through its dialog.
xdotool windowfocus --sync "$teacher" key ctrl+shift+Tab
settle "$teacher"
xdotool key alt+z
dialog=$(wait_window "Ответы из Moodle" "$teacher") || exit 1
settle "$dialog"
# The path's keys as raw keycodes with the Latin group locked: xdotool's own
# typing may take ":" from the Russian group's key (Shift+6), which the Latin
# group makes "^".
"$PLANNER" lock-group 0
keys=$("$PLANNER" keycodes 'C:\answers.zip') || fail "no keycodes for the zip's path"
xdotool key --delay 20 $keys
xdotool key Return
wait_gone "$dialog" "Ответы из Moodle"
sleep 3
settle "$teacher"
"$TEACHER_PLAN" shot "$teacher" "$BUILD/windows-teacher-grading.png"
xdotool windowfocus --sync "$teacher" key alt+m
wait_file "$C/курс" "отзывы.zip"
sleep 1
"$LINUX_KEY" grade --class "$C/курс/варианты.csv" "$C/answers.zip" --csv "$WORK/zip-linux.csv" >/dev/null 2>&1
cmp -s "$C/курс/оценки.csv" "$WORK/zip-linux.csv" || fail "the teacher's window's gradebook differs from the Linux key's"
"$PLANNER" wm-close "$teacher" || true
wait_exit "after the teacher's window was closed"
echo "$NAME: orven-teacher.exe graded the class as the Linux key does"
