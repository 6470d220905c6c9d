#!/usr/bin/env bash
# Installs the Debian packages that building and testing Pellmark needs.
#   bash scripts/install-deps.sh        everything: every preset, the tests, the benches
#   bash scripts/install-deps.sh demo   only what scripts/demo.sh builds and runs
# Safe to run again: packages already present are left as they are.
set -euo pipefail

# The 64-bit Windows build, Wine and a virtual screen with something to photograph it.
demo_packages=(
  cmake ninja-build googletest
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libz-mingw-w64-dev
  wine wine64 fonts-wine xvfb imagemagick
)
packages=("${demo_packages[@]}")
if [ "${1:-}" != demo ]; then
  packages+=(
    make g++ libgtest-dev g++-mingw-w64-i686-posix binutils-mingw-w64-i686
    xserver-xephyr xauth fonts-dejavu-core python3
    clang libclang-rt-14-dev clang-format ccache
  )
fi

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
