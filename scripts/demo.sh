#!/usr/bin/env bash
# Builds Pellmark for 64-bit Windows and runs its main job under Wine against the sample
# desktop: the stand-in desktop starts with samples/sample-desktop.layout, then
# `pellmark.exe SAVE Sample` saves it as a pattern, and the pattern file is printed.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64

bin=$PWD/build/win64/bin
prefix=$PWD/build/win64/wineprefix
log=$(mktemp)
trap 'WINEPREFIX=$prefix wineserver -k 2>/dev/null || true; rm -f "$log"' EXIT

cmake/wine-run.sh "$prefix" "$bin/desktophost.exe" samples/sample-desktop.layout >"$log" 2>&1 &
for _ in $(seq 1 300); do
    grep -q 'ready' "$log" && break
    sleep 0.1
done
grep -q 'ready' "$log" || { cat "$log"; echo "demo: the stand-in desktop did not start" >&2; exit 1; }

rm -f "$bin/SavedPositions/Sample.ips"
cmake/wine-run.sh "$prefix" "$bin/pellmark.exe" SAVE Sample
echo "== $bin/SavedPositions/Sample.ips (CR LF line ends shown as ^M) =="
cat -v "$bin/SavedPositions/Sample.ips"
