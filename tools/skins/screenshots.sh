#!/usr/bin/env bash
# Screenshots of the main window under Wine, on a virtual X server, against the stand-in
# desktop with the sample layout: each of its pages (two special icons listed), its help
# panel, the about box, the options dialog (options-DPI.png) and the wallpaper picker
# (wallpaper-DPI.png, previewing a picture drawn here), and its three menus
# (menu-NAME-DPI.png) and the version check's progress window (progress-DPI.png), at 96 and
# 144 DPI. They are for people to look at; nothing compares them.
#   bash tools/skins/screenshots.sh [BUILD-FOLDER]     (default build/win64, built first;
#                                                       scripts/screenshots.sh installs and builds)
# SHOTS="options wallpaper" takes only those pages (the menus and progress window when named
# as menus / progress).
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/win64}
if [ $# -eq 0 ]; then
    cmake --preset win64 >/dev/null
    cmake --build --preset win64 --target pellmark pellmark_beside_program show_page desktophost \
        menu_shot progress_shot
fi
build=$(cd "$build" && pwd)
bin=$build/bin
shots=$build/chrome-shots
mkdir -p "$shots"
export WINEPREFIX=$build/wineprefix-chrome
export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export DISPLAY=${SHOT_DISPLAY:-:78}  # another display when two galleries run at once
log=$(mktemp)
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -f "$log"' EXIT
sleep 1
[ -f "$WINEPREFIX/.pellmark-chrome" ] || { wineboot --init >/dev/null 2>&1 || true; wineserver -w; touch "$WINEPREFIX/.pellmark-chrome"; }
# Windows has Marlett, which the menus draw their marks with; Debian's Wine keeps it in
# fonts-wine without putting it in a prefix.
marlett=/usr/share/wine/fonts/marlett.ttf
[ ! -f "$marlett" ] || cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
# A picture beside the program for the wallpaper picker to preview, drawn here.
convert -size 1024x768 gradient:'#1e3c64'-'#e8a050' -fill '#f6e3a8' \
    -draw 'circle 700,330 760,330' -fill '#203040' -draw 'polygon 0,768 0,600 300,520 640,640 1024,560 1024,768' \
    "$bin/sample-wallpaper.jpg"
# Two special icons that Wine's registry describes (the bin has a picture, the computer
# none), for the Special Icons page; the program folder's own list comes back afterwards.
special=$bin/SpecialDesktopIcons.cfg
kept=$(mktemp)
if [ -f "$special" ]; then cp "$special" "$kept"; else rm -f "$kept"; fi
printf '{645FF040-5081-101B-9F08-00AA002F954E}\r\n{20D04FE0-3AEA-1069-A2D8-08002B30309D}\r\n' >"$special"
restore_special() {
    if [ -f "$kept" ]; then mv "$kept" "$special"; else rm -f "$special"; fi
}
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -f "$log" "$bin/sample-wallpaper.jpg"; restore_special' EXIT
wine reg add 'HKCU\Software\Pellmark\Settings' /v CloseWhenRestored /d False /f >/dev/null 2>&1
# SHOT_LANGUAGE=German shows the pages in that language.
wine reg add 'HKCU\Software\Pellmark\Settings' /v Language /d "${SHOT_LANGUAGE:-English}" /f >/dev/null 2>&1
for dpi in 96 144; do
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1
    wineserver -w
    wine "$bin/desktophost.exe" samples/sample-desktop.layout >"$log" 2>&1 &
    for _ in $(seq 1 300); do
        grep -q 'ready' "$log" && break
        sleep 0.1
    done
    pages=${SHOTS:-intro 1-0 1-1 1-2 2-0 2-1 2-2 help about wallpaper options menus progress}
    for page in $pages; do
        case $page in menus | progress) continue ;; esac
        wine "$bin/pellmark.exe" &
        pellmark=$!
        wine "$bin/show_page.exe" $page
        sleep 2
        import -window root "$shots/$page-$dpi.png"
        wine "$bin/show_page.exe" close
        wait $pellmark || true
        echo "$shots/$page-$dpi.png"
    done
    # Each menu shows its second item selected a moment after it opens, and closes itself.
    menus=mnuMain\ mnuSysTrayIcon\ mnuSaveList
    [[ " $pages " == *" menus "* ]] || menus=
    for name in $menus; do
        wine "$bin/menu_shot.exe" $name 5 &
        menu=$!
        sleep 3
        import -window root -crop 480x720+0+0 "$shots/menu-$name-$dpi.png"
        wait $menu || true
        echo "$shots/menu-$name-$dpi.png"
    done
    # The version check's progress window, about a third into its wait for a silent server.
    if [[ " $pages " == *" progress "* ]]; then
        wine "$bin/progress_shot.exe" 20 &
        shot=$!
        sleep 16
        import -window root -crop 600x400+212+184 "$shots/progress-$dpi.png"
        wait $shot || true
        echo "$shots/progress-$dpi.png"
    fi
    wineserver -k 2>/dev/null || true
    wineserver -w
done
