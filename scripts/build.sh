#!/bin/bash
# Builds everything (both DLLs, vnkcall.exe and the tests of each architecture, the
# native kernels) and runs the demonstration: a VB program's everyday calls made through
# vnkcall.exe under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
build_all
step scripts/demo.sh
