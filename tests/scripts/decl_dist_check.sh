#!/bin/bash
# The distribution holds the files a caller needs under one folder named with the
# version: the two modules, the header and the reference byte for byte those of the
# source tree; in 32-bit/ and 64-bit/ each architecture's import library byte for byte
# that of its build, its DLL and vnkcall.exe stripped (no symbols, no debugging sections)
# but otherwise section for section those of the build; README.txt the text of
# tools/dist-readme.txt with the version and Windows line ends.
#   decl_dist_check.sh BUILD32 [BUILD64]   (BUILD64 defaults to BUILD32's sibling win64)
# Exits 77 (skipped) when one of the two builds has no DLL yet.
set -euo pipefail
build32=$(cd "${1:?build folder}" && pwd)
build64=${2:-$build32/../win64}
for b in "$build32/VARNOK-32.DLL" "$build64/VARNOK-64.DLL"; do
    [ -f "$b" ] || { echo "not checked: no $b (the distribution packs both builds)"; exit 77; }
done
build64=$(cd "$build64" && pwd)
top=$(cd "$(dirname "$0")/../.." && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
zip=$(VNK_DIST_DIR=$out "$top/scripts/dist.sh" "$build32" "$build64" | tail -1)
version=$(sed -n 's/^#define VNK_VERSION_TEXT "\(.*\)"$/\1/p' "$build32/generated/vnk_version.h")
[ "$zip" = "$out/varnok32-$version.zip" ] || { echo "dist made $zip"; exit 1; }
mkdir "$out/unpacked"
python3 - "$zip" "$version" "$build32" "$build64" "$top" "$out/unpacked" <<'PY'
import sys, zipfile, os
zip_path, version, build32, build64, top, unpacked = sys.argv[1:]
folder = f"varnok32-{version}/"
same = {"VARNOK32.BAS": top, "VARNOK.BAS": top, "VARNOKW.BAS": top, "varnok32.h": top + "/include", "reference.md": top + "/docs",
        "32-bit/libvarnok32.a": build32, "64-bit/libvarnok64.a": build64}
stripped = ["32-bit/VARNOK-32.DLL", "32-bit/vnkcall.exe", "64-bit/VARNOK-64.DLL", "64-bit/vnkcall.exe"]
with open(top + "/tools/dist-readme.txt", "rb") as f:
    readme = f.read().replace(b"@VERSION@", version.encode()).replace(b"\n", b"\r\n")
with zipfile.ZipFile(zip_path) as z:
    names = sorted(z.namelist())
    want = sorted(folder + n for n in list(same) + stripped + ["README.txt"])
    fail = [] if names == want else [f"the zip holds {names}"]
    for n, src in same.items():
        if folder + n in names:
            with open(os.path.join(src, os.path.basename(n)), "rb") as f:
                if z.read(folder + n) != f.read(): fail.append(f"{n} differs from {src}/{os.path.basename(n)}")
    if folder + "README.txt" in names and z.read(folder + "README.txt") != readme:
        fail.append("README.txt is not tools/dist-readme.txt with the version and CR LF line ends")
    for n in stripped:
        if folder + n in names:
            os.makedirs(os.path.join(unpacked, os.path.dirname(n)), exist_ok=True)
            with open(os.path.join(unpacked, n), "wb") as f: f.write(z.read(folder + n))
for f in fail: print("FAIL:", f)
print(f"{zip_path.rsplit('/', 1)[-1]}: {len(names)} files; {len(fail)} problem(s)")
sys.exit(1 if fail else 0)
PY
fail=0
for bits in 32 64; do
    if [ $bits = 32 ]; then build=$build32 triple=i686-w64-mingw32; else build=$build64 triple=x86_64-w64-mingw32; fi
    sections() { "$triple-objdump" -h "$1" | awk '$1 ~ /^[0-9]+$/ { print $2 }'; }
    for n in VARNOK-$bits.DLL vnkcall.exe; do
        packed=$out/unpacked/$bits-bit/$n
        if sections "$packed" | grep -q '^\.debug' || ! "$triple-objdump" -t "$packed" | grep -q 'no symbols'; then
            echo "FAIL: $bits-bit/$n in the zip keeps symbols or debugging sections"; fail=1
        fi
        kept=$(sections "$build/$n" | grep -v '^\.debug')
        [ "$(sections "$packed")" = "$kept" ] || { echo "FAIL: $bits-bit/$n in the zip has other sections than the build's"; fail=1; }
        for s in $kept; do
            [ "$s" = .bss ] && continue
            "$triple-objcopy" -O binary -j "$s" "$build/$n" "$out/a.bin"
            "$triple-objcopy" -O binary -j "$s" "$packed" "$out/b.bin"
            cmp -s "$out/a.bin" "$out/b.bin" || { echo "FAIL: $bits-bit/$n section $s differs from the build's"; fail=1; }
        done
        echo "$bits-bit/$n: stripped $(stat -c %s "$build/$n") -> $(stat -c %s "$packed") bytes"
    done
done
exit $fail
