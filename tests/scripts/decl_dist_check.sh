#!/bin/bash
# The distribution holds the seven files a caller needs under one folder named with the
# version: the declarations, import library and reference byte for byte those of the
# build and the source tree; the DLL and vnkcall.exe stripped (no symbols, no debugging
# sections) but otherwise section for section those of the build; README.txt the text
# of tools/dist-readme.txt with the version and Windows line ends.
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd)
top=$(cd "$(dirname "$0")/../.." && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
zip=$(VNK_DIST_DIR=$out "$top/scripts/dist.sh" "$build" | tail -1)
version=$(sed -n 's/^#define VNK_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/vnk_version.h")
[ "$zip" = "$out/varnok32-$version.zip" ] || { echo "dist made $zip"; exit 1; }
mkdir "$out/unpacked"
python3 - "$zip" "$version" "$build" "$top" "$out/unpacked" <<'PY'
import sys, zipfile, os
zip_path, version, build, top, unpacked = sys.argv[1:]
folder = f"varnok32-{version}/"
same = {"VARNOK32.BAS": top, "varnok32.h": top + "/include", "libvarnok32.a": build, "reference.md": top + "/docs"}
stripped = ["VARNOK-32.DLL", "vnkcall.exe"]
with open(top + "/tools/dist-readme.txt", "rb") as f:
    readme = f.read().replace(b"@VERSION@", version.encode()).replace(b"\n", b"\r\n")
with zipfile.ZipFile(zip_path) as z:
    names = sorted(z.namelist())
    want = sorted(folder + n for n in list(same) + stripped + ["README.txt"])
    fail = [] if names == want else [f"the zip holds {names}"]
    for n, src in same.items():
        if folder + n in names:
            with open(os.path.join(src, n), "rb") as f:
                if z.read(folder + n) != f.read(): fail.append(f"{n} differs from {src}/{n}")
    if folder + "README.txt" in names and z.read(folder + "README.txt") != readme:
        fail.append("README.txt is not tools/dist-readme.txt with the version and CR LF line ends")
    for n in stripped:
        if folder + n in names:
            with open(os.path.join(unpacked, n), "wb") as f: f.write(z.read(folder + n))
for f in fail: print("FAIL:", f)
print(f"{zip_path.rsplit('/', 1)[-1]}: {len(names)} files; {len(fail)} problem(s)")
sys.exit(1 if fail else 0)
PY
fail=0
sections() { i686-w64-mingw32-objdump -h "$1" | awk '$1 ~ /^[0-9]+$/ { print $2 }'; }
for n in VARNOK-32.DLL vnkcall.exe; do
    packed=$out/unpacked/$n
    if sections "$packed" | grep -q '^\.debug' || ! i686-w64-mingw32-objdump -t "$packed" | grep -q 'no symbols'; then
        echo "FAIL: $n in the zip keeps symbols or debugging sections"; fail=1
    fi
    kept=$(sections "$build/$n" | grep -v '^\.debug')
    [ "$(sections "$packed")" = "$kept" ] || { echo "FAIL: $n in the zip has other sections than the build's"; fail=1; }
    for s in $kept; do
        [ "$s" = .bss ] && continue
        i686-w64-mingw32-objcopy -O binary -j "$s" "$build/$n" "$out/a.bin"
        i686-w64-mingw32-objcopy -O binary -j "$s" "$packed" "$out/b.bin"
        cmp -s "$out/a.bin" "$out/b.bin" || { echo "FAIL: $n section $s differs from the build's"; fail=1; }
    done
    echo "$n: stripped $(stat -c %s "$build/$n") -> $(stat -c %s "$packed") bytes"
done
exit $fail
