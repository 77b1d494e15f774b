#!/bin/sh
# The desktop notification of a finished report, with the real program under a
# virtual X display and a private session bus (dbus-run-session) served by a
# fake notification service: one printed results block, then the end by
# SIGTERM; the service gets exactly one notification, naming the PDF file the
# program wrote, with the action that opens it. Then a whole session ended by
# the end button: no box repeats what the notification said. Without a bus the other real
# runs (program_end, real_session) still write their reports.
#
#   notification.sh <orven binary> <orven_session_plan binary> <fake_notifications binary>
set -u
NAME=notification
if ! command -v dbus-run-session >/dev/null 2>&1; then
    echo "$NAME: SKIPPED: dbus-run-session is not installed (scripts/install-deps installs it)"
    exit 77
fi
if [ -z "${ORVEN_E2E_UNDER_DBUS:-}" ]; then
    ORVEN_E2E_UNDER_DBUS=1 exec dbus-run-session -- sh "$0" "$@"
fi
ORVEN=$1
PLANNER=$2
SERVICE=$3
ORVEN_E2E_BUS=1
. "$(dirname "$0")/driver.sh"

# The plan first: its own run must not reach the service.
make_plan
"$SERVICE" "$WORK/notifications.log" >"$WORK/service.out" 2>&1 &
SERVICE_PID=$!
stop_service() { kill "$SERVICE_PID" 2>/dev/null; }
CLEANUP=stop_service
deadline=$(($(now) + STEP_TIMEOUT))
until grep -q ready "$WORK/service.out" 2>/dev/null; do
    [ "$(now)" -lt "$deadline" ] || fail "the fake notification service did not start"
    sleep 0.1
done

printed=$(step_of "Печать результатов" 1)
print_then_terminate "$printed"

count=$(grep -c . "$WORK/notifications.log" 2>/dev/null || echo 0)
[ "$count" -eq 1 ] || fail "the service got $count notifications, not 1: $(cat "$WORK/notifications.log")"
expected=$(printf 'ORVEN\tОтчёт записан в файл %s\tdefault|Открыть отчёт' "$PDF")
[ "$(cat "$WORK/notifications.log")" = "$expected" ] ||
    fail "the notification is \"$(cat "$WORK/notifications.log")\", not \"$expected\""

# The whole session ended by the end button: the service shows where the
# report went, so no box says it again and the program ends by itself (the
# plan, made without a service, has that box as its last step).
: >"$WORK/notifications.log"
last=$(grep -c . "$WORK/plan.tsv")
tail -n 1 "$WORK/plan.tsv" | grep -q "^yes	ORVEN$" || fail "the plan does not end with the report's box"
start_orven
run_steps $((last - 1))
wait_end "by the end button with a notification service"
grep -q "Отчёт записан в файл" "$WORK/notifications.log" || fail "the end button's report was not notified"
echo "$NAME: passed in $(($(now) - START))s"
