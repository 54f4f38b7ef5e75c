#!/bin/bash
# The DLL as a VB program meets it: every export undecorated, each one in the export
# table and in the module-definition file of its architecture (on 32 bits with the byte
# count matching its argument count), and nothing imported but system DLLs.
set -euo pipefail
build=${1:?build folder}
top=$(cd "$(dirname "$0")/../.." && pwd)
source "$top/tests/scripts/arch.sh"
def=$top/VARNOK-$bits.def
dump=$("$triple-objdump" -p "$dll")
fail=0

exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | awk '/\]/{print $NF}' | grep -v Table)
if grep -q '@' <<<"$exports"; then echo "decorated export names: $(grep '@' <<<"$exports")"; fail=1; fi

# name -> argument count from the export table
declare -A argc
while read -r name count; do argc[$name]=$count; done < <(
    grep -E '^\s+X\(c' "$top/frame/export_table.h" | sed -E 's/^\s+X\(([A-Za-z0-9]+), [A-Za-z]+(.*)\).*/\1 \2/' |
    awk '{ n = gsub(/,/, ","); print $1, n }')
[ ${#argc[@]} -eq 94 ] || { echo "export table lists ${#argc[@]} exports, not 94"; fail=1; }

for name in $exports; do
    [ -n "${argc[$name]:-}" ] || { echo "$name is exported but not in the export table"; fail=1; continue; }
    if [ $bits = 64 ]; then
        grep -qE "^\s+$name\s*$" "$def" || { echo "$name is not in $(basename "$def")"; fail=1; }
        continue
    fi
    bytes=$(grep -E "^\s+$name = $name@[0-9]+\s*$" "$def" | sed -E 's/.*@([0-9]+).*/\1/')
    [ "$bytes" = "$(( 4 * ${argc[$name]} ))" ] || { echo "$name: .def says @$bytes, table has ${argc[$name]} arguments"; fail=1; }
done
defs=$(grep -cE '^\s+c[A-Za-z0-9]+( = |\s*$)' "$def")
[ "$defs" -eq "$(wc -w <<<"$exports")" ] || { echo "the .def names $defs exports, the DLL has $(wc -w <<<"$exports")"; fail=1; }

imports=$(awk '/DLL Name:/{print toupper($3)}' <<<"$dump" | sort -u)
for dllname in $imports; do
    case $dllname in KERNEL32.DLL|MSVCRT.DLL|OLEAUT32.DLL|OLE32.DLL) ;; *) echo "imports $dllname"; fail=1 ;; esac
done
echo "$dll_name: $(wc -w <<<"$exports") undecorated exports; imports: $(echo $imports)"
exit $fail
