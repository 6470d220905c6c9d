#!/usr/bin/env bash
# Prints the figures: reading and restoring a 1000-icon desktop, previewing large patterns
# and listing many, shaping the main window from its skin, start-up to the main window and
# where the main window's own start-up goes, applying a language, opening the owner-drawn
# tray menu, the version check's processor share while it waits, the special icons' and
# Explorer switches' share of the load, keeping the captions' colours and auto-hide (a
# tick's cost, the timers' share of a core), the Show/Hide list, the idle program's share
# of a core and its wake-ups, the wallpaper picker with a picture of many pixels (time,
# memory, the bitmap written), the screen follower (its idle share of a core while it
# learns, the time to put a layout back after a disruption and after resolution changes),
# under Wine (see tools/bench); then the size of the static
# pellmark.exe for both architectures and of its resources.
#   bash scripts/bench.sh           the figures
#   bash scripts/bench.sh --quick   every bench once, with small sizes and short waits
#                                   (PELLMARK_BENCH_QUICK=1): proves each still runs to its end
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--quick" ]; then
    export PELLMARK_BENCH_QUICK=1
fi
benches=(desktop_read_bench restore_bench preview_bench region_bench startup_bench
    startup_steps_bench language_bench menu_bench version_check_bench explorer_pages_bench
    desktop_style_bench show_hide_bench idle_bench wallpaper_bench screens_bench)
bash scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target "${benches[@]}"
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target pellmark
for bench in "${benches[@]}"; do
    echo "== $bench =="
    cmake/wine-run.sh "$PWD/build/win64/wineprefix" "build/win64/bin/$bench.exe"
done
echo "size of the static pellmark.exe, and of its resources (.rsrc)"
for arch in win64 win32; do
    exe=build/$arch/bin/pellmark.exe
    triple=$([ "$arch" = win64 ] && echo x86_64-w64-mingw32 || echo i686-w64-mingw32)
    rsrc=$("$triple-objdump" -h "$exe" | awk '$2 == ".rsrc" { print $3 }')
    printf '  %-6s %9d bytes   .rsrc %9d bytes\n' "$arch" "$(stat -c %s "$exe")" "$((16#${rsrc:-0}))"
done
