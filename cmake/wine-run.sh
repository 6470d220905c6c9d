#!/bin/sh
# Runs a Windows program under Wine in a private prefix, headless.
#   wine-run.sh PREFIX PROGRAM [ARGS...]
# The prefix is made on first use (under a lock, since ctest may start several
# programs at once) with Wine's null graphics driver, so no X server is needed.
set -e
prefix=$1
shift
case $prefix in
    /*) ;;
    *) echo "wine-run.sh: the prefix must be an absolute path, not '$prefix'" >&2; exit 2 ;;
esac
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
# A UTF-8 locale, so arguments and file names reach Windows programs with every character,
# as a user's shell passes them.
export LANG=C.UTF-8
export LC_ALL=C.UTF-8
if [ ! -f "$prefix/.pellmark-ready" ]; then
    mkdir -p "$prefix"
    (
        flock 9
        if [ ! -f "$prefix/.pellmark-ready" ]; then
            wineboot --init >/dev/null 2>&1 || true
            wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
            wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
            wineserver -w
            touch "$prefix/.pellmark-ready"
        fi
    ) 9>"$prefix.lock"
fi
exec wine "$@"
