#!/bin/bash
# A folder link inside a tree (a symbolic link here, a junction on Windows) is neither
# listed nor entered by the tree walk, so the tree deletions never reach the folder it
# points to.
set -euo pipefail
build=${1:?build folder}
top=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/vnk-links.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/outside/deep" "$work/tree/sub"
echo keep > "$work/outside/a.bak"
echo keep > "$work/outside/deep/b.bak"
echo gone > "$work/tree/sub/c.bak"
ln -s "$work/outside" "$work/tree/link"
win() { printf 'Z:%s' "$(tr / '\\' <<<"$1")"; }
call() { (cd "$build" && "$top/tools/wine-run" ./vnkcall.exe "$@") | tr -d '\r'; }
fail=0

listing=$(call cAllSubDirectories "$(win "$work/tree")" 0)
case $listing in *'tree\link'*) echo "the link was listed: $listing"; fail=1 ;; esac
[ "$(call cKillDirFilesAll "$(win "$work/tree")" '*.bak' | head -1)" = 1 ] || { echo "cKillDirFilesAll count"; fail=1; }
call cKillDirs "$(win "$work/tree")" 1 >/dev/null
for f in outside/a.bak outside/deep/b.bak; do
    [ -f "$work/$f" ] || { echo "$f was deleted through the link"; fail=1; }
done
[ ! -e "$work/tree/sub" ] || { echo "the real sub-folder was not removed"; fail=1; }
[ -L "$work/tree/link" ] || { echo "the link itself went"; fail=1; }
exit $fail
