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
#
# Every family of rows starts with its floor: the same work done by a plain Win32 program
# (vnkfloor.exe) under the same Wine, so that each row shows how far above what Wine
# allows it is. Before every timed run the page cache's dirty pages are written out
# (sync), so that no run pays for the writeback of the one before.
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

echo "Building VARNOK-$bits.DLL, vnkbench.exe, vnkfloor.exe and the kernel benchmarks"
{ cmake --preset win$bits && cmake --build --preset win$bits --target varnok32 vnkbench vnkfloor; } >/dev/null || exit 1
kernels_i686=""
if [ $kernels = 1 ]; then
    { cmake --preset native && cmake --build --preset native --target kernels_bench; } >/dev/null || exit 1
    # The kernels as the DLL's i686 code: a 32-bit Windows program, run under 32-bit Wine
    # where this machine can run it.
    if { cmake --preset win32 && cmake --build --preset win32 --target kernels_bench; } >/dev/null 2>&1; then
        kernels_i686=build/win32/kernels_bench.exe
    fi
fi
BENCH_EXE=build/win$bits/vnkbench.exe FLOOR_EXE=build/win$bits/vnkfloor.exe

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
sync

# Windows names of the same files (drive Z: is the Linux root).
win() { printf 'Z:%s' "$1" | tr / '\\'; }

source scripts/wine-env.sh
if [ $bits = 32 ] && ! wine32_works; then
    echo "bench/run.sh: this machine cannot run 32-bit programs; time the x64 DLL with --arch 64" >&2
    exit 1
fi
wine_arch $bits
start_wine || exit 1

# The prefix's wine server, a process of its own that does much of the work of Wine's file
# services: its CPU time is added to the library's. It runs in a folder named after the
# prefix's device and inode.
server_pid() {
    local tag p
    tag=$(printf 'server-%x-%x' $(stat -c '%d %i' "$WINEPREFIX"))
    for p in /proc/[0-9]*; do
        case $(cat "$p/comm" 2>/dev/null) in wineserver*) ;; *) continue ;; esac
        case $(readlink "$p/cwd" 2>/dev/null) in */"$tag") echo "${p#/proc/}"; return 0 ;; esac
    done
    return 1
}
SERVER=$(server_pid) || SERVER=""
TICKS=$(getconf CLK_TCK)
server_cpu() {  # user + system seconds of the server so far (0 when it is not found)
    if [ -n "$SERVER" ] && [ -r "/proc/$SERVER/stat" ]; then
        awk -v t="$TICKS" '{ sub(/^.*\) /, ""); printf "%.2f\n", ($12 + $13) / t }' "/proc/$SERVER/stat"
    else
        echo 0
    fi
}

# ---- Measuring -----------------------------------------------------------------------
now() { date +%s.%N; }
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else print v[int((NR + 1) / 2)] }'; }
med() { tr ' ' '\n' <<<"$1" | grep . | median; }
TABLE=$W/table.txt
: >"$TABLE"

# wineprog EXE PREP ARGS...: runs a Windows program of the benchmark (vnkbench.exe or
# vnkfloor.exe) `runs` times, PREP and a sync (untimed) before each, and sets LIB_IN
# (in-process seconds), LIB_PROC (whole wine process), LIB_CPU (user + system seconds of
# the process and of the wine server), LIB_SRV (the server's part), LIB_MB (max RSS of the
# process) and LIB_OUT (what the program printed on the last run).
wineprog() {
    local exe=$1 prep=$2; shift 2
    local ins="" procs="" mbs="" cpus="" srvs="" t0 t1 s0 s1 out u sy m
    LIB_OUT=""
    for ((r = 0; r < runs; r++)); do
        eval "$prep"
        sync
        s0=$(server_cpu)
        t0=$(now)
        out=$(/usr/bin/time -f "%U %S %M" -o "$W/rss" "$VNK_WINE" "$exe" "$@" 2>/dev/null)
        t1=$(now)
        s1=$(server_cpu)
        case "$out" in seconds=*) ;; *) LIB_OUT="$out"; return 1 ;; esac
        LIB_OUT=$out
        ins="$ins $(sed -n 's/^seconds=\([0-9.]*\).*/\1/p' <<<"$out")"
        procs="$procs $(echo "$t1 - $t0" | bc -l)"
        read -r u sy m < <(tail -1 "$W/rss")
        srvs="$srvs $(echo "$s1 - $s0" | bc -l)"
        cpus="$cpus $(echo "$u + $sy + $s1 - $s0" | bc -l)"
        mbs="$mbs $((m / 1024))"
    done
    LIB_CPU=$(med "$cpus") LIB_SRV=$(med "$srvs") LIB_IN=$(med "$ins") LIB_PROC=$(med "$procs")
    LIB_MB=$(tr ' ' '\n' <<<"$mbs" | grep . | sort -n | tail -1)
}

# peer PREP COMMAND: the same for a native command line (run by sh).
peer() {
    local prep=$1 cmd=$2 times="" mbs="" cpus="" t0 t1 u sy m
    for ((r = 0; r < runs; r++)); do
        eval "$prep"
        sync
        t0=$(now)
        /usr/bin/time -f "%U %S %M" -o "$W/rss" sh -c "$cmd" >/dev/null 2>&1
        t1=$(now)
        times="$times $(echo "$t1 - $t0" | bc -l)"
        read -r u sy m < <(tail -1 "$W/rss")
        cpus="$cpus $(echo "$u + $sy" | bc -l)"
        mbs="$mbs $((m / 1024))"
    done
    PEER_CPU=$(med "$cpus") PEER_S=$(med "$times")
    PEER_MB=$(tr ' ' '\n' <<<"$mbs" | grep . | sort -n | tail -1)
}

# What the last library run printed: its result, or the value of one of its by-reference
# arguments (`out`); for the CHECK of a row.
lib_result() { sed -n 's/.* result=\([-0-9]*\).*/\1/p' <<<"$lib_out"; }
lib_ref() { sed -n 's/.* out=\([-0-9]*\).*/\1/p' <<<"$lib_out"; }
ratio() { echo "scale=2; $1 / $2" | bc -l | sed 's/^\./0./'; }

# family KEY NAME PEER-LABEL PREP "VNKFLOOR-ARGS" PEER-PREP PEER-COMMAND [CHECK]: the rows
# that follow belong to the family KEY, whose floor is vnkfloor.exe with these arguments.
# The floor is measured, and printed as a row of its own, just before the first of them
# that runs, and each of them shows its in-process time as a percentage of the floor's.
declare -A FLOOR_DEF FLOOR_S
FAMILY=""
family() {
    FAMILY=$1
    FLOOR_DEF[$1]=$(shift; printf '%q ' "$@")
}

# row NAME PEER-LABEL LIB-PREP "VNKBENCH-ARGS" PEER-PREP PEER-COMMAND [CHECK]
# CHECK, when given, is a shell test run after the last runs (for instance that both
# outputs hold the same bytes); its outcome goes in the last column.
row() {
    [ -n "$rows" ] && ! grep -Eq -- "$rows" <<<"$1" && return
    if [ -n "$FAMILY" ] && [ -z "${FLOOR_S[$FAMILY]:-}" ]; then
        FLOOR_S[$FAMILY]=-
        eval "measure_row '$FLOOR_EXE' ${FLOOR_DEF[$FAMILY]}"
        [ "$LIB_IN" != - ] && FLOOR_S[$FAMILY]=$LIB_IN
    fi
    measure_row "$BENCH_EXE" "$@"
}

measure_row() {  # EXE, then row's arguments
    local exe=$1 name=$2 label=$3 lprep=$4 largs=$5 pprep=$6 pcmd=$7 check=${8:-}
    local same="-" floor="-" srv="-"
    eval "set -- $largs"
    LIB_IN=-
    if ! wineprog "$exe" "$lprep" "$@"; then
        printf '%-30s %s\n' "$name" "skipped: $LIB_OUT" | tee -a "$TABLE"
        return
    fi
    local lib_out=$LIB_OUT
    peer "$pprep" "$pcmd"
    if [ -n "$check" ]; then if eval "$check" >/dev/null 2>&1; then same=yes; else same=NO; fi; fi
    local base=${FLOOR_S[$FAMILY]:--}
    [ "$exe" = "$FLOOR_EXE" ] && base=$LIB_IN
    if [ "$base" != - ] && [ "$(echo "$base > 0" | bc -l)" = 1 ]; then
        floor=$(printf '%.0f%%' "$(echo "100 * $LIB_IN / $base" | bc -l)")
    fi
    [ -n "$SERVER" ] && srv=$(printf '%.2f' "$LIB_SRV")
    printf '%-30s %7.3f %7.3f %6.2f %5s %6s  %-30s %7.3f %6.2f %6s %6s %6s %6s  %s\n' "$name" "$LIB_IN" "$LIB_PROC" \
        "$LIB_CPU" "$srv" "$floor" "$label" "$PEER_S" "$PEER_CPU" "$(ratio "$LIB_IN" "$PEER_S")" \
        "$(ratio "$LIB_PROC" "$PEER_S")" "$LIB_MB" "$PEER_MB" "$same" | tee -a "$TABLE"
    echo "$name: $lib_out" >>"$W/results.txt"
}

T=$(win "$TEXT") T2=$(win "$TEXT2") B=$(win "$BIN") B2=$(win "$BIN2") WW=$(win "$W") TR=$(win "$TREE")
clean='rm -f "$W"/out*' pclean='rm -f "$W"/peer*'
victim='rm -rf "$W/victim"; cp -r "$TREE" "$W/victim"'
tab8=$(printf '\t') blank8='        '
echo
echo "VARNOK-$bits.DLL benchmark: $MB MB files, tree of $((TOPS * (SUBS + 1))) folders and $((TOPS * (SUBS + 1) * FILES)) files, median of $runs run(s)"
echo "$(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores, $(free -g | awk '/^Mem:/ { print $2 }') GB memory; $(wine --version); $(uptime | sed 's/^ *//')"
echo "Library: in-process seconds (QueryPerformanceCounter around the call) and whole wine process; ratio = library / peer."
echo "cpu = user + system seconds of the whole process and of the wine server (srv, its part; both include Wine's start)."
echo "floor = in-process time as a percentage of the family's floor, the same work done by plain Win32 calls (vnkfloor.exe)."
echo "MB = peak resident memory (max RSS); the library's includes Wine's own ~15 MB. sync before every run; files cached."
[ -n "$SERVER" ] || echo "(the wine server was not found: srv is not counted)"
printf '%-30s %7s %7s %6s %5s %6s  %-30s %7s %6s %6s %6s %6s %6s  %s\n' "Export (library)" "in-proc" "process" "cpu" "srv" \
    "floor" "Peer (native)" "peer s" "cpu" "ratio" "r.proc" "lib MB" "peerMB" "same" | tee -a "$TABLE"

# Copies and the transforms that read one file and write another: a ReadFile/WriteFile copy.
family copy "floor: Win32 copy, 1 MB blocks" "cp" "$clean" "copy '$T' '$WW\\out.txt'" "$pclean" \
    "cp '$TEXT' '$W/peer.txt'" "cmp '$TEXT' '$W/out.txt'"
row "cFileCopy" "cp" "$clean" "cFileCopy s:'$T' s:'$WW\\out.txt'" "$pclean" "cp '$TEXT' '$W/peer.txt'" \
    "cmp '$TEXT' '$W/out.txt'"
row "cFileCopy" "cat" "$clean" "cFileCopy s:'$T' s:'$WW\\out.txt'" "$pclean" "cat '$TEXT' >'$W/peer.txt'"
row "cFileCopy2" "cp" "$clean" "cFileCopy2 s:'$T' s:'$WW\\out.txt'" "$pclean" "cp '$TEXT' '$W/peer.txt'" \
    "cmp '$TEXT' '$W/out.txt'"
row "cFileCopy2" "cat" "$clean" "cFileCopy2 s:'$T' s:'$WW\\out.txt'" "$pclean" "cat '$TEXT' >'$W/peer.txt'"
row "cFileToUpper" "tr a-z A-Z" "$clean" "cFileToUpper s:'$T' s:'$WW\\out.txt'" "$pclean" \
    "tr a-z A-Z <'$TEXT' >'$W/peer.txt'" "cmp '$W/out.txt' '$W/peer.txt'"
row "cFileFilter" "tr -d" "$clean" "cFileFilter s:'$T' s:'$WW\\out.txt' b:,." "$pclean" \
    "tr -d ,. <'$TEXT' >'$W/peer.txt'" "cmp '$W/out.txt' '$W/peer.txt'"
# The export makes every tab TabSize blanks, whatever the column: sed does the same,
# expand (which stops at the next multiple of 8) does more.
row "cFileExpandTab" "expand" "$clean" "cFileExpandTab s:'$T' s:'$WW\\out.txt' i:8" "$pclean" \
    "expand '$TEXT' >'$W/peer.txt'"
row "cFileExpandTab" "sed s/TAB/8 blanks/g" "$clean" "cFileExpandTab s:'$T' s:'$WW\\out.txt' i:8" "$pclean" \
    "sed 's/$tab8/$blank8/g' '$TEXT' >'$W/peer.txt'" "cmp '$W/out.txt' '$W/peer.txt'"
# unexpand -a puts tabs at the tab stops of the columns; the export replaces each run of
# blanks by tabs and blanks on its own rule: similar work, other bytes.
row "cFileCompressTab" "unexpand -a" "$clean" "cFileCompressTab s:'$T' s:'$WW\\out.txt' i:8" "$pclean" \
    "unexpand -a '$TEXT' >'$W/peer.txt'"
row "cFileUUCP 0 (encode)" "uuencode" "$clean" "cFileUUCP s:'$B' s:'$WW\\out.uue' i:0" "$pclean" \
    "uuencode '$BIN' binary.dat >'$W/peer.uue'"
cp "$W/out.uue" "$W/lib.uue" 2>/dev/null; uuencode "$BIN" binary.dat >"$W/enc-peer.uue"
row "cFileUUCP 1 (decode)" "uudecode" "$clean" "cFileUUCP s:'$WW\\lib.uue' s:'$WW\\out.bin' i:1" "$pclean" \
    "uudecode -o '$W/peer.bin' '$W/enc-peer.uue'" "cmp '$W/out.bin' '$BIN' && cmp '$W/peer.bin' '$BIN'"
rm -f "$W"/*.uue
# In place: the work file, then the copy back over the file.
row "cFileSearchAndReplace" "sed -i s/x/y/g" "$clean; cp '$TEXT' '$W/out.txt'" \
    "cFileSearchAndReplace s:'$WW\\out.txt' s:Berlin s:Munich s:'$WW\\out.tmp' i:-1" \
    "$pclean; cp '$TEXT' '$W/peer.txt'" "sed -i 's/Berlin/Munich/g' '$W/peer.txt'" "cmp '$W/out.txt' '$W/peer.txt'"
row "cFileSort 1 (case)" "LC_ALL=C sort --parallel=1" "$clean" "cFileSort s:'$T' s:'$WW\\out.txt' i:1 i:0 i:0 i:0 r:" \
    "$pclean" "LC_ALL=C sort --parallel=1 '$TEXT' -o '$W/peer.txt'" "cmp '$W/out.txt' '$W/peer.txt'"
row "cFileSort 1 (case)" "LC_ALL=C sort (2 threads)" "$clean" "cFileSort s:'$T' s:'$WW\\out.txt' i:1 i:0 i:0 i:0 r:" \
    "$pclean" "LC_ALL=C sort --parallel=2 '$TEXT' -o '$W/peer.txt'" "cmp '$W/out.txt' '$W/peer.txt'"
row "cFileSort 9 (no case)" "LC_ALL=C sort -f --parallel=1" "$clean" "cFileSort s:'$T' s:'$WW\\out.txt' i:9 i:0 i:0 i:0 r:" \
    "$pclean" "LC_ALL=C sort -f --parallel=1 '$TEXT' -o '$W/peer.txt'"
row "cFileSort 9 (no case)" "LC_ALL=C sort -f (2 threads)" "$clean" "cFileSort s:'$T' s:'$WW\\out.txt' i:9 i:0 i:0 i:0 r:" \
    "$pclean" "LC_ALL=C sort -f --parallel=2 '$TEXT' -o '$W/peer.txt'"

family merge "floor: Win32 copy of a and b" "cat a b" "$clean" "copy '$T' '$B' '$WW\\out.txt'" "$pclean" \
    "cat '$TEXT' '$BIN' >'$W/peer.txt'" "cmp '$W/out.txt' '$W/peer.txt'"
row "cFileMerge" "cat a b" "$clean" "cFileMerge s:'$T' s:'$B' s:'$WW\\out.txt'" "$pclean" \
    "cat '$TEXT' '$BIN' >'$W/peer.txt'" "cmp '$W/out.txt' '$W/peer.txt'"

# What only reads: ReadFile of the whole file.
family read "floor: Win32 read, 1 MB blocks" "cat >/dev/null" "" "read '$T'" "" "cat '$TEXT' >/dev/null"
row "cFileStatistics" "wc" "" "cFileStatistics s:'$T' r: r: r:" "" "wc '$TEXT'"
row "cFileLineCount" "wc -l" "" "cFileLineCount s:'$T'" "" "wc -l '$TEXT'" \
    "[ \"\$(lib_result)\" = \$(wc -l <'$TEXT') ]"
row "cFileSearchCount (case)" "grep -o -F | wc -l" "" "cFileSearchCount s:'$T' s:Berlin i:-1" "" \
    "grep -o -F Berlin '$TEXT' | wc -l" "[ \"\$(lib_result)\" = \$(grep -o -F Berlin '$TEXT' | wc -l) ]"
row "cFileSearchCount (no case)" "grep -o -i -F | wc -l" "" "cFileSearchCount s:'$T' s:bERLIN i:0" "" \
    "LC_ALL=C grep -o -i -F bERLIN '$TEXT' | wc -l" \
    "[ \"\$(lib_result)\" = \$(LC_ALL=C grep -o -i -F bERLIN '$TEXT' | wc -l) ]"
row "cFileSearchCount (absent)" "grep -o -F | wc -l" "" "cFileSearchCount s:'$T' s:Zanzibar i:-1" "" \
    "grep -o -F Zanzibar '$TEXT' | wc -l" "[ \"\$(lib_result)\" = 0 ]"
row "cFileSearch (no case, absent)" "grep -q -i -F" "" "cFileSearch s:'$T' s:zanzibar i:0" "" \
    "LC_ALL=C grep -q -i -F zanzibar '$TEXT'" "[ \"\$(lib_result)\" = 0 ]"
row "cFileSearch (case, absent)" "grep -q -F" "" "cFileSearch s:'$T' s:Zanzibar i:-1" "" \
    "grep -q -F Zanzibar '$TEXT'" "[ \"\$(lib_result)\" = 0 ]"

family read2 "floor: Win32 read of a and b" "cat a b >/dev/null" "" "read '$B' '$B2'" "" \
    "cat '$BIN' '$BIN2' >/dev/null"
row "cCmpFileContents -1 (exact)" "cmp" "" "cCmpFileContents s:'$B' s:'$B2' i:-1" "" "cmp '$BIN' '$BIN2'"
row "cCmpFileContents 0 (no case)" "cmp" "" "cCmpFileContents s:'$T' s:'$T2' i:0" "" "cmp '$TEXT' '$TEXT2'"

# The tree rows: a bare FindFirstFileA walk, and a bare DeleteFileA/RemoveDirectoryA delete.
family walk "floor: Win32 FindFirstFileA walk" "find" "" "walk '$TR'" "" "find '$TREE'"
row "cRcsFilesSize (tree)" "du -sb" "" "--double cRcsFilesSize s:'$TR' s: i:-1" "" "du -sb '$TREE'"
row "cSearchFile *.txt (tree)" "find -name" "$clean" "cSearchFile s:'$TR' s:*.txt s:'$WW\\out.lst'" "$pclean" \
    "find '$TREE' -name '*.txt' >'$W/peer.lst'" "[ \$(wc -l <'$W/out.lst') = \$(wc -l <'$W/peer.lst') ]"
# cAllSubDirectories collects at most 999 folders (the first 999 breadth-first).
row "cAllSubDirectories (tree)" "find -type d | sort -f" "" "cAllSubDirectories s:'$TR' r:" "" \
    "find '$TREE' -mindepth 1 -type d | sort -f" \
    "n=\$(find '$TREE' -mindepth 1 -type d | wc -l); [ \"\$(lib_ref)\" = \$(( n > 999 ? 999 : n )) ]"

family delete "floor: Win32 delete of the tree" "rm -rf" "$victim" "delete '$WW\\victim'" "$victim" \
    "rm -rf '$W/victim'"
row "cKillDirs (tree)" "rm -rf" "$victim" "--int --until-zero cKillDirs s:'$WW\\victim' i:1" "$victim" \
    "rm -rf '$W/victim'"
row "cKillDirFilesAll * (tree)" "find -mindepth 2 -type f -delete" "$victim" \
    "--int --until-zero cKillDirFilesAll s:'$WW\\victim' s:*" "$victim" \
    "find '$W/victim' -mindepth 2 -type f -delete"
rm -rf "$W/victim" "$W"/out* "$W"/peer*
echo "Load at the end: $(uptime | sed 's/.*load average: //')"

echo
echo "Library results (last run):"
cat "$W/results.txt"

if [ $kernels = 1 ]; then
    echo
    echo "x86-64 kernels, natively (bytes per second; memcpy is the ceiling):"
    build/native/kernels_bench --benchmark_min_time=0.2 2>&1 | grep -v '^\*\*\*'
    echo
    if [ -z "$kernels_i686" ]; then
        echo "i686 kernels: not built: the 32-bit MinGW compiler is missing"
    elif ! wine32_works; then
        echo "i686 kernels: not run: this machine cannot run 32-bit programs ($kernels_i686 is built)"
    else
        echo "i686 kernels, as the 32-bit DLL compiles them, under 32-bit Wine (best of 5 runs of ~0.1 s):"
        wine_arch 32
        start_wine >/dev/null && wine "$kernels_i686" 2>&1
    fi
fi
