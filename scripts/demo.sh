#!/bin/bash
# Calls a few exports of build/win32/VARNOK-32.DLL through vnkcall.exe on a scratch
# folder and shows what they answer.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
demo=$(mktemp -d /tmp/varnok-demo.XXXXXX)
trap 'rm -rf "$demo"; wineserver -k >/dev/null 2>&1 || true' EXIT
call() {
    echo "> vnkcall $*"
    (cd "$demo" && wine "$OLDPWD/build/win32/vnkcall.exe" "$@") | sed 's/^/  /'
}
printf 'Zebra\r\napple\r\nMango\r\n' > "$demo/fruit.txt"
call cFileSize fruit.txt
call cFileCopy fruit.txt copy.txt
call cCmpFileContents fruit.txt copy.txt -1
call cIsFileEmpty copy.txt
call cUniqueFileName ""
call cRenameFile copy.txt renamed.txt
call cFilePathExists renamed.txt
call cKillFile renamed.txt
call cFilePathExists renamed.txt
for f in scripts/demo.d/*.sh; do [ -e "$f" ] && source "$f"; done
echo "demonstration done"
