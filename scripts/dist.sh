#!/bin/bash
# Builds the distribution: dist/varnok32-<version>.zip holding what a programmer who
# calls the library needs, in one folder varnok32-<version>:
#   VARNOK32.BAS (VB 4.0), VARNOK.BAS and VARNOKW.BAS (VBA 7), varnok32.h (C, C++), reference.md and
#   README.txt (from tools/dist-readme.txt, with Windows line ends)
#   32-bit/  VARNOK-32.DLL, libvarnok32.a and vnkcall.exe of the win32 build
#   64-bit/  VARNOK-64.DLL, libvarnok64.a and vnkcall.exe of the win64 build
# The DLLs and vnkcall.exe are stripped of their symbols and debugging sections. Both
# architectures always ship: the README and the modules promise both DLLs, so a missing
# build stops the script instead of making a zip without it.
#   scripts/dist.sh                    builds the win32 and win64 presets first, then packs them
#   scripts/dist.sh BUILD32 BUILD64    packs two existing builds as they are
# VNK_DIST_DIR names another output folder than dist/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
case $# in
    0)
        cd "$top"
        scripts/setup.sh
        for bits in 32 64; do
            cmake --preset win$bits >/dev/null
            cmake --build --preset win$bits
        done
        build32=$top/build/win32 build64=$top/build/win64 ;;
    2) build32=$(cd "$1" && pwd) build64=$(cd "$2" && pwd) ;;
    *) echo "usage: scripts/dist.sh [BUILD32 BUILD64]" >&2; exit 2 ;;
esac
version_of() { sed -n 's/^#define VNK_VERSION_TEXT "\(.*\)"$/\1/p' "$1/generated/vnk_version.h" 2>/dev/null; }
version=$(version_of "$build32")
[ -n "$version" ] || { echo "dist: no version in $build32/generated/vnk_version.h" >&2; exit 1; }
[ "$(version_of "$build64")" = "$version" ] ||
    { echo "dist: $build64 is not a build of version $version (as $build32 is)" >&2; exit 1; }
out=${VNK_DIST_DIR:-$top/dist}
name=varnok32-$version
mkdir -p "$out"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/$name/32-bit" "$stage/$name/64-bit"
# put FOLDER FILE...: copies each file into the zip's folder, or stops naming the missing one.
put() {
    local to=$stage/$name/$1 f
    shift
    for f in "$@"; do
        [ -f "$f" ] || { echo "dist: $f is missing; build first" >&2; exit 1; }
        cp "$f" "$to/"
    done
}
put . "$top/VARNOK32.BAS" "$top/VARNOK.BAS" "$top/VARNOKW.BAS" "$top/include/varnok32.h" "$top/docs/reference.md"
put 32-bit "$build32/VARNOK-32.DLL" "$build32/libvarnok32.a" "$build32/vnkcall.exe"
put 64-bit "$build64/VARNOK-64.DLL" "$build64/libvarnok64.a" "$build64/vnkcall.exe"
i686-w64-mingw32-strip --strip-all "$stage/$name/32-bit/VARNOK-32.DLL" "$stage/$name/32-bit/vnkcall.exe" ||
    { echo "dist: i686-w64-mingw32-strip failed" >&2; exit 1; }
x86_64-w64-mingw32-strip --strip-all "$stage/$name/64-bit/VARNOK-64.DLL" "$stage/$name/64-bit/vnkcall.exe" ||
    { echo "dist: x86_64-w64-mingw32-strip failed" >&2; exit 1; }
sed "s/@VERSION@/$version/; s/\$/\r/" "$top/tools/dist-readme.txt" > "$stage/$name/README.txt"
rm -f "$out/$name.zip"
(cd "$stage" && python3 - "$out/$name.zip" "$name" <<'PY'
import os, sys, zipfile
target, folder = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED) as z:
    for at, dirs, files in sorted(os.walk(folder)):
        for f in sorted(files):
            z.write(os.path.join(at, f), os.path.join(at, f))
PY
)
echo "$out/$name.zip"
