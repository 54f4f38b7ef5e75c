#!/bin/bash
# VARNOK-32.DLL and vnkcall.exe load on Windows XP SP3: every function they import, from
# every DLL, is one that XP's system DLLs export (the list in xp_imports.txt, with where
# each entry comes from), and the image asks for no newer Windows than XP (5.1).
set -euo pipefail
build=${1:?build folder}
top=$(cd "$(dirname "$0")/../.." && pwd)
allowed=$(grep -v '^#' "$top/tests/scripts/xp_imports.txt" | grep . | sort -u)
fail=0
for image in "$build/VARNOK-32.DLL" "$build/vnkcall.exe"; do
    dump=$(i686-w64-mingw32-objdump -p "$image")
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
        if [ $((major * 100 + minor)) -gt 501 ]; then echo "$(basename "$image"): ${field} version $major.$minor, XP is 5.1"; fail=1; fi
    done
    echo "$(basename "$image"): $(wc -l <<<"$imports") imports from $(awk '{print $1}' <<<"$imports" | sort -u | tr '\n' ' ')"
done
exit $fail
