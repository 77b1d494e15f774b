#!/bin/sh
# The program's command line and its start without a display: exact output and
# exit status of --version, --help, a bad argument and no display.
#
#   command_line.sh <orven binary>
set -u
ORVEN=$1
failures=0
fail() {
    echo "command_line: FAILED: $*" >&2
    failures=$((failures + 1))
}

# check <name> <expected status> <expected stdout> <expected stderr> -- <command...>
check() {
    name=$1 status=$2 out=$3 err=$4
    shift 5
    actual_out=$("$@" 2>/tmp/orven-cl-err.$$)
    actual_status=$?
    actual_err=$(cat /tmp/orven-cl-err.$$)
    rm -f /tmp/orven-cl-err.$$
    [ "$actual_status" -eq "$status" ] || fail "$name: status $actual_status, not $status"
    [ "$actual_out" = "$out" ] || fail "$name: standard output is
$actual_out
not
$out"
    [ "$actual_err" = "$err" ] || fail "$name: standard error is \"$actual_err\", not \"$err\""
}

HELP='Использование: orven [--help | --version]
ORVEN — учебная программа расчёта пластинчатых теплообменников.
Без аргументов открывает главное меню программы.

  -h, --help     показать эту справку и выйти
  -v, --version  показать версию программы и выйти

Отчёт печатается на принтер по умолчанию, а без принтера записывается в файл PDF
в папку документов пользователя (xdg-user-dir DOCUMENTS).
Подробнее: man orven'
BAD='программа запускается без аргументов (справка: orven --help)'

check "--version" 0 "orven $ORVEN_VERSION" "" -- "$ORVEN" --version
check "-v" 0 "orven $ORVEN_VERSION" "" -- "$ORVEN" -v
check "--help" 0 "$HELP" "" -- "$ORVEN" --help
check "-h" 0 "$HELP" "" -- "$ORVEN" -h
check "unknown option" 2 "" "orven: неизвестный аргумент «--print»; $BAD" -- "$ORVEN" --print
check "file argument" 2 "" "orven: неизвестный аргумент «отчёт.pdf»; $BAD" -- "$ORVEN" отчёт.pdf
check "help and more" 2 "" "orven: неизвестный аргумент «x»; $BAD" -- "$ORVEN" --help x
check "no display" 1 "" \
    "orven: не удалось открыть дисплей для окон программы (переменная DISPLAY не задана); запустите её в графическом сеансе" \
    -- env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$ORVEN"
check "display that cannot be reached" 1 "" \
    "orven: не удалось открыть дисплей для окон программы (DISPLAY=:71); запустите её в графическом сеансе" \
    -- env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:71 "$ORVEN"

[ "$failures" -eq 0 ] || exit 1
echo "command_line: passed"
