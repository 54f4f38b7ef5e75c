#!/bin/bash
# Builds everything (the DLL, vnkcall.exe, the tests, the native kernels) and runs the
# demonstration: a VB program's everyday calls made through vnkcall.exe under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
build_all
step start_wine
step scripts/demo.sh
