#!/bin/bash
# Links inside a tree never let a deletion reach outside it. A folder link (a symbolic
# link here, a junction on Windows) is neither listed nor entered by the tree walk. A
# file link, which Wine shows as a plain file and whose deletion by name would delete
# its target, is skipped by every pattern and tree deletion and not counted, and the
# single-file deletions refuse it with 13; its target keeps its bytes and attributes.
# A hard link is a name of the folder's own and goes like any file.
# Then every walking export over a tree holding a loop link and a link to an outside
# folder, the tree deletions given a folder link itself, the pattern deletions against
# names that only a short (8.3) alias matches, renames onto a link, and a drive letter
# mapped to a scratch folder for a bare "X:" (its current folder) and for drive roots
# (refused whole).
source "$(dirname "$0")/lib.sh" "$@"
source "$top/scripts/wine-env.sh"
source "$top/tests/scripts/arch.sh"
wine_arch "$bits"
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
    [ "$2" = "$3" ] || { echo "$1: expected $2, got ${3:0:600}"; fail=1; }
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

# ---- Walks never descend through a folder link ----------------------------------------
# walk holds three real .bak files in three real folders (walk, d1, d2), a loop back to
# walk and a link to a folder outside holding two more.
mkdir -p "$work/walk/d1/d2" "$work/away/deep"
printf 1 > "$work/walk/a.bak"
printf 22 > "$work/walk/d1/b.bak"
printf 333 > "$work/walk/d1/d2/c.bak"
printf 4444 > "$work/away/x.bak"
printf 55555 > "$work/away/deep/y.bak"
ln -s ../.. "$work/walk/d1/d2/loop"
ln -s "$work/away" "$work/walk/d1/away"
W=$(win "$work/walk")
expect "cRcsCountFileDir files through links" 3 "$(first cRcsCountFileDir -1 "$W" '*.bak' -1)"
expect "cRcsCountFileDir folders through links" 2 "$(first cRcsCountFileDir 0 "$W" '' -1)"
expect "cRcsFilesSize through links" 6 "$(first cRcsFilesSize "$W" '*.bak' -1)"
cluster=$(first cGetDiskClusterSize Z)
expect "cRcsFilesSizeOnDisk through links" $((3 * cluster)) "$(first cRcsFilesSizeOnDisk "$W" '*.bak' -1)"
expect "cRcsFilesSlack through links" "Size = 6" "$(call cRcsFilesSlack "$W" '*.bak' -1 0 0 | grep '^Size =')"
expect "cSearchFile through links" 3 "$(first cSearchFile "$W" '*.bak' "$(win "$work/found.txt")")"
expect "cSearchFile's list" "$W\\a.bak $W\\d1\\b.bak $W\\d1\\d2\\c.bak" \
    "$(tr -d '\r' < "$work/found.txt" | sort | tr '\n' ' ' | sed 's/ $//')"
# (call drops the CR after each listed folder.)
expect "cAllSubDirectories through links" "$W\\d1$W\\d1\\d2|Count = 2" \
    "$(call cAllSubDirectories "$W" 0 | tr '\n' '|' | sed 's/|$//')"

# ---- A tree deletion given a folder link empties nothing behind it ---------------------
# The link itself may go (Windows); Wine cannot remove a Linux symbolic link without
# reaching its target, so there it stays and the answer is 0.
expect "cKillDirFilesAll of a folder link" 0 "$(first cKillDirFilesAll "$W\\d1\\away" '*.bak')"
expect "cKillDirs of a folder link, kept" 0 "$(first cKillDirs "$W\\d1\\away\\" 0)"
expect "cKillDirs of a folder link, removed" 0 "$(first cKillDirs "$W\\d1\\away" -1)"
expect "cKillDirs of a loop link" 0 "$(first cKillDirs "$W\\d1\\d2\\loop" -1)"
[ -L "$work/walk/d1/away" ] && [ -L "$work/walk/d1/d2/loop" ] || { echo "a named folder link went"; fail=1; }
[ -e "$work/away/deep/y.bak" ] && [ -e "$work/away/x.bak" ] || { echo "a deletion reached behind a named link"; fail=1; }
# The tree itself: b.bak and c.bak go (a.bak lies directly in walk); d1 and d2 stay,
# holding their links, and nothing behind the links is touched.
expect "cKillDirFilesAll beside links" 2 "$(first cKillDirFilesAll "$W" '*.bak')"
expect "cKillDirs beside links" 0 "$(first cKillDirs "$W" -1)"
[ "$(cat "$work/away/x.bak")$(cat "$work/away/deep/y.bak")" = 444455555 ] || { echo "the outside folder changed"; fail=1; }
[ -e "$work/walk/a.bak" ] || { echo "walk/a.bak went"; fail=1; }

# ---- Pattern deletions take long names only -------------------------------------------
# Wine gives report.html the short name REPO~XXX.HTM and ledger.bakery LEDG~XXX.BAK, and
# its own pattern matching takes them for "*.htm" and "*.bak"; the accounting does not.
mkdir -p "$work/site/sub"
for f in report.html page.htm ledger.bakery old.bak sub/ledger.bakery sub/x.BAK README; do echo "$f" > "$work/site/$f"; done
S=$(win "$work/site")
expect "cRcsCountFileDir of *.bak" 2 "$(first cRcsCountFileDir -1 "$S" '*.bak' -1)"
expect "cKillFiles *.htm" 1 "$(first cKillFiles "$S\\*.htm")"
expect "cKillFilesAll *.bak" 1 "$(first cKillFilesAll "$S\\*.BAK")"
expect "cKillDirFilesAll *.bak" 1 "$(first cKillDirFilesAll "$S" '*.bak')"
expect "what the pattern deletions left" "README ledger.bakery report.html sub/ledger.bakery" \
    "$(cd "$work/site" && find . -type f | sed 's|^\./||' | sort | tr '\n' ' ' | sed 's/ $//')"

# "*.*" in a deletion takes every name, a name without a dot too, as Windows reads it.
expect "cKillFiles *.*" 3 "$(first cKillFiles "$S\\*.*")"
[ -z "$(find "$work/site" -maxdepth 1 -type f)" ] || { echo "cKillFiles *.* left files"; fail=1; }

# ---- A rename onto another name of the same file is refused ----------------------------
# The platform finds nothing to do there and would call it success.
mkdir -p "$work/ren"
echo data > "$work/ren/a"
ln -s a "$work/ren/sym"
ln "$work/ren/a" "$work/ren/hard"
R=$(win "$work/ren")
expect "cRenameFile onto a link to it" 17 "$(first cRenameFile "$R\\a" "$R\\sym")"
expect "cRenameFile onto a hard link" 17 "$(first cRenameFile "$R\\a" "$R\\hard")"
expect "cFileMove onto a link to it" 183 "$(first cFileMove "$R\\a" "$R\\sym")"
[ -f "$work/ren/a" ] && [ -L "$work/ren/sym" ] && [ "$(cat "$work/ren/hard")" = data ] || { echo "a refused rename changed a name"; fail=1; }

# ---- A bare drive is its current folder; a root is refused whole ----------------------
# A drive letter of this prefix's own is mapped to a scratch folder for the run; a
# program started in a folder below it has that folder as the drive's current folder.
letter=
for l in j k l m n o p q; do
    if [ ! -e "$WINEPREFIX/dosdevices/$l:" ] && [ ! -L "$WINEPREFIX/dosdevices/$l:" ]; then
        letter=$l
        ln -s "$work/drive" "$WINEPREFIX/dosdevices/$l:"
        trap 'rm -f "$WINEPREFIX/dosdevices/$letter:"; rm -rf "$work"' EXIT
        break
    fi
done
if [ -z "$letter" ]; then
    echo "skip the bare drive and the roots: no free drive letter"
    exit $fail
fi
D=$(printf '%s:' "$letter" | tr a-z A-Z)
mkdir -p "$work/drive/cur/k1/k3" "$work/drive/cur/k2" "$work/drive/other/o1"
for f in top.txt cur/c.txt cur/k1/k.txt cur/k1/k3/k.txt other/o.txt other/o1/o.txt; do echo "$f" > "$work/drive/$f"; done
inventory() { (cd "$work/drive" && find . | sort | tr '\n' ' '); }
before=$(inventory)
at() { (cd "$work/drive/$1" && shift && call "$@" | head -1); }
expect "cFullPath of the bare drive" "$D\\cur\\" "$(at cur cFullPath "$D")"
refused="$(printf '%s' -32710) RC_ROOT_REFUSED"
expect "cKillDirs of the root" "$refused" "$(at cur cKillDirs "$D\\" 0)"
expect "cKillDirs of the root with a slash" "$refused" "$(at cur cKillDirs "$D/" -1)"
expect "cKillDirFilesAll of the root" "$refused" "$(at cur cKillDirFilesAll "$D\\" '*')"
expect "cKillDirs of a root spelled through .." "$refused" "$(at cur cKillDirs "$D\\cur\\.." -1)"
expect "cKillDirs of the bare drive at its root" "$refused" "$(at . cKillDirs "$D" 0)"
expect "cKillDirFilesAll of the bare drive at its root" "$refused" "$(at . cKillDirFilesAll "$D" '*')"
expect "the roots were left alone" "$before" "$(inventory)"
expect "cAllSubDirectories of the bare drive" "$D\\cur\\k1$D\\cur\\k1\\k3$D\\cur\\k2|Count = 3" \
    "$(cd "$work/drive/cur" && call cAllSubDirectories "$D" 0 | tr '\n' '|' | sed 's/|$//')"
expect "cRcsCountFileDir of the bare drive" 3 "$(at cur cRcsCountFileDir -1 "$D" '*.txt' -1)"
expect "cRcsFilesSize of the bare drive" 39 "$(at cur cRcsFilesSize "$D" '*.txt' -1)"
expect "cSearchFile of the bare drive" 3 "$(at cur cSearchFile "$D" '*.txt' '')"
expect "cKillDirFilesAll of the bare drive" 2 "$(at cur cKillDirFilesAll "$D" '*.txt')"
expect "cKillDirs of the bare drive" 3 "$(at cur cKillDirs "$D" 0)"
expect "what the bare drive deletions left" \
    ". ./cur ./cur/c.txt ./other ./other/o.txt ./other/o1 ./other/o1/o.txt ./top.txt " "$(inventory)"
exit $fail
