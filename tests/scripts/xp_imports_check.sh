#!/bin/bash
# VARNOK-32.DLL and vnkcall.exe load on Windows XP SP3: every function they import, from
# every DLL, is one that XP's system DLLs export (the list in xp_imports.txt, with where
# each entry comes from), and the image asks for no newer Windows than XP (5.1). The x64
# build is held to the same list (plus the entries marked x64 there) and to the first
# Windows for x64, XP x64 / Server 2003 (5.2).
set -euo pipefail
build=${1:?build folder}
top=$(cd "$(dirname "$0")/../.." && pwd)
source "$top/tests/scripts/arch.sh"
oldest=$((bits == 64 ? 502 : 501))
allowed=$(grep -v '^#' "$top/tests/scripts/xp_imports.txt" | grep . |
    if [ $bits = 64 ]; then sed 's/^x64 //'; else grep -v '^x64 '; fi | sort -u)
fail=0
for image in "$dll" "$build/vnkcall.exe"; do
    dump=$("$triple-objdump" -p "$image")
    # "DLL Name: X" opens each imported DLL; its functions follow as "vma hint name".
    imports=$(sed -n '/^The Import Tables/,/^The Export Tables\|^PE File Base Relocations/p' <<<"$dump" | awk '
        /DLL Name:/ { dll = toupper($3); next }
        dll != "" && NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print dll, $3 }' | sort -u)
    [ -n "$imports" ] || { echo "$(basename "$image"): no import found in the objdump listing"; fail=1; continue; }
    newer=$(comm -23 <(echo "$imports") <(echo "$allowed"))
    if [ -n "$newer" ]; then
        echo "$(basename "$image") imports what xp_imports.txt does not allow:"; sed 's/^/  /' <<<"$newer"; fail=1
    fi
    for field in OSystem Subsystem; do
        major=$(awk -v f="Major${field}Version" '$1 == f { print $2 }' <<<"$dump")
        minor=$(awk -v f="Minor${field}Version" '$1 == f { print $2 }' <<<"$dump")
        if [ $((major * 100 + minor)) -gt $oldest ]; then
            echo "$(basename "$image"): ${field} version $major.$minor, the oldest Windows for it is $((oldest / 100)).$((oldest % 100))"; fail=1
        fi
    done
    echo "$(basename "$image"): $(wc -l <<<"$imports") imports from $(awk '{print $1}' <<<"$imports" | sort -u | tr '\n' ' ')"
done
exit $fail
