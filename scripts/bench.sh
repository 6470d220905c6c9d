#!/usr/bin/env bash
# Prints the figures: reading and restoring a 1000-icon desktop, previewing large patterns
# and listing many, shaping the main window from its skin, start-up to the main window,
# opening the owner-drawn tray menu, the version check's processor share while it waits,
# keeping the captions' colours and auto-hide (a tick's cost, the timers' share of a core),
# the idle program's share of a core and its wake-ups, under Wine (see tools/bench); then
# the size of the static pellmark.exe for both architectures.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target desktop_read_bench restore_bench preview_bench region_bench \
    startup_bench language_bench menu_bench version_check_bench explorer_pages_bench \
    desktop_style_bench idle_bench
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target pellmark
for bench in desktop_read_bench restore_bench preview_bench region_bench startup_bench language_bench \
    menu_bench version_check_bench explorer_pages_bench desktop_style_bench idle_bench; do
    cmake/wine-run.sh "$PWD/build/win64/wineprefix" "build/win64/bin/$bench.exe"
done
echo "size of the static pellmark.exe"
for arch in win64 win32; do
    printf '  %-6s %9d bytes\n' "$arch" "$(stat -c %s "build/$arch/bin/pellmark.exe")"
done
