#!/bin/bash
# Benchmark, not a test: sorts a text file of at least 100 MB through cFileSort
# (VARNOK-32.DLL under Wine, via vnkcall.exe) and with LC_ALL=C sort on the same file in
# the same run, and prints the time and peak memory of each.
# Usage: bench/sort_bench.sh [BUILD_DIR [MEGABYTES]]   (defaults: build/win32, 110)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build/win32}" && pwd)
megabytes=${2:-110}
[ "$megabytes" -ge 100 ] || { echo "at least 100 MB" >&2; exit 2; }
source "$top/scripts/wine-env.sh"
start_wine
work=$(mktemp -d /tmp/vnk-sort-bench.XXXXXX)
trap 'rm -rf "$work"; wineserver -k >/dev/null 2>&1 || true' EXIT
cd "$work"

# Text lines of 20 to 99 random characters with CR LF line ends, as a Windows program
# would have them; about one line in eight repeats an earlier one.
echo "making a ${megabytes} MB text file..."
head -c $((megabytes * 1024 * 1024 * 3 / 4 + 4096)) /dev/urandom | base64 -w 0 |
    awk -v limit=$((megabytes * 1024 * 1024)) 'BEGIN { RS = "^$"; srand(5) }
      { pos = 1; total = 0; n = 0
        while (total < limit) {
          if (n > 100 && rand() < 0.125) line = seen[int(rand() * 100)]
          else { len = 20 + int(rand() * 80); line = substr($0, pos, len); pos += len }
          seen[n % 100] = line; n++
          printf "%s\r\n", line; total += length(line) + 2
        } }' >in.txt
lines=$(wc -l <in.txt)
printf 'input: %s bytes, %s lines\n\n' "$(stat -c %s in.txt)" "$lines"

measure() {  # label, command...
    local label=$1; shift
    /usr/bin/time -f '%e %M' -o time.txt "$@" >/dev/null 2>&1 </dev/null
    read -r seconds kilobytes <time.txt
    printf '%-34s %8.2f s %10d KB peak\n' "$label" "$seconds" "$kilobytes"
}

: >empty.txt
# What Wine costs before any sorting: a call on an empty file.
measure "cFileSort, empty file (Wine start)" wine "$build/vnkcall.exe" cFileSort empty.txt e.out 1 0 0 0 0
measure "cFileSort ascending" wine "$build/vnkcall.exe" cFileSort in.txt dll.out 1 0 0 0 0
measure "cFileSort descending, no case" wine "$build/vnkcall.exe" cFileSort in.txt dll10.out 10 0 0 0 0
measure "LC_ALL=C sort" env LC_ALL=C sort -o sort.out in.txt
measure "LC_ALL=C sort --parallel=1" env LC_ALL=C sort --parallel=1 -o sort1.out in.txt

# No line holds a byte below the line end, so both orders are the same order.
if tr -d '\r' <dll.out | cmp -s - <(tr -d '\r' <in.txt | LC_ALL=C sort); then
    echo "outputs agree"
else
    echo "OUTPUTS DIFFER"
fi
