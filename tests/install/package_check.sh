#!/bin/sh
# The Debian package: built by CPack, listed, checked by lintian (no error), and
# unpacked into a temporary root whose orven starts under a virtual display to
# its main menu, loading Qt's Russian texts and the Liberation fonts from their
# installed places.
#
#   package_check.sh <build folder>
set -u
BUILD=$1
. "$(dirname "$0")/need_tools.sh"
need_tools package_check cpack dpkg-deb dpkg-shlibdeps lintian strace Xvfb xdpyinfo xdotool
WORK=$(mktemp -d "${TMPDIR:-/tmp}/orven-package.XXXXXX")
trap '[ -n "${KEEP:-}" ] || rm -rf "$WORK"' EXIT
fail() {
    echo "package_check: FAILED: $*" >&2
    exit 1
}

(cd "$BUILD" && cpack -G DEB) >"$WORK/cpack.log" 2>&1 || { cat "$WORK/cpack.log"; fail "cpack"; }
DEB=$BUILD/orven_${ORVEN_VERSION}_$(dpkg --print-architecture).deb
[ -f "$DEB" ] || fail "no $DEB"

dpkg-deb -c "$DEB" >"$WORK/contents.txt" || fail "dpkg-deb -c"
for file in ./usr/bin/orven ./usr/bin/orven-key ./usr/bin/orven-teacher \
    ./usr/libexec/orven/orven-key-pdf ./usr/share/applications/orven.desktop \
    ./usr/share/applications/orven-teacher.desktop ./usr/share/man/man1/orven-teacher.1.gz \
    ./usr/share/icons/hicolor/scalable/apps/orven.svg ./usr/share/metainfo/orven.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/orven-teacher.svg \
    ./usr/share/metainfo/orven-teacher.metainfo.xml \
    ./usr/share/man/man1/orven.1.gz ./usr/share/doc/orven/copyright ./usr/share/doc/orven/changelog.gz; do
    grep -q " $file\$" "$WORK/contents.txt" || fail "the package lacks $file"
done
depends=$(dpkg-deb -f "$DEB" Depends)
for package in fonts-liberation2 qt6-translations-l10n qt6-qpa-plugins libqt6widgets6; do
    echo "$depends" | grep -q "$package" || fail "Depends lacks $package: $depends"
done
[ "$(dpkg-deb -f "$DEB" Section)" = science ] || fail "the section is not science"

lintian --no-tag-display-limit "$DEB" >"$WORK/lintian.txt" 2>&1
if grep -q '^E:' "$WORK/lintian.txt"; then
    cat "$WORK/lintian.txt" >&2
    fail "lintian reports errors"
fi
grep '^W:' "$WORK/lintian.txt" >&2

dpkg-deb -x "$DEB" "$WORK/root" || fail "dpkg-deb -x"
mkdir -p "$WORK/home" "$WORK/runtime" && chmod 700 "$WORK/runtime"
# An X server of the check's own: it takes the first free display number
# itself (-displayfd), and the program starts only once it takes connections,
# so that a server still starting or another test's ending one is never met.
# -noreset: a server that resets when its last client (the probe below)
# leaves may refuse a connection made meanwhile.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$WORK/display" >/dev/null 2>&1 &
XVFB_PID=$!
trap 'kill -KILL "$XVFB_PID" 2>/dev/null; [ -n "${KEEP:-}" ] || rm -rf "$WORK"' EXIT
for i in $(seq 1 300); do
    [ -s "$WORK/display" ] && DISPLAY=":$(cat "$WORK/display")" xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
[ -s "$WORK/display" ] || fail "the X server did not start"
DISPLAY=":$(cat "$WORK/display")" xdpyinfo >/dev/null 2>&1 ||
    fail "the X server :$(cat "$WORK/display") takes no connection$(kill -0 "$XVFB_PID" 2>/dev/null || echo ': it has ended')"
(
    export HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/runtime" LANG=ru_RU.UTF-8
    export DISPLAY=":$(cat "$WORK/display")"
    unset QT_QPA_PLATFORM DBUS_SESSION_BUS_ADDRESS XAUTHORITY
    strace -f -qq -e trace=openat -o "$WORK/opens.txt" "$WORK/root/usr/bin/orven" 2>"$WORK/orven.err" &
    pid=$!
    # Titles compared as whole texts (the name search of xdotool misses
    # some Cyrillic titles).
    for i in $(seq 1 200); do
        for id in $(xdotool search --onlyvisible --name "" 2>/dev/null); do
            [ "$(xdotool getwindowname "$id")" = "НАЧАЛО РАБОТЫ С ПРОГРАММОЙ" ] &&
                echo "$id" >"$WORK/menu.txt"
        done
        [ -s "$WORK/menu.txt" ] && break
        sleep 0.1
    done
    # The program itself is the child of strace; strace ends with it.
    kill -TERM $(pgrep -P $pid) 2>/dev/null
    wait $pid
) || fail "the unpacked orven did not end with status 0: $(cat "$WORK/orven.err")"
[ -s "$WORK/menu.txt" ] || fail "the unpacked orven showed no main menu"
grep -q 'qtbase_ru\.qm", O_RDONLY[^=]*= [0-9]' "$WORK/opens.txt" ||
    fail "the unpacked orven did not load Qt's Russian texts (qtbase_ru.qm)"
grep -q 'Liberation[^"]*\.ttf", O_RDONLY[^=]*= [0-9]' "$WORK/opens.txt" ||
    fail "the unpacked orven did not load a Liberation font"
echo "package_check: passed ($(grep -c '^W:' "$WORK/lintian.txt") lintian warnings)"
