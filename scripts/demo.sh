#!/bin/bash
# Calls a few exports of build/win32/VARNOK-32.DLL through vnkcall.exe on a scratch
# folder and shows what they answer; on a machine that cannot run 32-bit programs, those
# of build/win64/VARNOK-64.DLL.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
bits=32
if ! wine32_works; then
    bits=64
    echo "demo: this machine cannot run 32-bit programs; calling VARNOK-64.DLL instead"
fi
wine_arch $bits
start_wine
demo=$(mktemp -d /tmp/varnok-demo.XXXXXX)
trap 'rm -rf "$demo"; stop_wine' EXIT
call() {
    echo "> vnkcall $*"
    # A carriage return inside a result (cAllSubDirectories ends each path with one) is
    # shown as [CR].
    (cd "$demo" && wine "$OLDPWD/build/win$bits/vnkcall.exe" "$@") | sed 's/\r/[CR]/g; s/^/  /'
}
printf 'Zebra\r\napple\r\nMango\r\n' > "$demo/fruit.txt"
printf 'name\tsize\tcolour\n' > "$demo/table.txt"
mkdir -p "$demo/tree/A/C" "$demo/tree/B"

echo "== files"
call cFileSize fruit.txt
call cFileCopy fruit.txt copy.txt
call cCmpFileContents fruit.txt copy.txt -1
call cUniqueFileName ""
call cRenameFile copy.txt renamed.txt
call cKillFile renamed.txt
call cFilePathExists renamed.txt
call cFileGetAttrib fruit.txt -

echo "== text"
call cFileToUpper fruit.txt upper.txt
call cFileExpandTab table.txt expanded.txt 8
call cFileStatistics fruit.txt 0 0 0
call cFileUUCP fruit.txt fruit.uue 0
call cFileSearchCount fruit.txt an 0
call cFileSort fruit.txt sorted.txt 1 0 0 0 0
echo "  sorted.txt holds:"; sed 's/^/    /' "$demo/sorted.txt" | tr -d '\r'

echo "== folders, paths and disks"
call cAllSubDirectories tree 0
call cFilesInDirToArray '*.txt' 255 '#4'
call cSplitPath 'C:\DATA\OLD.V1\report.txt' -
call cTruncatePath 'C:\VERY\LONG\FOLDER\NAMES\THAT\DO\NOT\FIT\report.txt' 30
call cGetDriveType C
call cIsFilenameValid 'A.B.C'

echo "== names in any script and long paths, through the Unicode twins"
long="Ελληνικά\\$(printf 'x%.0s' {1..120})\\Кириллица\\$(printf 'y%.0s' {1..120})"
call cMakeMultipleDirW "$long"
call cFileCopyW fruit.txt "$long\\果物 🍎.txt"
call cFileSizeW "$long\\果物 🍎.txt"
call cFilesInDirectoryW "$long\\*.txt" -1
call cRcsCountFileDirW 1 Ελληνικά '*.*' -1
call cKillDirsW Ελληνικά 1
echo "demonstration done"
