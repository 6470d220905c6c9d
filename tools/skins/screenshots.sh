#!/usr/bin/env bash
# Screenshots of the window chrome on real windows under Wine, on a virtual X server: the
# main window on each of its pages and with its help panel, and the about box, at 96 and
# 144 DPI. They are for people to look at; nothing compares them.
#   bash tools/skins/screenshots.sh [BUILD-FOLDER]     (default build/win64, built first)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/win64}
if [ $# -eq 0 ]; then
    cmake --preset win64 >/dev/null
    cmake --build --preset win64 --target chrome_preview
fi
build=$(cd "$build" && pwd)
shots=$build/chrome-shots
mkdir -p "$shots"
export WINEPREFIX=$build/wineprefix-chrome
export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export DISPLAY=:78
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
sleep 1
[ -f "$WINEPREFIX/.pellmark-chrome" ] || { wineboot --init >/dev/null 2>&1 || true; wineserver -w; touch "$WINEPREFIX/.pellmark-chrome"; }
for dpi in 96 144; do
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1
    wineserver -w
    for page in intro 1-0 1-1 1-2 2-0 2-1 2-2 help about; do
        wine "$build/bin/chrome_preview.exe" $page 4 &
        sleep 3
        import -window root "$shots/$page-$dpi.png"
        wait $! || true
        echo "$shots/$page-$dpi.png"
    done
done
