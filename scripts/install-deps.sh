#!/usr/bin/env bash
# Installs every Debian package that building and testing Pellmark needs.
# Safe to run again: packages already present are left as they are.
set -euo pipefail

packages=(
  cmake ninja-build make g++ googletest libgtest-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 fonts-wine xvfb xserver-xephyr xauth imagemagick fonts-dejavu-core python3
  clang libclang-rt-14-dev clang-format libstb-dev libz-mingw-w64-dev ccache
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: everything is already installed"
  exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
# A mirror that is mid-sync can make part of the update fail; the install below
# decides whether that matters.
$sudo apt-get update || echo "install-deps: apt-get update failed in part; trying the install anyway" >&2
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
