#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need, only when missing.
# Usage: install-deps.sh run|test|ci|package
set -euo pipefail
kind=${1:-test}

# GoogleTest is needed to configure the build at all, since the tests are part of it.
# What the program uses of the desktop comes too: Qt's Japanese texts, the Wayland backend, the
# Japanese and emoji fonts.
pkgs=(g++ cmake ninja-build make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
      fonts-noto-cjk qt6-translations-l10n qt6-wayland fonts-noto-color-emoji libgtest-dev libgmock-dev)
case "$kind" in
  test|ci) pkgs+=(xvfb xauth xdotool x11-utils weston openbox unison lintian desktop-file-utils appstream poppler-utils) ;;&
  test|ci|package) pkgs+=(dpkg-dev file) ;;&
  ci)      pkgs+=(clang libclang-rt-14-dev libbenchmark-dev libxcb-damage0-dev libxcb-xtest0-dev python3) ;;
esac

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages. Run:"
  echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}"
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
