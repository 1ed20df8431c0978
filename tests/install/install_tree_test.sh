#!/usr/bin/env bash
# `cmake --install` into a fresh prefix: exactly the expected files, every icon at the size its
# theme folder names, and a desktop entry and AppStream metadata that the platform's own
# validators accept, together as they are installed.
# Usage: install_tree_test.sh <build folder> <application id>
set -uo pipefail
source "$(dirname "$0")/expected_files.sh"
build=${1:?build folder} id=${2:?application id}
require_tools cmake desktop-file-validate appstreamcli file

work=$(mktemp -d "${TMPDIR:-/tmp}/quav-tree.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
prefix=$work/usr
status=0
bad() { echo "FAIL: $*" >&2; status=1; }

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }

expected=$(install_expected_files "$id")
actual=$(files_under "$prefix")
[ "$actual" = "$expected" ] ||
    bad "installed files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$actual") | grep '^[<>]')"

for png in "$prefix"/share/icons/hicolor/*x*/apps/"$id".png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    file -b "$png" | grep -q "^PNG image data, ${size%x*} x ${size#*x}," ||
        bad "$png is not a $size PNG: $(file -b "$png")"
done
[ "$(file -b --mime-type "$prefix/share/icons/hicolor/scalable/apps/$id.svg")" = image/svg+xml ] ||
    bad "the scalable icon is no SVG drawing"

entry=$prefix/share/applications/$id.desktop
echo "== desktop-file-validate $(basename "$entry")"
out=$(desktop-file-validate "$entry" 2>&1)
rc=$?
[ -n "$out" ] && echo "$out"
if [ $rc -ne 0 ] || [ -n "$out" ]; then bad "desktop-file-validate is not clean"; fi
grep -qx "Icon=$id" "$entry" || bad "the desktop entry does not name the icon $id"
exec_name=$(sed -n 's/^Exec=//p' "$entry")
[ -x "$prefix/bin/$exec_name" ] || bad "the desktop entry starts '$exec_name', which the install lacks"

metainfo=$prefix/share/metainfo/$id.metainfo.xml
echo "== appstreamcli validate --no-net $(basename "$metainfo")"
appstreamcli validate --no-net "$metainfo" || bad "appstreamcli validate failed"
# The tree check also matches the metainfo with its desktop entry and icon.
echo "== appstreamcli validate-tree --no-net"
appstreamcli validate-tree --no-net "$work" || bad "appstreamcli validate-tree failed"

[ $status -eq 0 ] && echo "passed"
exit $status
