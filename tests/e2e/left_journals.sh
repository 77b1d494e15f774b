#!/bin/sh
# Left journals as a hostile file could make them, against the real program:
# for each case the program shows its main menu within a second of an empty
# start's time, ends with status 0 on SIGTERM, and writes nothing but (where the
# case has one) the recovered report in the documents folder.
#  - a header naming another folder, absolute or relative to the working folder;
#  - a sparse 100 GB journal, a link to /dev/zero, a FIFO;
#  - a dangling link at the recovered report's name (written beside it);
#  - a newline in the journal's name;
#  - a journal that cannot be removed (read-only documents folder, where a
#    tmpfs can be mounted): recovered at the first start only, and said so;
#  - another user's journal (run as root: the program started as nobody with
#    setpriv; skipped otherwise).
#
#   left_journals.sh <orven binary> <orven_session_plan binary>
set -u
NAME=left_journals
ORVEN=$1
PLANNER=$2
. "$(dirname "$0")/driver.sh"

ms() { date +%s%3N; }
STATE=$WORK/home/.local/state/orven
DOCS=$WORK/home/Documents
GONE_PID=$(sh -c 'echo $$')
STAMP=2026-01-02-030405

# A journal of two blocks at $1, its header naming the report $2.
journal() {
    mkdir -p "$(dirname "$1")"
    printf 'ORVEN-JOURNAL 1 %s %s\nL Блок один\nB\nL Блок два\nB\n' "$GONE_PID" "$2" >"$1"
}

# Every path under $WORK but the program's own messages and runtime folder.
snapshot() {
    find "$WORK" -path "$WORK/runtime" -prune -o ! -path "$WORK/orven.err" ! -path "$WORK/before" \
        ! -path "$WORK/after" -print | sort
}

# Starts the program (in the working folder $PWD), waits for its main menu and
# ends it with SIGTERM; START_MS..MENU_MS is the time to the menu.
start_and_end() {
    : >"$WORK/orven.err"
    START_MS=$(ms)
    start_orven keep
    wait_window "НАЧАЛО РАБОТЫ С ПРОГРАММОЙ" >/dev/null || exit 1
    MENU_MS=$(ms)
    # The recovery runs beside the menu: its last line ($2) before the signal.
    if [ -n "${2:-}" ]; then
        wait_said "$2" "$1"
    else
        sleep 0.3
    fi
    kill -TERM "$ORVEN_PID"
    wait_end "after SIGTERM at the menu ($1)"
}

rm -rf "$WORK/home"
mkdir -p "$DOCS"
start_and_end "empty start"
EMPTY_MS=$((MENU_MS - START_MS))
echo "$NAME: an empty start reaches the menu in ${EMPTY_MS} ms"

# Case $1: prepared by the function $2; $3 the recovered report's name in the
# documents folder, a shell pattern (empty: none); $4 a text standard error
# must hold.
run_case() {
    rm -rf "$WORK/home" "$WORK/elsewhere" "$WORK/cwd"
    mkdir -p "$DOCS" "$STATE" "$WORK/cwd/a/b"
    chmod 700 "$STATE"
    "$2"
    snapshot >"$WORK/before"
    cd "$WORK/cwd/a/b" && start_and_end "$1" "${4:-${3:+восстановлен в файле}}" && cd "$WORK" || exit 1
    took=$((MENU_MS - START_MS))
    [ "$took" -le $((EMPTY_MS + 1000)) ] || fail "$1: the menu came after ${took} ms"
    snapshot >"$WORK/after"
    added=$(comm -13 "$WORK/before" "$WORK/after" | grep -v "^$STATE/recovered-journals$")
    if [ -n "$3" ]; then
        case "$added" in
        "$DOCS"/$3) ;;
        *) fail "$1: written: $added (expected $DOCS/$3)" ;;
        esac
        grep -qF "восстановлен в файле $added" "$WORK/orven.err" || fail "$1: the recovery was not told"
        pdftotext "$added" - | tr -s '\n\f' '  ' | grep -q "Блок один Блок два" ||
            fail "$1: the recovered report is not the journal's"
    else
        [ -z "$added" ] || fail "$1: written: $added"
    fi
    [ -z "$4" ] || grep -qF "$4" "$WORK/orven.err" || fail "$1: standard error does not say \"$4\""
    [ ! -e "$WORK/elsewhere/target.pdf" ] || fail "$1: written through a link"
    echo "$NAME: $1: menu in ${took} ms, passed"
}

recovered="orven-report-$STAMP-восстановлен.pdf"
absolute_header() { journal "$DOCS/.orven-report-a-1.journal" "$WORK/elsewhere/new/dir/x.pdf"; }
run_case "header names another folder" absolute_header "orven-report-*-восстановлен.pdf" ""
relative_header() { journal "$STATE/orven-report-a-1.journal" "../../escape.pdf"; }
run_case "relative header" relative_header "orven-report-*-восстановлен.pdf" ""
sparse() { journal "$STATE/orven-report-1-1.journal" x && truncate -s 100G "$STATE/orven-report-1-1.journal"; }
run_case "sparse 100 GB journal" sparse "" "больше 8 МБ"
zero() { ln -s /dev/zero "$STATE/orven-report-1-1.journal"; }
run_case "link to /dev/zero" zero "" "не обычный файл"
fifo() { mkfifo "$STATE/orven-report-1-1.journal"; }
run_case "FIFO" fifo "" "не обычный файл"
dangling() {
    journal "$STATE/orven-report-$STAMP-1.journal" "$DOCS/orven-report-$STAMP.pdf"
    ln -s "$WORK/elsewhere/target.pdf" "$DOCS/$recovered"
}
run_case "dangling link at the recovered name" dangling "orven-report-$STAMP-восстановлен-2.pdf" ""
newline() { journal "$STATE/orven-report-$STAMP-1
.journal" "$DOCS/orven-report-$STAMP.pdf"; }
run_case "newline in the journal's name" newline "$recovered" ""

# A journal that cannot be removed: recovered once, and told once.
mkdir -p "$WORK/probe"
if mount -t tmpfs -o size=64k tmpfs "$WORK/probe" 2>/dev/null; then
    umount "$WORK/probe"
    rmdir "$WORK/probe"
    rm -rf "$WORK/home"
    mkdir -p "$DOCS"
    mount -t tmpfs -o size=1m tmpfs "$DOCS" || fail "mount"
    unmount_docs() { umount "$DOCS" 2>/dev/null; }
    CLEANUP=unmount_docs
    journal "$DOCS/.orven-report-$STAMP-1.journal" "$DOCS/orven-report-$STAMP.pdf"
    mount -o remount,ro "$DOCS" || fail "remount read-only"
    start_and_end "read-only documents, first start" "нельзя удалить"
    [ -f "$WORK/home/$recovered" ] || fail "read-only documents: not recovered into the home folder"
    grep -q "нельзя удалить" "$WORK/orven.err" || fail "read-only documents: not told that the journal stays"
    start_and_end "read-only documents, second start"
    ! grep -q "восстановлен\|нельзя удалить" "$WORK/orven.err" || fail "read-only documents: recovered again"
    [ "$(find "$WORK/home" -name '*.pdf' | wc -l)" -eq 1 ] || fail "read-only documents: a second copy"
    unmount_docs
    CLEANUP=:
    echo "$NAME: read-only documents folder: recovered once, passed"
else
    echo "$NAME: cannot mount a tmpfs here: the read-only documents folder is skipped"
fi

# Another user's journal, where the suite runs as root: the program runs as
# nobody over a home of nobody's, where root has left a journal in the state
# folder and one in the temporary folder.
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null 2>&1; then
    OTHER=$WORK/other
    mkdir -p "$OTHER/home/.local/state/orven" "$OTHER/home/Documents" "$OTHER/tmp" "$OTHER/runtime"
    chown -R 65534:65534 "$OTHER"
    chmod 700 "$OTHER/home/.local/state/orven" "$OTHER/runtime"
    chmod 755 "$WORK"
    journal "$OTHER/home/.local/state/orven/orven-report-$STAMP-1.journal" "$OTHER/x/y.pdf"
    journal "$OTHER/tmp/.orven-report-$STAMP-1.journal" "$OTHER/x/y.pdf"
    chmod 644 "$OTHER"/home/.local/state/orven/*.journal "$OTHER"/tmp/*.journal
    (
        cd "$OTHER" &&
            HOME=$OTHER/home TMPDIR=$OTHER/tmp XDG_RUNTIME_DIR=$OTHER/runtime QT_QPA_PLATFORM=offscreen \
                exec setpriv --reuid=65534 --regid=65534 --clear-groups "$ORVEN" 2>"$WORK/other.err"
    ) &
    ORVEN_PID=$!
    deadline=$(($(now) + STEP_TIMEOUT))
    until grep -q "другому пользователю" "$WORK/other.err" 2>/dev/null; do
        kill -0 "$ORVEN_PID" 2>/dev/null || fail "another user's journal: the program ended"
        [ "$(now)" -lt "$deadline" ] || fail "another user's journal: not named on standard error"
        sleep 0.1
    done
    kill -TERM "$ORVEN_PID"
    wait_end "after SIGTERM (another user's journal)"
    [ -z "$(find "$OTHER" -name '*.pdf')" ] || fail "another user's journal: a report was written"
    [ "$(find "$OTHER" -name '*.journal' | wc -l)" -eq 2 ] || fail "another user's journal: a journal went"
    echo "$NAME: another user's journal: passed"
else
    echo "$NAME: not root (or no setpriv): another user's journal is skipped"
fi
echo "$NAME: passed in $(($(now) - START))s"
