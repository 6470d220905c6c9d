#!/bin/sh
# Checks a built pellmark.exe: it imports only DLLs that ship with Windows (so it runs as
# one file, with no runtime DLL beside it) and carries its manifest.
#   check-windows-exe.sh OBJDUMP EXE
set -eu
objdump=$1
exe=$2

allowed='^(kernel32|user32|gdi32|advapi32|shell32|shlwapi|comctl32|comdlg32|ole32|oleaut32|ws2_32|wsock32|version|msimg32|msvcrt|winmm|uxtheme|api-ms-win-crt-[a-z0-9-]+)\.dll$'
failed=0
dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
[ -n "$dlls" ] || { echo "no imports found in $exe"; exit 1; }
for dll in $dlls; do
    if ! echo "$dll" | grep -Eq "$allowed"; then
        echo "imports a DLL that does not ship with Windows: $dll"
        failed=1
    fi
done
for needle in 'PerMonitorV2' 'true/pm' 'Microsoft.Windows.Common-Controls' \
              '8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a'; do
    if ! grep -aq "$needle" "$exe"; then
        echo "the manifest lacks $needle"
        failed=1
    fi
done
echo "imports: $(echo $dlls | tr '\n' ' ')"
echo "size: $(wc -c < "$exe") bytes"
exit $failed
