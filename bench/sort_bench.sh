#!/bin/bash
# Benchmark, not a test: sorts a text file of at least 100 MB through cFileSort
# (VARNOK-32.DLL under Wine, via vnkcall.exe) and with LC_ALL=C sort on the same file in
# the same run, and prints the time and peak memory of each.
# Usage: bench/sort_bench.sh [--arch 32|64] [BUILD_DIR [MEGABYTES]]
# --arch picks the DLL as bench/run.sh does (32 by default, or VNK_BENCH_ARCH); BUILD_DIR
# defaults to build/win32 or build/win64 to match, MEGABYTES to 110.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bits=${VNK_BENCH_ARCH:-32}
if [ "${1:-}" = --arch ]; then bits=${2:-}; shift 2; fi
case $bits in
    32 | 64) ;;
    *) echo "bench/sort_bench.sh: --arch takes 32 or 64, not $bits" >&2; exit 2 ;;
esac
build=$(cd "${1:-$top/build/win$bits}" && pwd)
megabytes=${2:-110}
[ "$megabytes" -ge 100 ] || { echo "at least 100 MB" >&2; exit 2; }
source "$top/scripts/wine-env.sh"
if [ $bits = 32 ] && ! wine32_works; then
    echo "bench/sort_bench.sh: this machine cannot run 32-bit programs; use --arch 64" >&2
    exit 1
fi
wine_arch $bits
start_wine
work=$(mktemp -d /tmp/vnk-sort-bench.XXXXXX)
trap 'rm -rf "$work"; stop_wine' EXIT
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
measure "cFileSort, empty file (Wine start)" "$VNK_WINE" "$build/vnkcall.exe" cFileSort empty.txt e.out 1 0 0 0 0
measure "cFileSort ascending" "$VNK_WINE" "$build/vnkcall.exe" cFileSort in.txt dll.out 1 0 0 0 0
measure "cFileSort descending, no case" "$VNK_WINE" "$build/vnkcall.exe" cFileSort in.txt dll10.out 10 0 0 0 0
measure "LC_ALL=C sort" env LC_ALL=C sort -o sort.out in.txt
measure "LC_ALL=C sort --parallel=1" env LC_ALL=C sort --parallel=1 -o sort1.out in.txt

# No line holds a byte below the line end, so both orders are the same order.
if tr -d '\r' <dll.out | cmp -s - <(tr -d '\r' <in.txt | LC_ALL=C sort); then
    echo "outputs agree"
else
    echo "OUTPUTS DIFFER"
fi
