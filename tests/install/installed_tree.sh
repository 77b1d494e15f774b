#!/bin/sh
# `cmake --install` into a temporary prefix: the installed tree holds the
# program, its menu entry, icon, AppStream metadata, man page and copyright,
# and the desktop entry and the metadata pass their ecosystem's validators.
#
#   installed_tree.sh <build folder>
set -u
BUILD=$1
. "$(dirname "$0")/need_tools.sh"
need_tools installed_tree desktop-file-validate appstreamcli man
PREFIX=$(mktemp -d "${TMPDIR:-/tmp}/orven-install.XXXXXX")
trap 'rm -rf "$PREFIX"' EXIT
fail() {
    echo "installed_tree: FAILED: $*" >&2
    exit 1
}

cmake --install "$BUILD" --prefix "$PREFIX" >"$PREFIX.log" 2>&1 || { cat "$PREFIX.log"; fail "cmake --install"; }
rm -f "$PREFIX.log"

for file in bin/orven bin/orven-key bin/orven-teacher share/applications/orven.desktop \
    share/applications/orven-teacher.desktop share/icons/hicolor/scalable/apps/orven.svg \
    share/icons/hicolor/scalable/apps/orven-teacher.svg share/metainfo/orven-teacher.metainfo.xml \
    share/metainfo/orven.metainfo.xml share/man/man1/orven.1.gz share/man/man1/orven-key.1.gz \
    share/man/man1/orven-teacher.1.gz share/doc/orven/copyright; do
    [ -f "$PREFIX/$file" ] || fail "$file is not installed"
done
[ -x "$PREFIX/bin/orven" ] || fail "bin/orven is not executable"
"$PREFIX/bin/orven" --version | grep -qx "orven $ORVEN_VERSION" || fail "the installed orven --version"
"$PREFIX/bin/orven-key" --version | grep -qx "orven-key $ORVEN_VERSION" || fail "the installed orven-key --version"
"$PREFIX/bin/orven-teacher" --version | grep -qx "orven-teacher $ORVEN_VERSION" ||
    fail "the installed orven-teacher --version"
# Without a display the teacher's window says so in one line of its own.
line=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$PREFIX/bin/orven-teacher" 2>&1 >/dev/null)
status=$?
[ "$status" -eq 1 ] && case $line in "orven-teacher: не удалось открыть дисплей"*) true ;; *) false ;; esac ||
    fail "orven-teacher without a display: status $status, \"$line\""
# The commands with a PDF run in the helper, found from the installed orven-key.
[ -x "$PREFIX/libexec/orven/orven-key-pdf" ] || fail "libexec/orven/orven-key-pdf is not installed"
"$PREFIX/bin/orven-key" solve "$(dirname "$0")/../key/worked_cooler.txt" --top 2 --pdf "$PREFIX/key.pdf" \
    >/dev/null 2>"$PREFIX.err" || { cat "$PREFIX.err"; fail "the installed orven-key solve --pdf"; }
rm -f "$PREFIX.err"
[ -s "$PREFIX/key.pdf" ] || fail "the installed orven-key wrote no PDF"

desktop-file-validate "$PREFIX/share/applications/orven.desktop" || fail "desktop-file-validate"
desktop-file-validate "$PREFIX/share/applications/orven-teacher.desktop" ||
    fail "desktop-file-validate orven-teacher.desktop"
grep -qxF 'Name[ru]=ORVEN — преподаватель' "$PREFIX/share/applications/orven-teacher.desktop" ||
    fail "the teacher's desktop entry has no Russian name"
entry=$PREFIX/share/applications/orven.desktop
for line in 'Name=ORVEN' 'Comment[ru]=Расчёт пластинчатых теплообменников (учебная программа)' \
    'Categories=Education;Science;Engineering;' 'Terminal=false' 'Exec=orven' 'Icon=orven'; do
    grep -qxF "$line" "$entry" || fail "the desktop entry has no line $line"
done
grep -q '^Name\[ru\]=' "$entry" && grep -q '^Comment=' "$entry" || fail "the desktop entry lacks Name[ru] or Comment"

appstreamcli validate --no-net "$PREFIX/share/metainfo/orven.metainfo.xml" || fail "appstreamcli validate"
appstreamcli validate --no-net "$PREFIX/share/metainfo/orven-teacher.metainfo.xml" ||
    fail "appstreamcli validate orven-teacher.metainfo.xml"
grep -qxF 'Icon=orven-teacher' "$PREFIX/share/applications/orven-teacher.desktop" ||
    fail "the teacher's desktop entry has not its own icon"
grep -q "<release version=\"$ORVEN_VERSION\"" "$PREFIX/share/metainfo/orven.metainfo.xml" ||
    fail "the metadata does not name the release $ORVEN_VERSION"

# The man pages render without a warning of groff's.
for page in orven orven-key orven-teacher; do
    warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$PREFIX/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "the man page of $page: $warnings"
done
MANWIDTH=80 man -E UTF-8 -l "$PREFIX/share/man/man1/orven-key.1.gz" 2>/dev/null | grep -q "rho1" ||
    fail "the man page of orven-key does not list the keys of a design file"
MANWIDTH=80 man -E UTF-8 -l "$PREFIX/share/man/man1/orven.1.gz" 2>/dev/null | grep -q "Документы" ||
    fail "the man page does not say where reports go"
echo "installed_tree: passed"
