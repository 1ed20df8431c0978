#!/usr/bin/env bash
# Builds the Debian package from this build as `make deb` does and checks its name, its files,
# its control fields, its changelog version, and that lintian finds no error in it.
# Usage: package_test.sh <build folder> <application id> <version>
set -uo pipefail
source "$(dirname "$0")/expected_files.sh"
build=${1:?build folder} id=${2:?application id} version=${3:?version}
require_tools cpack dpkg dpkg-deb dpkg-shlibdeps file lintian

work=$(mktemp -d "${TMPDIR:-/tmp}/quav-package.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
status=0
bad() { echo "FAIL: $*" >&2; status=1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
deb=$work/out/quavscheduler_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { bad "no $(basename "$deb"); cpack made: $(ls "$work/out")"; exit 1; }

echo "== files of $(basename "$deb")"
dpkg-deb -c "$deb"
dpkg-deb -x "$deb" "$work/root" || exit 1
expected=$(install_expected_files "$id" | sed 's#^#usr/#')
actual=$(files_under "$work/root")
[ "$actual" = "$expected" ] ||
    bad "package files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$actual") | grep '^[<>]')"
# Everything belongs to root, whoever built the package.
owners=$(dpkg-deb -c "$deb" | awk '{ print $2 }' | sort -u)
[ "$owners" = root/root ] || bad "owners in the package: $owners"

echo "== control"
dpkg-deb -f "$deb" | tee "$work/control"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = quavscheduler ] || bad "package name is $(field Package)"
[ "$(field Version)" = "$version" ] || bad "package version is $(field Version)"
depends=$(field Depends)
# The Qt and C libraries come from the binary itself; the font is declared by hand.
for dep in fonts-noto-cjk qt6-translations-l10n libqt6widgets6 libqt6gui6 libqt6core6 libc6; do
    grep -Eq "(^|, )$dep( |,|$)" <<<"$depends" || bad "Depends lacks $dep: $depends"
done
recommends=$(field Recommends)
for dep in qt6-wayland fonts-noto-color-emoji; do
    grep -Eq "(^|, )$dep( |,|$)" <<<"$recommends" || bad "Recommends lacks $dep: $recommends"
done
[ "$(zcat "$work/root/usr/share/doc/quavscheduler/changelog.gz" | head -n1 | sed -n 's/^quavscheduler (\([^)]*\)).*/\1/p')" = "$version" ] ||
    bad "the changelog's newest entry is not version $version"
file -b "$work/root/usr/bin/QuavScheduler" | grep -q ', stripped' || bad "the program is not stripped"

echo "== lintian"
lintian --fail-on error --tag-display-limit 0 "$deb"
rc=$?
[ $rc -eq 0 ] || bad "lintian reports errors (status $rc)"

[ $status -eq 0 ] && echo "passed"
exit $status
