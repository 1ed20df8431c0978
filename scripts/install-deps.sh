#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need, only when missing.
# Usage: install-deps.sh run|test|ci
set -euo pipefail
kind=${1:-test}

pkgs=(g++ cmake ninja-build make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
      qt6-gtk-platformtheme fonts-noto-cjk)
case "$kind" in
  test|ci) pkgs+=(libgtest-dev libgmock-dev xvfb xauth xdotool x11-utils imagemagick) ;;&
  ci)      pkgs+=(clang libclang-rt-14-dev libbenchmark-dev) ;;
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
