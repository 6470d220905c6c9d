#!/bin/sh
# Checks that every function a Windows program imports is exported, by name, by the oldest
# Windows it is built for, from the lists beside this script (one per DLL: function, first
# Windows client, and "x64" for a function only 64-bit Windows has).
#   check-imports.sh OBJDUMP EXE OLDEST-WINDOWS(XP|7) ARCHITECTURE(x86|x64)
set -eu
objdump=$1
exe=$2
oldest=$3
arch=$4
lists=$(dirname "$0")

"$objdump" -p "$exe" | awk -v lists="$lists" -v oldest="$oldest" -v arch="$arch" '
function rank(version) {
    if (version == "2000") return 1
    if (version == "XP") return 2
    if (version == "Vista") return 3
    if (version == "7") return 4
    if (version == "8") return 5
    if (version == "10") return 6
    return 99  # "-": never exported by name
}
function load(dll,    file, line, n, fields) {
    if (dll in loaded) return loaded[dll]
    file = lists "/" substr(dll, 1, length(dll) - 4) ".txt"
    loaded[dll] = 0
    while ((getline line < file) > 0) {
        exists[dll] = 1
        if (line ~ /^#/ || line ~ /^[[:space:]]*$/) continue
        n = split(line, fields, /[[:space:]]+/)
        first[dll, fields[1]] = fields[2]
        only[dll, fields[1]] = (n >= 3 ? fields[3] : "")
        loaded[dll] = 1
    }
    close(file)
    return loaded[dll]
}
function fail(text) { print text; failed = 1 }
/DLL Name:/ { dll = tolower($3); next }
dll != "" && NF == 0 { dll = ""; next }
dll != "" && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ {
    checked++
    if (NF < 3 || $3 == "<none>") {
        fail(dll " ordinal " $2 ": imported by ordinal; import it by name or look it up at run time")
        next
    }
    name = $3
    if (!load(dll) && (dll in exists)) {
        fail(dll " " name ": " dll " is not imported at all; its list in " lists " says why")
        next
    }
    if (!load(dll)) { fail(dll " " name ": no list for " dll " in " lists); next }
    if (!((dll, name) in first)) {
        fail(dll " " name ": not in " dll "'"'"'s list; add it with its documented minimum Windows")
        next
    }
    if (rank(first[dll, name]) > rank(oldest))
        fail(dll " " name ": not exported by name before Windows " first[dll, name] \
             " (this program is built for Windows " oldest ")")
    else if (only[dll, name] == "x64" && arch != "x64")
        fail(dll " " name ": exported by 64-bit Windows only")
}
END {
    if (checked == 0) { print "no imports found"; exit 1 }
    printf "%d imported functions checked against Windows %s (%s)\n", checked, oldest, arch
    exit failed
}'
