#!/bin/sh
# A student on a real desktop: the program under the openbox window manager on
# a 1366x768 display, driven with the mouse and the keyboard (desktop plan of
# orven_session_plan). It shows that
# - the question "Внимание !" is a window owned by the data screen and stays
#   above it when the screen behind is clicked;
# - the box "ОШИБКА !" of a pack count out of range belongs to the arrangement
#   screen;
# - the window manager's close (WM_DELETE_WINDOW) of the description and the
#   advice goes back, of the question answers "Да" (the correction goes on),
#   and of the results ends the program with status 0 and a finished report;
# - at the desktop scale factors 1.25, 1.5 and 2 every window's frame lies
#   inside the display;
# - the name typed as the keys Bdfyjd B/B/ is "Иванов И.и." with the US
#   layout alone (the box maps the keys), and after Alt+Shift "Smith J. gr.
#   101" stays Latin ("Smith J. Gr. 101"); with "us,ru" the program switches
#   the keyboard to the Russian group while the name box is open and back to
#   the US one after it.
#
# Each part is a test of its own:
#   desktop_session.sh <orven binary> <orven_session_plan binary> PART
# PART: dialogs (the question, the error box, the closes), scale-<factor>,
# keyboards (us,ru).
set -u
PART=${3:-dialogs}
NAME=desktop_$PART
ORVEN=$1
PLANNER=$2
ORVEN_E2E_SCREEN=1366x768x24
export ORVEN_E2E_SCREEN
. "$(dirname "$0")/driver.sh"
for tool in openbox setxkbmap xprop; do
    command -v "$tool" >/dev/null 2>&1 || {
        echo "$NAME: SKIPPED: $tool is not installed (scripts/install-deps installs it)"
        exit 77
    }
done
DISPLAY_W=1366
DISPLAY_H=768

openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
OPENBOX_PID=$!
CLEANUP="kill $OPENBOX_PID"
deadline=$(($(now) + STEP_TIMEOUT))
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
    [ "$(now)" -lt "$deadline" ] || fail "openbox did not start"
    sleep 0.1
done

make_plan desktop
QUESTION_STEP=$(grep -n "^close	Внимание !" "$WORK/plan.tsv" | cut -d: -f1)

# Every shown window's frame inside the display (the window manager puts its
# borders and title round the window: _NET_FRAME_EXTENTS), within a moment for
# a window that has only just come up.
frames_inside() {
    for id in $(program_windows); do
        geometry=$(xwininfo -id "$id" 2>/dev/null) || continue
        x=$(echo "$geometry" | awk '/Absolute upper-left X:/ { print $4 }')
        y=$(echo "$geometry" | awk '/Absolute upper-left Y:/ { print $4 }')
        w=$(echo "$geometry" | awk '/Width:/ { print $2 }')
        h=$(echo "$geometry" | awk '/Height:/ { print $2 }')
        set -- $(xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | sed 's/.*= //; s/,//g')
        [ $# -eq 4 ] || set -- 0 0 0 0
        if [ $((x - $1)) -lt 0 ] || [ $((y - $3)) -lt 0 ] ||
            [ $((x + w + $2)) -gt $DISPLAY_W ] || [ $((y + h + $4)) -gt $DISPLAY_H ]; then
            echo "\"$(xdotool getwindowname "$id")\" ${w}x${h}+${x}+${y}, frame $*"
            return 1
        fi
    done
    return 0
}
check_frames() {
    deadline=$(($(now) + 3))
    while ! outside=$(frames_inside); do
        [ "$(now)" -lt "$deadline" ] || fail "at ${QT_SCALE_FACTOR:-1} after step $step a frame is outside the display: $outside"
        sleep 0.2
    done
}

# The window stacked above another (openbox lists clients bottom to top).
stacked_above() {
    order=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g')
    upper=-1
    lower=-1
    i=0
    for id in $order; do
        [ $((id)) -eq $(($1)) ] && upper=$i
        [ $((id)) -eq $(($2)) ] && lower=$i
        i=$((i + 1))
    done
    [ "$lower" -ge 0 ] && [ "$upper" -gt "$lower" ]
}

# One whole desktop session, ended by the results' close button: status 0
# and the report with the name.
finish_session() {
    wait_exit "after the results were closed"
    [ "$EXIT_STATUS" -eq 0 ] || fail "$1: the program ended with status $EXIT_STATUS"
    report_pdf
    pdftotext -layout "$PDF" "$WORK/printed.txt" || fail "$1: pdftotext cannot read $PDF"
    [ -n "${2:-}" ] || grep -q "Иванов И\.и\." "$WORK/printed.txt" ||
        fail "$1: the report does not name Иванов И.и.: $(sed -n 2p "$WORK/printed.txt")"
    rm -f "$WORK/orven.err"
}

case "$PART" in
dialogs)
# The question and the screen behind it; the closes of the whole session.
setxkbmap -layout us
start_orven
run_steps $((QUESTION_STEP - 1))
dialog=$(wait_window "Внимание !") || exit 1
behind=$(wait_window "   ПРОВЕРКА ВВОДА ИСХОДНОЙ ИНФОРМАЦИИ") || exit 1
xprop -id "$dialog" WM_TRANSIENT_FOR | grep -q "$(printf '0x%x' "$behind")" ||
    fail "the question is not transient for the data screen: $(xprop -id "$dialog" WM_TRANSIENT_FOR)"
settle "$dialog"
xdotool mousemove --window "$behind" 30 400 click 1
settle "$behind"
stacked_above "$dialog" "$behind" || fail "a click on the data screen put it over the question"
# The box of a pack count out of range stands on the arrangement screen.
error_box_owned() {
    arrangement=$(wait_window "Выбор компоновки пластин") || exit 1
    xprop -id "$box" WM_TRANSIENT_FOR | grep -q "$(printf '0x%x' "$arrangement")" ||
        fail "the box \"ОШИБКА !\" is not transient for the arrangement screen: $(xprop -id "$box" WM_TRANSIENT_FOR)"
}
BEFORE_YES=error_box_owned
run_steps "" "$QUESTION_STEP"
BEFORE_YES=:
finish_session "closes under openbox"

    ;;
scale-*)
# A scale factor of the desktop.
    factor=${PART#scale-}
    QT_SCALE_FACTOR=$factor
    export QT_SCALE_FACTOR
    AFTER_STEP=check_frames
    start_orven
    wait_window "НАЧАЛО РАБОТЫ С ПРОГРАММОЙ" >/dev/null
    step=0
    check_frames
    run_steps
    finish_session "scale $factor"
    AFTER_STEP=:
    unset QT_SCALE_FACTOR
    ;;
keyboards)
# The US layout alone: Alt+Shift in the name box switches it to the keys' own
# letters, as a desktop's layout switch would, so that a Latin name can be
# typed (and is put in proper case).
setxkbmap -layout us
NAME_STEP=$(grep -n "^input	ВВОД ФАМИЛИИ" "$WORK/plan.tsv" | cut -d: -f1)
start_orven
run_steps $((NAME_STEP - 1))
namebox=$(wait_window "ВВОД ФАМИЛИИ") || exit 1
xdotool windowfocus --sync "$namebox" || fail "focusing the name box"
settle "$namebox"
xdotool key alt+shift
settle "$namebox"
xdotool type --delay 20 "Smith J. gr. 101"
xdotool key Return
wait_gone "$namebox" "ВВОД ФАМИЛИИ"
LAST_BOX=$namebox
run_steps "" $((NAME_STEP + 1))
finish_session "Latin name after Alt+Shift" latin
grep -q "Smith J\. Gr\. 101" "$WORK/printed.txt" ||
    fail "Latin name after Alt+Shift: the report names $(grep -m1 -i "smith\|ыьшер" "$WORK/printed.txt")"

# True once the keyboard is on group $1, within the step's time.
wait_group() {
    deadline=$(($(now) + STEP_TIMEOUT))
    until [ "$("$PLANNER" keyboard-group)" = "$1" ]; do
        [ "$(now)" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# A keyboard with a Russian group: the program switches to it for the name.
# (xdotool types each key by its US keysym, so the name itself comes out in
# Latin letters here.)
setxkbmap -layout us,ru
NAME_STEP=$(grep -n "^input	ВВОД ФАМИЛИИ" "$WORK/plan.tsv" | cut -d: -f1)
start_orven
run_steps $((NAME_STEP - 1))
namebox=$(wait_window "ВВОД ФАМИЛИИ") || exit 1
settle "$namebox"
wait_group 1 || fail "us,ru: the name box is open with the keyboard on group $("$PLANNER" keyboard-group)"
run_steps $((NAME_STEP + 1)) "$NAME_STEP"
# The program switches back once the box has closed, after the step is done.
wait_group 0 || fail "us,ru: after the name box the keyboard stays on group $("$PLANNER" keyboard-group)"
run_steps "" $((NAME_STEP + 2))
finish_session "layouts us,ru" latin
setxkbmap -layout us
    ;;
*) fail "no part $PART" ;;
esac
echo "$NAME: passed in $(($(now) - START))s"
