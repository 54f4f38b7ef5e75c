#!/bin/bash
# Links inside a tree never let a deletion reach outside it. A folder link (a symbolic
# link here, a junction on Windows) is neither listed nor entered by the tree walk. A
# file link, which Wine shows as a plain file and whose deletion by name would delete
# its target, is skipped by every pattern and tree deletion and not counted, and the
# single-file deletions refuse it with 13; its target keeps its bytes and attributes.
# A hard link is a name of the folder's own and goes like any file.
source "$(dirname "$0")/lib.sh" "$@"
mkdir -p "$work/outside/deep" "$work/tree/sub" "$work/tree/held/deep"
for f in a deep/b f ro h; do echo "keep $f" > "$work/outside/$f.bak"; done
chmod 444 "$work/outside/ro.bak"
echo gone > "$work/tree/sub/c.bak"
echo gone > "$work/tree/plain.bak"
ln -s "$work/outside" "$work/tree/link"
ln -s ../outside/f.bak "$work/tree/top.bak"
ln -s ../../outside/f.bak "$work/tree/held/rel.bak"
ln -s "$work/outside/ro.bak" "$work/tree/held/ro.bak"
ln -s "$work/outside/deep/b.bak" "$work/tree/held/deep/abs.bak"
ln -s "$work/outside/none.bak" "$work/tree/held/dangling.bak"
ln "$work/outside/h.bak" "$work/tree/sub/h.bak"
fail=0
expect() { # what, wanted, got
    [ "$2" = "$3" ] || { echo "$1: expected $2, got $3"; fail=1; }
}
first() { call "$@" | head -1; }

listing=$(call cAllSubDirectories "$(win "$work/tree")" 0)
case $listing in *'tree\link'*) echo "the folder link was listed: $listing"; fail=1 ;; esac
expect "cKillFile of a file link" 13 "$(first cKillFile "$(win "$work/tree/top.bak")")"
expect "cKillFileAll of a file link, another case" 13 "$(first cKillFileAll "$(win "$work/tree/TOP.BAK")")"
expect "cKillFileAll of a link to a read-only file" 13 "$(first cKillFileAll "$(win "$work/tree/held/ro.bak")")"
expect "cKillFiles beside a file link" 1 "$(first cKillFiles "$(win "$work/tree")\\*.bak")"
expect "cKillFilesAll of links only" 0 "$(first cKillFilesAll "$(win "$work/tree/held")\\*.*")"
# Below the tree: the real c.bak and the hard link h.bak; none of the four links.
expect "cKillDirFilesAll" 2 "$(first cKillDirFilesAll "$(win "$work/tree")" '*.bak')"
# sub goes; held (still holding its links) and the tree itself stay.
expect "cKillDirs" 1 "$(first cKillDirs "$(win "$work/tree")" 1)"

for f in a deep/b f ro h; do
    [ "$(cat "$work/outside/$f.bak" 2>/dev/null)" = "keep $f" ] || { echo "outside/$f.bak was deleted or changed"; fail=1; }
done
[ "$(stat -c %a "$work/outside/ro.bak")" = 444 ] || { echo "the read-only target lost its attribute"; fail=1; }
for l in link top.bak held/rel.bak held/ro.bak held/deep/abs.bak held/dangling.bak; do
    [ -L "$work/tree/$l" ] || { echo "the link $l went"; fail=1; }
done
[ ! -e "$work/tree/sub" ] || { echo "the real sub-folder was not removed"; fail=1; }
[ ! -e "$work/tree/plain.bak" ] || { echo "tree/plain.bak was not deleted"; fail=1; }
exit $fail
