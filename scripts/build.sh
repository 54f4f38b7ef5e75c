#!/bin/bash
# Builds everything (the DLL, vnkcall.exe, the tests, the native kernels) and runs the
# demonstration: a VB program's everyday calls made through vnkcall.exe under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
step scripts/setup.sh
step cmake --preset win32 >/dev/null
step cmake --build --preset win32
step cmake --preset native >/dev/null
step cmake --build --preset native
step start_wine
step scripts/demo.sh
