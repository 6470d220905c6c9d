#!/usr/bin/env bash
# Builds Pellmark for 64-bit Windows and runs its main job under Wine against the sample
# desktop: the stand-in desktop starts with samples/sample-desktop.layout, then
# `pellmark.exe SAVE Sample` saves it as a pattern and the file is printed;
# `LOAD BottomRow` restores samples/BottomRow.ips (saved on an 800x600 screen, so it is
# scaled), `SAVE After` shows where the icons went, and `LOAD Sample` puts them back.
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

saved=$bin/SavedPositions
rm -f "$saved/Sample.ips" "$saved/After.ips"
cmake/wine-run.sh "$prefix" "$bin/pellmark.exe" SAVE Sample
echo "== $saved/Sample.ips (CR LF line ends shown as ^M) =="
cat -v "$saved/Sample.ips"

cp samples/BottomRow.ips "$saved/"
cmake/wine-run.sh "$prefix" "$bin/pellmark.exe" LOAD BottomRow
cmake/wine-run.sh "$prefix" "$bin/pellmark.exe" SAVE After
echo "== after LOAD BottomRow (saved at 800x600, scaled to this screen): $saved/After.ips =="
cat -v "$saved/After.ips"
cmake/wine-run.sh "$prefix" "$bin/pellmark.exe" LOAD Sample
cmake/wine-run.sh "$prefix" "$bin/pellmark.exe" SAVE After
if cmp -s "$saved/Sample.ips" "$saved/After.ips"; then
    echo "== LOAD Sample put every icon back where it was =="
else
    echo "demo: LOAD Sample did not give the saved desktop back" >&2
    exit 1
fi
