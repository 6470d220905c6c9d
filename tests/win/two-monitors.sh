#!/bin/sh
# Runs a Windows program under Wine on two monitors: an 800x600 one left of a 1024x768
# primary, so the left one has negative coordinates. Xephyr, inside a Xvfb, shows its two
# screens side by side through Xinerama; Wine's X11 driver, told to read Xinerama and to
# take the second screen as its primary, puts the first at x = -800.
#   two-monitors.sh PREFIX PROGRAM [ARGS...]
# The prefix is made on first use with the X11 driver (wine-run.sh's is headless).
set -e
prefix=$1
shift
command -v Xephyr >/dev/null || {
    echo "two-monitors.sh: Xephyr is missing (scripts/install-deps.sh installs it)" >&2
    exit 1
}
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEARCH=win64 LANG=C.UTF-8 LC_ALL=C.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
work=$(mktemp -d)
xvfb=
xephyr=
finish() {
    wineserver -k 2>/dev/null || true
    [ -z "$xephyr" ] || kill "$xephyr" 2>/dev/null || true
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap finish EXIT
# Each server picks a free display and writes its number.
display_of() {
    for _ in $(seq 1 100); do
        [ -s "$1" ] && { head -n 1 "$1"; return; }
        sleep 0.1
    done
    echo "two-monitors.sh: no X server came up" >&2
    exit 1
}
Xvfb -displayfd 3 -screen 0 2048x1024x24 -nolisten tcp 3>"$work/host" >/dev/null 2>&1 &
xvfb=$!
host=$(display_of "$work/host")
DISPLAY=:$host Xephyr -displayfd 3 +xinerama -screen 800x600 -screen 1024x768 -nolisten tcp \
    3>"$work/guest" >/dev/null 2>&1 &
xephyr=$!
export DISPLAY=:$(display_of "$work/guest")
if [ ! -f "$prefix/.pellmark-monitors" ]; then
    mkdir -p "$prefix"
    wineboot --init >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    touch "$prefix/.pellmark-monitors"
fi
wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v PrimaryMonitor /d 1 /f >/dev/null 2>&1
wineserver -w
wine "$@"
