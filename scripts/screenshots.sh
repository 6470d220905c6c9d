#!/usr/bin/env bash
# The gallery: Pellmark's main window on every page, its help panel, the about box, the
# options dialog, the wallpaper picker, its three menus and the version check's progress
# window, at 96 and 144 DPI, under Wine on a virtual X server, saved in
# build/win64/chrome-shots (see tools/skins/screenshots.sh). Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash tools/skins/screenshots.sh
echo "== screenshots: $PWD/build/win64/chrome-shots =="
