#!/bin/sh
# Where the report goes when the documents folder cannot take it, with the real
# program under a virtual X display through the whole session (two printed
# blocks and the end button):
#  - the documents folder is a plain file: the report goes to the home folder;
#  - the documents folder is on a read-only file system: the home folder;
#  - the home folder is a small file system filled up to the last block: the
#    writes fail there, and the report goes to the temporary folder;
#  - nothing can be written anywhere: a message box says so at the first
#    print, no file is claimed to be written, and the program still ends well.
# Every PDF found is complete (pdfinfo) and holds exactly the printed blocks;
# a "written" line is never given for a file that is not there whole.
#
#   report_places.sh <orven binary> <orven_session_plan binary>
set -u
NAME=report_places
ORVEN=$1
PLANNER=$2
. "$(dirname "$0")/driver.sh"

MOUNTS=
mount_tmpfs() { # folder, options
    mkdir -p "$1"
    mount -t tmpfs -o "$2" tmpfs "$1" 2>/dev/null || return 1
    MOUNTS="$1 $MOUNTS"
}
unmount_all() {
    for m in $MOUNTS; do umount "$m" 2>/dev/null; done
    MOUNTS=
}
CLEANUP=unmount_all
CAN_MOUNT=yes
if ! mount_tmpfs "$WORK/probe" size=8k; then
    CAN_MOUNT=
    echo "$NAME: cannot mount a tmpfs here (not root, or no mount rights): the cases on small and read-only file systems are skipped"
fi
unmount_all

make_plan
first_print=$(step_of "Печать результатов" 1)

# The session with the home prepared by $1; TMPDIR is $WORK/tmp.
run_session() {
    rm -rf "$WORK/home" "$WORK/tmp"
    mkdir -p "$WORK/home" "$WORK/tmp"
    "$1"
    : >"$WORK/orven.err"
    TMPDIR=$WORK/tmp start_orven keep
    run_steps
    wait_end "($2)"
}

# The one report in $1, complete and as recorded, named on standard error as
# written; no other PDF anywhere.
expect_report_in() {
    set -- "$1"/orven-report-*.pdf "$2"
    [ -f "$1" ] || fail "$2: no report in $(dirname "$1")"
    all=$(find "$WORK/home" "$WORK/tmp" -name 'orven-report-*.pdf' 2>/dev/null | wc -l)
    [ "$all" -eq 1 ] || fail "$2: $all report files, not 1"
    grep -qF "отчёт записан в файл $1" "$WORK/orven.err" || fail "$2: $1 is not named as written"
    [ "$(grep -c 'отчёт записан в файл' "$WORK/orven.err")" -eq 1 ] || fail "$2: more than one written line"
    pdfinfo "$1" >/dev/null 2>&1 || fail "$2: pdfinfo cannot read $1"
    compare_with_plan "$1" "$2"
    leftover=$(find "$WORK/home" "$WORK/tmp" -name '*.journal' 2>/dev/null)
    [ -z "$leftover" ] || fail "$2: a journal was left: $leftover"
}

documents_file() { echo "not a folder" >"$WORK/home/Documents"; }
run_session documents_file "documents a plain file"
expect_report_in "$WORK/home" "documents a plain file"

if [ -n "$CAN_MOUNT" ]; then
    documents_read_only() { mount_tmpfs "$WORK/home/Documents" ro,size=64k || fail "mount"; }
    run_session documents_read_only "documents read-only"
    expect_report_in "$WORK/home" "documents read-only"
    unmount_all

    home_full() {
        mount_tmpfs "$WORK/home" size=64k || fail "mount"
        mkdir -p "$WORK/home/Documents"
        dd if=/dev/zero of="$WORK/home/filler" bs=1k 2>/dev/null
    }
    run_session home_full "full home"
    expect_report_in "$WORK/tmp" "full home"
    grep -q "отчёт не удалось записать в файл $WORK/home/Documents/orven-report-" "$WORK/orven.err" ||
        fail "full home: the failed write into the documents folder was not told"
    unmount_all

    # Nothing writable: home and temporary folder read-only.
    rm -rf "$WORK/home" "$WORK/tmp"
    mkdir -p "$WORK/home" "$WORK/tmp"
    mount_tmpfs "$WORK/home" ro,size=64k && mount_tmpfs "$WORK/tmp" ro,size=64k || fail "mount"
    : >"$WORK/orven.err"
    TMPDIR=$WORK/tmp start_orven keep
    run_steps "$first_print"
    box=$(wait_window "Отчёт не сохраняется") || exit 1
    xdotool windowfocus --sync "$box" && xdotool key Return
    wait_gone "$box" "Отчёт не сохраняется"
    # No report is written, so the box that would say where it went is not
    # shown either: the plan's last step (that box) is left out.
    last=$(grep -c . "$WORK/plan.tsv")
    tail -n 1 "$WORK/plan.tsv" | grep -q "^yes	ORVEN$" || fail "the plan does not end with the report's box"
    run_steps $((last - 1)) $((first_print + 1))
    wait_end "(nothing writable)"
    ! grep -q 'записан в файл' "$WORK/orven.err" || fail "nothing writable: a file is claimed as written"
    grep -q 'отчёт некуда сохранить' "$WORK/orven.err" || fail "nothing writable: not told on standard error"
    unmount_all
fi
echo "$NAME: passed in $(($(now) - START))s"
