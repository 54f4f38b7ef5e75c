#!/bin/bash
# The distribution holds the six files a caller needs, byte for byte those of the build
# and the source tree, under one folder named with the version.
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd)
top=$(cd "$(dirname "$0")/../.." && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
zip=$(VNK_DIST_DIR=$out "$top/scripts/dist.sh" "$build" | tail -1)
version=$(sed -n 's/^#define VNK_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/vnk_version.h")
[ "$zip" = "$out/varnok32-$version.zip" ] || { echo "dist made $zip"; exit 1; }
python3 - "$zip" "$version" "$build" "$top" <<'PY'
import sys, zipfile, os
zip_path, version, build, top = sys.argv[1:]
folder = f"varnok32-{version}/"
want = {"VARNOK-32.DLL": build, "VARNOK32.BAS": top, "varnok32.h": top + "/include", "libvarnok32.a": build,
        "reference.md": top + "/docs", "vnkcall.exe": build}
with zipfile.ZipFile(zip_path) as z:
    names = sorted(z.namelist())
    fail = [] if names == sorted(folder + n for n in want) else [f"the zip holds {names}"]
    for n, src in want.items():
        if folder + n in names:
            with open(os.path.join(src, n), "rb") as f:
                if z.read(folder + n) != f.read(): fail.append(f"{n} differs from {src}/{n}")
for f in fail: print("FAIL:", f)
print(f"{zip_path.rsplit('/', 1)[-1]}: {len(names)} files; {len(fail)} problem(s)")
sys.exit(1 if fail else 0)
PY
