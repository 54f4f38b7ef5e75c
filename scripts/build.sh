#!/bin/bash
# Builds everything (the DLL, vnkcall.exe, the tests, the native kernels) and runs the
# demonstration: a VB program's everyday calls made through vnkcall.exe under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32
cmake --preset native >/dev/null
cmake --build --preset native
source scripts/wine-env.sh
start_wine
scripts/demo.sh
