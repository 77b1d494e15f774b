#!/bin/sh
# make windows-check: the Windows build of the student program under Wine on a
# virtual display with the openbox window manager, in a Wine prefix of its own
# (Liberation's fonts standing in for Courier New, Arial and Times New Roman).
# - the zip's orven.exe starts to its main menu; pictures of the menu, the
#   catalogue table and the results are taken (build-windows/windows-*.png);
# - the same session as the Linux build's real-session test (the plan of
#   orven_session_plan) is driven with xdotool through name, type, the 14
#   values, an exchanger, packs, results, two prints and the end; the PDF it
#   leaves in the prefix's Documents is read back with pdftotext and compared
#   line by line with that session's report as the recording printer has it;
# - the Windows session ending (log-off) with a report open finishes it;
# - the installer runs silently (/S), the installed program starts to its
#   main menu, and the uninstaller removes it; silent for all users into the
#   folder of /D=; the MSI in and out with msiexec /qn.
#
# - the teacher's programs: tests/windows/teacher_check.sh.
#
#   windows_check.sh <build-windows folder> <orven_session_plan of the Linux build>
#                    <orven-key of the Linux build> <orven_teacher_plan of the Linux build>
#
# Exit status 0: all held; 77: a tool is missing; anything else: failure.
set -u
NAME=windows_check
BUILD=$(cd "$1" && pwd)
PLANNER=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
LINUX_KEY=$(cd "$(dirname "$3")" && pwd)/$(basename "$3")
TEACHER_PLAN=$(cd "$(dirname "$4")" && pwd)/$(basename "$4")
SOURCE=$(cd "$(dirname "$0")/../.." && pwd)
ORVEN=wine # for the driver's messages
ORVEN_E2E_STEP_TIMEOUT=${ORVEN_E2E_STEP_TIMEOUT:-60}
export ORVEN_E2E_STEP_TIMEOUT
. "$(dirname "$0")/../e2e/driver.sh"
for tool in wine wineboot wineserver openbox setxkbmap xprop python3; do
    command -v "$tool" >/dev/null 2>&1 || {
        echo "$NAME: SKIPPED: $tool is not installed (scripts/install-deps --windows installs it)"
        exit 77
    }
done
set -- "$BUILD"/orven-*-win64.zip
ZIP=$1
set -- "$BUILD"/orven-*-setup.exe
SETUP=$1
[ -f "$ZIP" ] && [ -f "$SETUP" ] || fail "no zip or installer in $BUILD (make windows)"

# A prefix and a home of its own (Wine links the user's Documents to $HOME); no
# Mono or Gecko installers asked for, no menu entries made on the host.
mkdir -p "$WORK/home" "$WORK/locale"
export HOME="$WORK/home"
# A Russian user: Wine takes Windows' locale (decimal commas, code page 1251)
# from the C library's, which is made here if the system has none.
localedef -i ru_RU -f UTF-8 "$WORK/locale/ru_RU.UTF-8" 2>/dev/null ||
    fail "localedef cannot make the ru_RU.UTF-8 locale"
export LOCPATH="$WORK/locale" LANG=ru_RU.UTF-8 LANGUAGE=ru
export WINEPREFIX="$WORK/prefix" WINEARCH=win64 WINEDEBUG=-all
# The box that says where a report went asks whether to open it, and "Да" is
# answered: with winebrowser off the opening fails at once (the prefix has no
# PDF viewer), as it would on Windows without one, and the program goes on.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winebrowser.exe=d"
wineboot -i >"$WORK/wineboot.log" 2>&1 || fail "wineboot: $(tail -3 "$WORK/wineboot.log")"
wineserver -w
FONTS="$WINEPREFIX/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf \
    /usr/share/wine/fonts/marlett.ttf "$FONTS/" 2>/dev/null
for pair in "Courier New=Liberation Mono" "Arial=Liberation Sans" \
    "Times New Roman=Liberation Serif"; do
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v "${pair%%=*}" /d "${pair#*=}" /f >/dev/null 2>&1
done
USER_HOME="$WINEPREFIX/drive_c/users/$(id -un)"
DOCUMENTS="$USER_HOME/Documents"

openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
OPENBOX_PID=$!
end_wine() {
    # What was on the display, for a failure's message.
    for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
        echo "$NAME: window on the display: \"$(xdotool getwindowname "$id" 2>/dev/null)\"" >>"$WORK/orven.err"
    done
    ps -eo pid,args | grep -i '[.]exe' >>"$WORK/orven.err"
    wineserver -k 2>/dev/null
    kill "$OPENBOX_PID" 2>/dev/null
}
CLEANUP=end_wine
deadline=$(($(now) + STEP_TIMEOUT))
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
    [ "$(now)" -lt "$deadline" ] || fail "openbox did not start"
    sleep 0.1
done
# Wine types what the X keymap gives: Russian, for the name's Cyrillic.
setxkbmap -layout us,ru -option grp:alt_shift_toggle

make_plan
MENU_TITLE=$(head -1 "$WORK/plan.tsv" | cut -f2)

# The program under Wine: its windows are all the display's shown windows
# (Wine's own processes own them).
program_windows() {
    xdotool search --onlyvisible --name . 2>/dev/null
}
start_orven() {
    (
        cd "$(dirname "$EXE")" || exit 1
        exec wine "$EXE" 2>>"$WORK/orven.err"
    ) &
    ORVEN_PID=$!
}
# The name is typed as the plan has it, the keys of "Иванов И.и. Гр. 101" on a
# US keyboard: the program has switched Windows' layout to Russian, and Wine
# takes the characters from the X keymap, whose Russian group is locked while
# the name box is open.
NAME_STEP=$(grep -n '^input' "$WORK/plan.tsv" | head -1 | cut -d: -f1)
russian_for_the_name() {
    if [ "$step" -eq $((NAME_STEP - 1)) ]; then
        "$PLANNER" lock-group 1
    elif [ "$step" -eq "$NAME_STEP" ]; then
        "$PLANNER" lock-group 0
    fi
}
# The name's keys go as raw keycodes, so that each carries the locked Russian
# group. xdotool's own typing looks a character up in the whole keymap, where
# "/" is on a key of either layout; under load the name's dots came out as "/".
type_name_as_keys() {
    if [ "$step" -eq "$NAME_STEP" ]; then
        keys=$("$PLANNER" keycodes "$1") || return 1
        xdotool key --delay 20 $keys
    else
        type_text "$1"
    fi
}
TYPE_INPUT=type_name_as_keys
# Pictures of the screens with fixed-pitch columns, the first time each comes
# up: the catalogue table and the results.
picture_of() {
    [ -f "$BUILD/$2" ] && return 0
    shown=$(wait_window "$1") || exit 1
    settle "$shown"
    sleep 1
    "$PLANNER" shot "$shown" "$BUILD/$2" || fail "no picture of \"$1\""
}
after_windows_step() {
    russian_for_the_name
    next=$(sed -n "$((step + 1))p" "$WORK/plan.tsv" | cut -f2)
    case "$next" in
    "Выбор конструктивных параметров теплообменника") picture_of "$next" windows-selection.png ;;
    "Результаты расчета") picture_of "$next" windows-results.png ;;
    esac
}
AFTER_STEP=after_windows_step


# The zip, unpacked in the prefix: the main menu, and its picture.
python3 -m zipfile -e "$ZIP" "$WINEPREFIX/drive_c/" || fail "cannot unpack $ZIP"
set -- "$WINEPREFIX"/drive_c/orven-*-win64/orven.exe
EXE=$1
start_orven
rm -f "$BUILD"/windows-*.png
picture_of "$MENU_TITLE" windows-menu.png

# The session of the plan.
run_steps
wait_end "after the end button"
set -- "$DOCUMENTS"/orven-report-*.pdf
[ $# -eq 1 ] && [ -f "$1" ] || fail "expected one report PDF in $DOCUMENTS, found: $*"
PDF=$1
compare_with_plan "$PDF" "the Windows session"
grep -q "Иванов И\.и\. Гр\. 101" "$WORK/printed.txt" || fail "the name is not Иванов И.и. Гр. 101"
echo "$NAME: the session's report agrees with the Linux build's ($(grep -c . "$WORK/plan.tsv") steps)"
. "$(dirname "$0")/teacher_check.sh"

# The session ends (log-off, shut-down: Wine's end of session sends
# WM_QUERYENDSESSION and WM_ENDSESSION) with a report open: it is finished.
rm -f "$DOCUMENTS"/orven-report-*.pdf
start_orven
run_steps "$(step_of "Печать результатов" 1)"
wait_file "$USER_HOME/AppData/Local/orven" 'orven-report-*.journal'
wineboot --end-session >"$WORK/end-session.log" 2>&1
wait_exit "after the end of the session"
set -- "$DOCUMENTS"/orven-report-*.pdf
[ $# -eq 1 ] && [ -f "$1" ] || fail "no report finished at the end of the session in $DOCUMENTS"
pdftotext -layout "$1" - | grep -q "РЕЗУЛЬТАТЫ" || fail "the report of the ended session has no results block"
echo "$NAME: the session's end finished the open report"

# The installer, silent: the program in the user's programs, its Start-menu
# entry, and gone again with the uninstaller.
wine "$SETUP" /S /CurrentUser >"$WORK/setup.log" 2>&1 || fail "the installer failed: $(tail -3 "$WORK/setup.log")"
wineserver -w
INSTALLED="$USER_HOME/AppData/Local/Programs/ORVEN"
[ -f "$INSTALLED/orven.exe" ] || INSTALLED=$(dirname "$(find "$WINEPREFIX/drive_c" -path '*ORVEN/orven.exe' | head -1)")
[ -f "$INSTALLED/orven.exe" ] || fail "the installer left no orven.exe"
find "$USER_HOME" -name 'ORVEN.lnk' | grep -q . || fail "the installer made no Start-menu entry"
EXE="$INSTALLED/orven.exe"
start_orven
menu=$(wait_window "$MENU_TITLE") || exit 1
"$PLANNER" wm-close "$menu" || true
wait_exit "after the installed program's main menu was closed"
wine "$INSTALLED/uninstall.exe" /S /CurrentUser >"$WORK/uninstall.log" 2>&1
wineserver -w
# The uninstaller copies itself away and runs from there: wait for its end.
deadline=$(($(now) + STEP_TIMEOUT))
while [ -e "$INSTALLED/orven.exe" ]; do
    [ "$(now)" -lt "$deadline" ] || fail "the uninstaller left $INSTALLED"
    sleep 0.5
done
find "$USER_HOME" -name 'ORVEN.lnk' | grep -q . && fail "the uninstaller left the Start-menu entry"

# A lab's deployment: the installer silent as administrator (Wine's user is
# one) into a folder of /D=, for all users, with the size in its entry.
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\ORVEN'
wine "$SETUP" /S '/D=C:\Лаборатория\ORVEN' >"$WORK/setup.log" 2>&1 || fail "the installer /S /D= failed"
wineserver -w
LAB="$WINEPREFIX/drive_c/Лаборатория/ORVEN"
[ -f "$LAB/orven.exe" ] && [ -f "$LAB/orven-teacher.exe" ] && [ -f "$LAB/orven-key.exe" ] ||
    fail "the installer did not honour /D="
wine reg query "$UNINSTALL_KEY" /v EstimatedSize >"$WORK/reg.txt" 2>&1 ||
    fail "no uninstall entry for all users with its size"
find "$WINEPREFIX/drive_c/ProgramData" -name 'ORVEN — преподаватель.lnk' | grep -q . ||
    fail "no Start-menu entry of the teacher's for all users"
wine "$LAB/uninstall.exe" /S /AllUsers >/dev/null 2>&1
wineserver -w
deadline=$(($(now) + STEP_TIMEOUT))
while [ -e "$LAB/orven.exe" ]; do
    [ "$(now)" -lt "$deadline" ] || fail "the uninstaller left $LAB"
    sleep 0.5
done
echo "$NAME: the installer deploys silently for all users into the folder of /D="

# The MSI, as Group Policy runs it: in and out without a word.
set -- "$BUILD"/orven-*.msi
[ -f "$1" ] || fail "no MSI in $BUILD"
MSI_WINDOWS=$(winepath -w "$1")
wine msiexec /i "$MSI_WINDOWS" /qn >"$WORK/msi.log" 2>&1 || fail "msiexec /i /qn: $(tail -3 "$WORK/msi.log")"
wineserver -w
PROGRAMS="$WINEPREFIX/drive_c/Program Files/ORVEN"
[ -f "$PROGRAMS/orven.exe" ] && [ -f "$PROGRAMS/orven-teacher.exe" ] || fail "the MSI installed nothing into Program Files"
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | tr -d '\r' |
    grep -q 'DisplayName.*ORVEN' || fail "the MSI has no uninstall entry"
find "$WINEPREFIX/drive_c" -name 'ORVEN — преподаватель.lnk' | grep -q . || fail "the MSI made no teacher's Start-menu entry"
wine msiexec /x "$MSI_WINDOWS" /qn >"$WORK/msi.log" 2>&1 || fail "msiexec /x /qn: $(tail -3 "$WORK/msi.log")"
wineserver -w
[ -e "$PROGRAMS/orven.exe" ] && fail "msiexec /x left $PROGRAMS"
echo "$NAME: the MSI installs and uninstalls silently"
echo "$NAME: passed in $(($(now) - START))s"
