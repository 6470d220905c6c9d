#!/usr/bin/env bash
# Prints the figures for reading and restoring a 1000-icon desktop under Wine (see
# tools/bench).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target desktop_read_bench restore_bench
for bench in desktop_read_bench restore_bench; do
    cmake/wine-run.sh "$PWD/build/win64/wineprefix" "build/win64/bin/$bench.exe"
done
