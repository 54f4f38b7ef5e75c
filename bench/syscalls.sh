#!/bin/bash
# Counts the system calls behind the tree rows of the benchmark: the Wine process that
# calls the export (strace -f -c) against the native tool on the same tree. The calls
# that Wine's own server makes on top are not counted. Run after bench/run.sh has made
# its data:
#   bench/syscalls.sh [--arch 32|64] [MB]
# --arch picks the DLL as bench/run.sh does (32 by default, or VNK_BENCH_ARCH); MB names
# the data set's folder (256 by default).
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bits=${VNK_BENCH_ARCH:-32}
if [ "${1:-}" = --arch ]; then bits=${2:-}; shift 2; fi
case $bits in
    32 | 64) ;;
    *) echo "bench/syscalls.sh: --arch takes 32 or 64, not $bits" >&2; exit 2 ;;
esac
command -v strace >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends strace >/dev/null
DATA=${VNK_BENCH_DIR:-$top/build/bench-data}
TREE=$DATA/${1:-256}/tree W=$DATA/work
BENCH_EXE=build/win$bits/vnkbench.exe
[ -d "$TREE" ] || { echo "no data: run bench/run.sh first" >&2; exit 1; }
[ -f "$BENCH_EXE" ] || { echo "no $BENCH_EXE: run bench/run.sh --arch $bits first" >&2; exit 1; }
mkdir -p "$W"
win() { printf 'Z:%s' "$1" | tr / '\\'; }
source scripts/wine-env.sh
if [ $bits = 32 ] && ! wine32_works; then
    echo "bench/syscalls.sh: this machine cannot run 32-bit programs; count the x64 DLL's with --arch 64" >&2
    exit 1
fi
wine_arch $bits
start_wine || exit 1

calls() { awk '/ total$/ { n += $4 } END { print n }' "$1"; }
count() {  # LABEL COMMAND...
    local label=$1; shift
    strace -f -c -o "$W/strace.txt" "$@" >/dev/null 2>&1
    printf '%-44s %10s system calls\n' "$label" "$(calls "$W/strace.txt")"
}
count "wine, an export that returns at once" "$VNK_WINE" "$BENCH_EXE" cFileSize "s:$(win "$TREE")"
count "cRcsFilesSize (tree)" "$VNK_WINE" "$BENCH_EXE" --double cRcsFilesSize "s:$(win "$TREE")" s: i:-1
count "du -sb" du -sb "$TREE"
count "cSearchFile *.txt (tree)" "$VNK_WINE" "$BENCH_EXE" cSearchFile "s:$(win "$TREE")" "s:*.txt" "s:$(win "$W")\\out.lst"
count "find -name" find "$TREE" -name '*.txt'
rm -rf "$W/victim"; cp -r "$TREE" "$W/victim"; sync
count "cKillDirs (tree)" "$VNK_WINE" "$BENCH_EXE" --int --until-zero cKillDirs "s:$(win "$W")\\victim" i:1
rm -rf "$W/victim"; cp -r "$TREE" "$W/victim"; sync
count "rm -rf" rm -rf "$W/victim"
rm -rf "$W/victim" "$W/out.lst" "$W/strace.txt"
