#!/bin/bash
# Counts the system calls behind the tree rows of the benchmark: the Wine process that
# calls the export (strace -f -c) against the native tool on the same tree. The calls
# that Wine's own server makes on top are not counted. Run after bench/run.sh has made
# its data:  bench/syscalls.sh [MB]   (MB as the data set's folder, 256 by default)
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
command -v strace >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends strace >/dev/null
DATA=${VNK_BENCH_DIR:-$top/build/bench-data}
TREE=$DATA/${1:-256}/tree W=$DATA/work
[ -d "$TREE" ] || { echo "no data: run bench/run.sh first" >&2; exit 1; }
mkdir -p "$W"
win() { printf 'Z:%s' "$1" | tr / '\\'; }
source scripts/wine-env.sh
start_wine

calls() { awk '/ total$/ { n += $4 } END { print n }' "$1"; }
count() {  # LABEL COMMAND...
    local label=$1; shift
    strace -f -c -o "$W/strace.txt" "$@" >/dev/null 2>&1
    printf '%-44s %10s system calls\n' "$label" "$(calls "$W/strace.txt")"
}
count "wine, an export that returns at once" wine build/win32/vnkbench.exe cFileSize "s:$(win "$TREE")"
count "cRcsFilesSize (tree)" wine build/win32/vnkbench.exe --double cRcsFilesSize "s:$(win "$TREE")" s: i:-1
count "du -sb" du -sb "$TREE"
count "cSearchFile *.txt (tree)" wine build/win32/vnkbench.exe cSearchFile "s:$(win "$TREE")" "s:*.txt" "s:$(win "$W")\\out.lst"
count "find -name" find "$TREE" -name '*.txt'
rm -rf "$W/victim"; cp -r "$TREE" "$W/victim"
count "cKillDirs (tree)" wine build/win32/vnkbench.exe --int --until-zero cKillDirs "s:$(win "$W")\\victim" i:1
rm -rf "$W/victim"; cp -r "$TREE" "$W/victim"
count "rm -rf" rm -rf "$W/victim"
rm -rf "$W/victim" "$W/out.lst" "$W/strace.txt"
