#!/bin/bash
# Builds the distribution: dist/varnok32-<version>.zip holding what a programmer who
# calls the library needs: VARNOK-32.DLL, VARNOK32.BAS (VB), varnok32.h and
# libvarnok32.a (C, C++), reference.md, vnkcall.exe and README.txt (from
# tools/dist-readme.txt, with Windows line ends), in one folder varnok32-<version>.
# The DLL and vnkcall.exe are stripped of their symbols and debugging sections.
#   scripts/dist.sh              builds the win32 preset first, then packs build/win32
#   scripts/dist.sh BUILD_DIR    packs an existing build as it is
# VNK_DIST_DIR names another output folder than dist/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -ge 1 ]; then
    build=$(cd "$1" && pwd)
else
    cd "$top"
    scripts/setup.sh
    cmake --preset win32 >/dev/null
    cmake --build --preset win32
    build=$top/build/win32
fi
version=$(sed -n 's/^#define VNK_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/vnk_version.h")
[ -n "$version" ] || { echo "dist: no version in $build/generated/vnk_version.h" >&2; exit 1; }
out=${VNK_DIST_DIR:-$top/dist}
name=varnok32-$version
mkdir -p "$out"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$name"
for f in "$build/VARNOK-32.DLL" "$top/VARNOK32.BAS" "$top/include/varnok32.h" "$build/libvarnok32.a" \
         "$top/docs/reference.md" "$build/vnkcall.exe"; do
    [ -f "$f" ] || { echo "dist: $f is missing; build first" >&2; exit 1; }
    cp "$f" "$stage/$name/"
done
i686-w64-mingw32-strip --strip-all "$stage/$name/VARNOK-32.DLL" "$stage/$name/vnkcall.exe" ||
    { echo "dist: i686-w64-mingw32-strip failed" >&2; exit 1; }
sed "s/@VERSION@/$version/; s/\$/\r/" "$top/tools/dist-readme.txt" > "$stage/$name/README.txt"
rm -f "$out/$name.zip"
(cd "$stage" && python3 - "$out/$name.zip" "$name" <<'PY'
import os, sys, zipfile
target, folder = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED) as z:
    for f in sorted(os.listdir(folder)):
        z.write(os.path.join(folder, f), folder + "/" + f)
PY
)
echo "$out/$name.zip"
