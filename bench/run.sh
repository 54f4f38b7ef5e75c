#!/bin/bash
# The benchmark: each whole-file export through the DLL under Wine against the tool a user
# would pick instead, run natively on the same files; then the pure kernels natively.
#
#   bench/run.sh [--arch 32|64] [--quick] [--runs N] [--rows PATTERN] [--no-kernels]
#
# --arch picks the DLL: 32 (the default, or VNK_BENCH_ARCH) times VARNOK-32.DLL from
# build/win32 in the 32-bit Wine prefix, 64 times VARNOK-64.DLL from build/win64 in the
# 64-bit one.
# --quick uses 32 MB files, a tree of 2,000 files and one run per row; otherwise the
# files are 256 MB, the tree holds 20,000 files in 2,000 folders and every row is the
# median of 3 runs. The data is generated once into $VNK_BENCH_DIR (default
# build/bench-data) and reused. Not part of the tests.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

quick=0 runs=3 rows="" kernels=1 bits=${VNK_BENCH_ARCH:-32}
while [ $# -gt 0 ]; do
    case "$1" in
        --arch) bits=$2; shift ;;
        --quick) quick=1; runs=1 ;;
        --runs) runs=$2; shift ;;
        --rows) rows=$2; shift ;;
        --no-kernels) kernels=0 ;;
        *) echo "usage: bench/run.sh [--arch 32|64] [--quick] [--runs N] [--rows PATTERN] [--no-kernels]" >&2; exit 2 ;;
    esac
    shift
done
case $bits in
    32 | 64) ;;
    *) echo "bench/run.sh: --arch takes 32 or 64, not $bits" >&2; exit 2 ;;
esac
if [ $quick = 1 ]; then MB=32 TOPS=20 SUBS=9 FILES=10; else MB=256 TOPS=20 SUBS=99 FILES=10; fi

# ---- Tools ---------------------------------------------------------------------------
need=""
[ -x /usr/bin/time ] || need="$need time"
command -v uuencode >/dev/null || need="$need sharutils"
if [ -n "$need" ]; then
    echo "Installing:$need"
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $need >/dev/null
fi

echo "Building VARNOK-$bits.DLL, vnkbench.exe and the kernel benchmark"
{ cmake --preset win$bits && cmake --build --preset win$bits --target varnok32 vnkbench; } >/dev/null || exit 1
if [ $kernels = 1 ]; then
    { cmake --preset native && cmake --build --preset native --target kernels_bench; } >/dev/null || exit 1
fi
BENCH_EXE=build/win$bits/vnkbench.exe

# ---- Data ----------------------------------------------------------------------------
DATA=${VNK_BENCH_DIR:-$top/build/bench-data}
DATA=$(mkdir -p "$DATA" && cd "$DATA" && pwd)
SET=$DATA/$MB
mkdir -p "$SET" "$DATA/work"
cc -O2 -o "$DATA/gendata" bench/gendata.c || exit 1
TEXT=$SET/text.txt TEXT2=$SET/text-copy.txt BIN=$SET/binary.dat BIN2=$SET/binary-copy.dat TREE=$SET/tree
[ -f "$TEXT" ] || { echo "Generating $TEXT"; "$DATA/gendata" text "$TEXT" $MB; }
[ -f "$BIN" ] || { echo "Generating $BIN"; "$DATA/gendata" binary "$BIN" $MB; }
[ -f "$BIN2" ] || cp "$BIN" "$BIN2"
[ -f "$TEXT2" ] || cp "$TEXT" "$TEXT2"
[ -d "$TREE" ] || { echo "Generating $TREE"; "$DATA/gendata" tree "$TREE" $TOPS $SUBS $FILES; }
W=$DATA/work
rm -rf "${W:?}"/*

# Windows names of the same files (drive Z: is the Linux root).
win() { printf 'Z:%s' "$1" | tr / '\\'; }

source scripts/wine-env.sh
if [ $bits = 32 ] && ! wine32_works; then
    echo "bench/run.sh: this machine cannot run 32-bit programs; time the x64 DLL with --arch 64" >&2
    exit 1
fi
wine_arch $bits
start_wine || exit 1

# ---- Measuring -----------------------------------------------------------------------
now() { date +%s.%N; }
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else print v[int((NR + 1) / 2)] }'; }
TABLE=$W/table.txt
: >"$TABLE"

# lib LABEL PREP VNKBENCH-ARGS...: runs the export `runs` times (PREP, untimed, before each)
# and sets LIB_IN (in-process seconds), LIB_PROC (whole wine process), LIB_MB (max RSS
# of the process) and LIB_OUT (what vnkbench printed on the last run).
lib() {
    local prep=$1; shift
    local ins="" procs="" mbs="" cpus="" t0 t1 out u sy m
    LIB_OUT=""
    for ((r = 0; r < runs; r++)); do
        eval "$prep"
        t0=$(now)
        out=$(/usr/bin/time -f "%U %S %M" -o "$W/rss" "$VNK_WINE" "$BENCH_EXE" "$@" 2>/dev/null)
        t1=$(now)
        case "$out" in seconds=*) ;; *) LIB_OUT="$out"; LIB_IN="-"; LIB_PROC="-"; LIB_MB="-"; return 1 ;; esac
        LIB_OUT=$out
        ins="$ins $(sed -n 's/^seconds=\([0-9.]*\).*/\1/p' <<<"$out")"
        procs="$procs $(echo "$t1 - $t0" | bc -l)"
        read -r u sy m < <(tail -1 "$W/rss")
        cpus="$cpus $(echo "$u + $sy" | bc -l)"
        mbs="$mbs $((m / 1024))"
    done
    LIB_CPU=$(tr ' ' '\n' <<<"$cpus" | grep . | median)
    LIB_IN=$(tr ' ' '\n' <<<"$ins" | grep . | median)
    LIB_PROC=$(tr ' ' '\n' <<<"$procs" | grep . | median)
    LIB_MB=$(tr ' ' '\n' <<<"$mbs" | grep . | sort -n | tail -1)
}

# peer PREP COMMAND: the same for a native command line (run by sh).
peer() {
    local prep=$1 cmd=$2 times="" mbs="" cpus="" t0 t1 u sy m
    for ((r = 0; r < runs; r++)); do
        eval "$prep"
        t0=$(now)
        /usr/bin/time -f "%U %S %M" -o "$W/rss" sh -c "$cmd" >/dev/null 2>&1
        t1=$(now)
        times="$times $(echo "$t1 - $t0" | bc -l)"
        read -r u sy m < <(tail -1 "$W/rss")
        cpus="$cpus $(echo "$u + $sy" | bc -l)"
        mbs="$mbs $((m / 1024))"
    done
    PEER_CPU=$(tr ' ' '\n' <<<"$cpus" | grep . | median)
    PEER_S=$(tr ' ' '\n' <<<"$times" | grep . | median)
    PEER_MB=$(tr ' ' '\n' <<<"$mbs" | grep . | sort -n | tail -1)
}

# row NAME PEER-LABEL LIB-PREP "VNKBENCH-ARGS" PEER-PREP PEER-COMMAND [CHECK]
# CHECK, when given, is a shell test run after the last runs (for instance that both
# outputs hold the same bytes); its outcome goes in the last column.
row() {
    local name=$1 label=$2 lprep=$3 largs=$4 pprep=$5 pcmd=$6 check=${7:-}
    if [ -n "$rows" ] && ! grep -Eq -- "$rows" <<<"$name"; then return; fi
    local same="-" ratio="-" ratio_proc="-"
    eval "set -- $largs"
    if ! lib "$lprep" "$@"; then
        printf '%-30s %s\n' "$name" "skipped: $LIB_OUT" | tee -a "$TABLE"
        return
    fi
    local lib_out=$LIB_OUT
    peer "$pprep" "$pcmd"
    if [ -n "$check" ]; then if eval "$check" >/dev/null 2>&1; then same=yes; else same=NO; fi; fi
    ratio=$(echo "scale=2; $LIB_IN / $PEER_S" | bc -l | sed 's/^\./0./')
    ratio_proc=$(echo "scale=2; $LIB_PROC / $PEER_S" | bc -l | sed 's/^\./0./')
    printf '%-30s %7.3f %7.3f %6.2f  %-30s %7.3f %6.2f %6s %6s %6s %6s  %s\n' "$name" "$LIB_IN" "$LIB_PROC" "$LIB_CPU" \
        "$label" "$PEER_S" "$PEER_CPU" "$ratio" "$ratio_proc" "$LIB_MB" "$PEER_MB" "$same" | tee -a "$TABLE"
    echo "$name: $lib_out" >>"$W/results.txt"
}

T=$(win "$TEXT") T2=$(win "$TEXT2") B=$(win "$BIN") B2=$(win "$BIN2") WW=$(win "$W") TR=$(win "$TREE")
clean='rm -f "$W"/out*' pclean='rm -f "$W"/peer*'
echo
echo "VARNOK-$bits.DLL benchmark: $MB MB files, tree of $((TOPS * (SUBS + 1))) folders and $((TOPS * (SUBS + 1) * FILES)) files, median of $runs run(s)"
echo "$(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores, $(free -g | awk '/^Mem:/ { print $2 }') GB memory; $(wine --version); $(uptime | sed 's/^ *//')"
echo "Library: in-process seconds (QueryPerformanceCounter around the call) and whole wine process; ratio = library / peer."
echo "cpu = user + system seconds of the whole process (the library's includes Wine's start, ~0.05 s)."
echo "MB = peak resident memory (max RSS); the library's includes Wine's own ~15 MB."
printf '%-30s %7s %7s %6s  %-30s %7s %6s %6s %6s %6s %6s  %s\n' "Export (library)" "in-proc" "process" "cpu" "Peer (native)" "peer s" "cpu" "ratio" "r.proc" "lib MB" "peerMB" "same" | tee -a "$TABLE"

row "cFileCopy" "cp" "$clean" "cFileCopy s:'$T' s:'$WW\\out.txt'" "$pclean" "cp '$TEXT' '$W/peer.txt'" \
    "cmp '$TEXT' '$W/out.txt'"
row "cFileCopy" "dd bs=1M (no in-kernel copy)" "$clean" "cFileCopy s:'$T' s:'$WW\\out.txt'" "$pclean" \
    "dd if='$TEXT' of='$W/peer.txt' bs=1M"
row "cFileCopy2" "cp" "$clean" "cFileCopy2 s:'$T' s:'$WW\\out.txt'" "$pclean" "cp '$TEXT' '$W/peer.txt'" \
    "cmp '$TEXT' '$W/out.txt'"
row "cFileSort 1 (case)" "LC_ALL=C sort --parallel=1" "$clean" "cFileSort s:'$T' s:'$WW\\out.txt' i:1 i:0 i:0 i:0 r:" \
    "$pclean" "LC_ALL=C sort --parallel=1 '$TEXT' -o '$W/peer.txt'"
row "cFileSort 1 (case)" "LC_ALL=C sort" "$clean" "cFileSort s:'$T' s:'$WW\\out.txt' i:1 i:0 i:0 i:0 r:" \
    "$pclean" "LC_ALL=C sort '$TEXT' -o '$W/peer.txt'" "cmp '$W/out.txt' '$W/peer.txt'"
row "cFileSort 9 (no case)" "LC_ALL=C sort -f --parallel=1" "$clean" "cFileSort s:'$T' s:'$WW\\out.txt' i:9 i:0 i:0 i:0 r:" \
    "$pclean" "LC_ALL=C sort -f --parallel=1 '$TEXT' -o '$W/peer.txt'"
row "cFileSort 9 (no case)" "LC_ALL=C sort -f" "$clean" "cFileSort s:'$T' s:'$WW\\out.txt' i:9 i:0 i:0 i:0 r:" \
    "$pclean" "LC_ALL=C sort -f '$TEXT' -o '$W/peer.txt'"
row "cFileStatistics" "wc" "" "cFileStatistics s:'$T' r: r: r:" "" "wc '$TEXT'"
row "cFileLineCount" "wc -l" "" "cFileLineCount s:'$T'" "" "wc -l '$TEXT'"
row "cFileSearchCount" "grep -o -F | wc -l" "" "cFileSearchCount s:'$T' s:Berlin i:-1" "" \
    "grep -o -F Berlin '$TEXT' | wc -l"
row "cFileSearchAndReplace" "sed s/x/y/g" "$clean; cp '$TEXT' '$W/out.txt'" \
    "cFileSearchAndReplace s:'$WW\\out.txt' s:Berlin s:Munich s:'$WW\\out.tmp' i:-1" \
    "$pclean" "sed 's/Berlin/Munich/g' '$TEXT' >'$W/peer.txt'" "cmp '$W/out.txt' '$W/peer.txt'"
row "cFileToUpper" "tr a-z A-Z" "$clean" "cFileToUpper s:'$T' s:'$WW\\out.txt'" "$pclean" \
    "tr a-z A-Z <'$TEXT' >'$W/peer.txt'" "cmp '$W/out.txt' '$W/peer.txt'"
row "cFileFilter" "tr -d" "$clean" "cFileFilter s:'$T' s:'$WW\\out.txt' b:,." "$pclean" \
    "tr -d ,. <'$TEXT' >'$W/peer.txt'" "cmp '$W/out.txt' '$W/peer.txt'"
row "cFileExpandTab" "expand" "$clean" "cFileExpandTab s:'$T' s:'$WW\\out.txt' i:8" "$pclean" \
    "expand '$TEXT' >'$W/peer.txt'"
row "cFileMerge" "cat" "$clean" "cFileMerge s:'$T' s:'$B' s:'$WW\\out.txt'" "$pclean" \
    "cat '$TEXT' '$BIN' >'$W/peer.txt'" "cmp '$W/out.txt' '$W/peer.txt'"
row "cFileMerge" "cat | cat (no in-kernel copy)" "$clean" "cFileMerge s:'$T' s:'$B' s:'$WW\\out.txt'" "$pclean" \
    "cat '$TEXT' '$BIN' | cat >'$W/peer.txt'"
row "cCmpFileContents -1 (exact)" "cmp" "" "cCmpFileContents s:'$B' s:'$B2' i:-1" "" "cmp '$BIN' '$BIN2'"
row "cCmpFileContents 0 (no case)" "cmp" "" "cCmpFileContents s:'$T' s:'$T2' i:0" "" "cmp '$TEXT' '$TEXT2'"
row "cFileUUCP 0 (encode)" "uuencode" "$clean" "cFileUUCP s:'$B' s:'$WW\\out.uue' i:0" "$pclean" \
    "uuencode '$BIN' binary.dat >'$W/peer.uue'"
cp "$W/out.uue" "$W/lib.uue" 2>/dev/null; uuencode "$BIN" binary.dat >"$W/enc-peer.uue"
row "cFileUUCP 1 (decode)" "uudecode" "$clean" "cFileUUCP s:'$WW\\lib.uue' s:'$WW\\out.bin' i:1" "$pclean" \
    "uudecode -o '$W/peer.bin' '$W/enc-peer.uue'" "cmp '$W/out.bin' '$BIN' && cmp '$W/peer.bin' '$BIN'"
rm -f "$W"/*.uue
row "cRcsFilesSize (tree)" "du -sb" "" "--double cRcsFilesSize s:'$TR' s: i:-1" "" "du -sb '$TREE'"
row "cSearchFile *.txt (tree)" "find -name" "$clean" "cSearchFile s:'$TR' s:*.txt s:'$WW\\out.lst'" "$pclean" \
    "find '$TREE' -name '*.txt' >'$W/peer.lst'" "[ \$(wc -l <'$W/out.lst') = \$(wc -l <'$W/peer.lst') ]"
row "cKillDirs (tree)" "rm -rf" "rm -rf '$W/victim'; cp -r '$TREE' '$W/victim'" \
    "--int --until-zero cKillDirs s:'$WW\\victim' i:1" "rm -rf '$W/victim'; cp -r '$TREE' '$W/victim'" \
    "rm -rf '$W/victim'"
rm -rf "$W/victim" "$W"/out* "$W"/peer*

echo
echo "Library results (last run):"
cat "$W/results.txt"

if [ $kernels = 1 ]; then
    echo
    echo "Kernels, natively (bytes per second; memcpy is the ceiling):"
    build/native/kernels_bench --benchmark_min_time=0.2 2>&1 | grep -v '^\*\*\*'
fi
