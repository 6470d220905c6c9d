#!/usr/bin/env bash
# Builds Pellmark for 64-bit Windows and runs it under Wine against the sample desktop.
#
# First the command line, with CloseWhenRestored set so that every run ends by itself:
# `SAVE Sample` saves the stand-in desktop (samples/sample-desktop.layout) and the file is
# printed; `LOAD BottomRow` restores samples/BottomRow.ips (saved on an 800x600 screen, so
# it is scaled), `SAVE After` shows where the icons went, and `LOAD Sample` puts them back.
# Then the main window: on $DISPLAY when there is one (close the window to end the demo),
# otherwise on a virtual X server; either way a screenshot is saved and its path printed.
#   DEMO_DPI=144 bash scripts/demo.sh   shows the window at 144 DPI.
# It builds only what it runs, and prints how long each phase took. The gallery of every
# page at 96 and 144 DPI is scripts/screenshots.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

phase_start=$(date +%s)
phases=()
# Ends the phase that was running, keeping its time for the summary.
phase_done() {
    local now
    now=$(date +%s)
    phases+=("$(printf '%4d s  %s' $((now - phase_start)) "$1")")
    phase_start=$now
}
summary() {
    echo "== time of each phase =="
    printf '  %s\n' "${phases[@]}"
}

bash scripts/install-deps.sh demo
phase_done "installing the packages"

bin=$PWD/build/win64/bin
export WINEPREFIX=$PWD/build/win64/wineprefix-demo
export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
log=$(mktemp)
xvfb_pid=""
prefix_pid=""
cleanup() {
    [ -z "$prefix_pid" ] || wait "$prefix_pid" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -f "$log"
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
    export DISPLAY=:77
    Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    sleep 1
    on_xvfb=1
else
    on_xvfb=0
fi

# The Wine prefix is made once, while the program builds: most of its time is spent
# waiting, not computing.
mkdir -p "$(dirname "$WINEPREFIX")"
if [ ! -f "$WINEPREFIX/.pellmark-demo" ]; then
    echo "== making the Wine prefix for the demo (once, beside the build) =="
    (wineboot --init >/dev/null 2>&1 || true; wineserver -w; touch "$WINEPREFIX/.pellmark-demo") &
    prefix_pid=$!
fi
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target pellmark pellmark_beside_program desktophost
phase_done "building pellmark.exe and the stand-in desktop"

if [ -n "$prefix_pid" ]; then
    wait "$prefix_pid" || true
    prefix_pid=""
fi
phase_done "making the Wine prefix (what was left after the build)"
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "${DEMO_DPI:-96}" /f >/dev/null 2>&1
setting() { wine reg add 'HKCU\Software\Pellmark\Settings' /v "$1" /d "$2" /f >/dev/null 2>&1; }

wine "$bin/desktophost.exe" samples/sample-desktop.layout >"$log" 2>&1 &
for _ in $(seq 1 300); do
    grep -q 'ready' "$log" && break
    sleep 0.1
done
grep -q 'ready' "$log" || { cat "$log"; echo "demo: the stand-in desktop did not start" >&2; exit 1; }

setting CloseWhenRestored True
saved=$bin/SavedPositions
rm -f "$saved/Sample.ips" "$saved/After.ips"
wine "$bin/pellmark.exe" SAVE Sample
echo "== $saved/Sample.ips (CR LF line ends shown as ^M) =="
cat -v "$saved/Sample.ips"

cp samples/BottomRow.ips "$saved/"
wine "$bin/pellmark.exe" LOAD BottomRow
wine "$bin/pellmark.exe" SAVE After
echo "== after LOAD BottomRow (saved at 800x600, scaled to this screen): $saved/After.ips =="
cat -v "$saved/After.ips"
wine "$bin/pellmark.exe" LOAD Sample
wine "$bin/pellmark.exe" SAVE After
if cmp -s "$saved/Sample.ips" "$saved/After.ips"; then
    echo "== LOAD Sample put every icon back where it was =="
else
    echo "demo: LOAD Sample did not give the saved desktop back" >&2
    exit 1
fi
rm -f "$saved/After.ips"
phase_done "the command line: SAVE, LOAD BottomRow, LOAD Sample"

setting CloseWhenRestored False
echo "== starting the main window =="
wine "$bin/pellmark.exe" &
pellmark=$!
sleep 6
shot=$PWD/build/win64/pellmark-demo.png
import -window root "$shot"
echo "== screenshot: $shot =="
phase_done "the main window and its screenshot"
summary
if [ "$on_xvfb" = 0 ]; then
    echo "== close the Pellmark window to end the demo =="
    wait "$pellmark" || true
fi
echo "== the gallery of every page at 96 and 144 DPI: bash scripts/screenshots.sh =="
