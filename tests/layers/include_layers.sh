#!/bin/sh
# The include rules hold on the tree, and the check does catch broken ones, in
# a copy of the sources: the main menu included by the design case (a model
# file including a window file, and core and menu including each other), the
# key's front end included by the key's model, and a file of no library.
#
#   include_layers.sh <source dir> <layers.txt>
set -u
SRC=$1/src
LAYERS=$2
CHECK=$1/tests/layers/check_layers.py
command -v python3 >/dev/null 2>&1 || { echo "include_layers: SKIPPED: no python3"; exit 77; }

python3 "$CHECK" "$LAYERS" "$SRC" || { echo "include_layers: FAILED: the tree breaks the rules" >&2; exit 1; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/orven-layers.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
cp -r "$SRC" "$WORK/src"
sed "s|$SRC|$WORK/src|g" "$LAYERS" >"$WORK/layers.txt"
echo '#include "menu/main_menu_screen.h"' >>"$WORK/src/core/design_case.cpp"
echo '#include "key_cli/command_support.h"' >>"$WORK/src/key/variants.cpp"
echo '// a file of nobody' >"$WORK/src/key/stray.cpp"
if python3 "$CHECK" "$WORK/layers.txt" "$WORK/src" 2>"$WORK/err"; then
    echo "include_layers: FAILED: a back-include passed the check" >&2
    exit 1
fi
for expected in \
    "core/design_case.cpp (orven_model) includes menu/main_menu_screen.h (orven_ui), which orven_model does not link" \
    "key/variants.cpp (orven_model) includes key_cli/command_support.h (orven_key_cli), which orven_model does not link" \
    "key/stray.cpp belongs to no library or program" \
    "folders include each other: core → menu → core"; do
    grep -qF "$expected" "$WORK/err" || {
        echo "include_layers: FAILED: the check did not say: $expected" >&2
        cat "$WORK/err" >&2
        exit 1
    }
done
echo "include_layers: passed"
