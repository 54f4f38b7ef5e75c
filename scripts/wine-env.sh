# Sourced by the scripts: the build's own 32-bit Wine prefix, quiet, without the
# installers Wine would otherwise offer on first start; step, which runs one step of a
# script and stops the script with a line naming the step when it fails; build_all.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEARCH=win32
export WINEPREFIX="${VNK_WINEPREFIX:-$top/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Creates the prefix if needed and keeps one wine server alive, so that each Windows
# program starts quickly. A server already running for the prefix (another script's, or
# one left by start_wine in an interactive shell) is used as it is and left running;
# one started here is stopped by stop_wine, which start_wine sets as the EXIT trap (a
# script with an EXIT trap of its own calls stop_wine from it). The server's output goes
# nowhere: a daemon holding the script's output would keep a runner waiting.
start_wine() {
    mkdir -p "$WINEPREFIX" || { echo "start_wine: cannot make the Wine prefix folder $WINEPREFIX" >&2; return 1; }
    # Wine's own processes outlive the command that starts them: what they say goes to a
    # file, never to a pipe that the script would wait on.
    local log rc=0
    log=$(mktemp /tmp/vnk-wine.XXXXXX)
    if [ ! -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ]; then
        echo "Creating the Wine prefix in $WINEPREFIX"
        wineboot -i >"$log" 2>&1 </dev/null || true
        timeout 120 wineserver -w || true
        if [ ! -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ]; then
            wine_failed "wineboot -i could not make the Wine prefix in $WINEPREFIX" "$log"
            return 1
        fi
    fi
    wineserver -p >/dev/null 2>&1 </dev/null || rc=$?
    case $rc in
        0) VNK_WINE_STARTED=1 ;;
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

stop_wine() {
    if [ -n "${VNK_WINE_STARTED:-}" ]; then wineserver -k >/dev/null 2>&1 || true; fi
}

step() {  # step COMMAND...: runs it; when it fails, says so and ends the script
    local rc=0
    "$@" || rc=$?
    if [ $rc -ne 0 ]; then
        echo "$(basename "$0"): stopped: $* failed with exit status $rc" >&2
        exit $rc
    fi
}

build_all() {  # installs what is missing, then configures and builds both presets
    step scripts/setup.sh
    step cmake --preset win32 >/dev/null
    step cmake --build --preset win32
    step cmake --preset native >/dev/null
    step cmake --build --preset native
}
