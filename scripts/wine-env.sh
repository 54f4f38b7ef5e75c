# Sourced by the scripts: the build's own Wine prefixes, quiet, without the installers
# Wine would otherwise offer on first start; wine_arch, which picks the 32-bit prefix
# (build/wineprefix) or the 64-bit one (build/wineprefix64); step, which runs one step of
# a script and stops the script with a line naming the step when it fails; build_all.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# wine_arch 32|64: the prefix and the Wine loader for programs of that architecture, in
# WINEARCH, WINEPREFIX and VNK_WINE (run programs as "$VNK_WINE" PROGRAM, or with the
# function wine below). A 64-bit program runs under wine64 in a 64-bit prefix: Debian's
# wine command prefers the 32-bit loader, which a machine without 32-bit support cannot
# start.
wine_arch() {
    if [ "$1" = 64 ]; then
        export WINEARCH=win64 WINEPREFIX="${VNK_WINEPREFIX64:-$top/build/wineprefix64}"
        VNK_WINE=$(command -v wine64 || echo /usr/lib/wine/wine64)
        export WINELOADER=$VNK_WINE
    else
        export WINEARCH=win32 WINEPREFIX="${VNK_WINEPREFIX:-$top/build/wineprefix}"
        VNK_WINE=wine
        unset WINELOADER
    fi
}
wine() { "$VNK_WINE" "$@"; }
wine_arch 32

# pe_bits FILE: 64 for an x64 Windows program, else 32 (the machine field of its PE
# header; a name that is not a file, such as cmd.exe, counts as 32).
pe_bits() {
    local at machine
    at=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
    [ -n "$at" ] && machine=$(od -An -tx1 -j$((at + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')
    if [ "${machine:-}" = 6486 ]; then echo 64; else echo 32; fi
}

# Whether this machine runs 32-bit programs: some kernels (and containers) run only
# 64-bit ones, and then the 32-bit Wine loader fails with "Exec format error". An
# emulator registered for 32-bit x86 programs (qemu-i386 through binfmt_misc) runs the
# loader's --version but not Wine's programs, so it counts as no (tools/runs-i386-natively).
wine32_works() {
    local loader=/usr/lib/wine/wine
    [ -x "$loader" ] || loader=$(command -v wine) || return 1
    "$top/tools/runs-i386-natively" "$loader" --version
}

# native32_runner: how the i686 kernel tests of build/native32 run, as its configuration
# decided: empty when directly, else the emulator's path.
native32_runner() {
    sed -n 's/^CMAKE_CROSSCOMPILING_EMULATOR:[A-Z]*=//p' "$top/build/native32/CMakeCache.txt" 2>/dev/null
}

# make_prefix [LOG]: creates the selected prefix when it has none yet; what Wine says goes
# to LOG (default nowhere).
make_prefix() {
    [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ] && return 0
    mkdir -p "$WINEPREFIX" || return 1
    "$VNK_WINE" wineboot -i >"${1:-/dev/null}" 2>&1 </dev/null || true
    timeout 120 wineserver -w || true
    [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ]
}

# Creates the prefix wine_arch selected if needed and keeps one wine server alive for it,
# so that each Windows program starts quickly. A server already running for the prefix
# (another script's, or one left by start_wine in an interactive shell) is used as it is
# and left running; one started here is stopped by stop_wine, which start_wine sets as
# the EXIT trap (a script with an EXIT trap of its own calls stop_wine from it). The
# server's output goes nowhere: a daemon holding the script's output would keep a runner
# waiting.
start_wine() {
    mkdir -p "$WINEPREFIX" || { echo "start_wine: cannot make the Wine prefix folder $WINEPREFIX" >&2; return 1; }
    # Wine's own processes outlive the command that starts them: what they say goes to a
    # file, never to a pipe that the script would wait on.
    local log rc=0
    log=$(mktemp /tmp/vnk-wine.XXXXXX)
    if [ ! -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ]; then
        echo "Creating the $WINEARCH Wine prefix in $WINEPREFIX"
        if ! make_prefix "$log"; then
            wine_failed "wineboot -i could not make the Wine prefix in $WINEPREFIX" "$log"
            return 1
        fi
    fi
    wineserver -p >/dev/null 2>&1 </dev/null || rc=$?
    case $rc in
        0) VNK_WINE_STARTED="${VNK_WINE_STARTED:-} $WINEPREFIX" ;;
        2) ;;  # the lock is held: a server for this prefix is running already
        *) rm -f "$log"; wine_failed "wineserver -p failed with exit status $rc (WINEPREFIX=$WINEPREFIX)"; return 1 ;;
    esac
    trap stop_wine EXIT
    if ! wine cmd.exe /c exit >"$log" 2>&1 </dev/null; then
        wine_failed "wine cannot run a program in $WINEPREFIX (wine cmd.exe /c exit failed)" "$log"
        return 1
    fi
    rm -f "$log"
}

wine_failed() {  # wine_failed MESSAGE [LOG]: the message, then the end of what Wine said
    echo "start_wine: $1" >&2
    if [ -n "${2:-}" ]; then
        tail -5 "$2" | sed 's/^/  /' >&2
        rm -f "$2"
    fi
}

stop_wine() {  # stops the servers start_wine started, one per prefix
    local prefix
    for prefix in ${VNK_WINE_STARTED:-}; do WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true; done
    VNK_WINE_STARTED=
}

step() {  # step COMMAND...: runs it; when it fails, says so and ends the script
    local rc=0
    "$@" || rc=$?
    if [ $rc -ne 0 ]; then
        echo "$(basename "$0"): stopped: $* failed with exit status $rc" >&2
        exit $rc
    fi
}

build_all() {  # installs what is missing, then configures and builds the four presets
    local preset
    step scripts/setup.sh
    for preset in native native32 win32 win64; do
        step cmake --preset $preset >/dev/null
        if [ $preset = win32 ] && ! wine32_works; then
            # The 32-bit test programs cannot run here: only what the checks of the built
            # files read is built (the DLL, vnkcall.exe, the import library and the program
            # linked against it, whose imports are checked).
            echo "$(basename "$0"): this machine cannot run 32-bit programs: building only the 32-bit DLL, vnkcall.exe and the import library"
            step cmake --build --preset win32 --target varnok32 vnkcall varnok32_implib decl_implib_test
        else
            step cmake --build --preset $preset
        fi
    done
}
