#!/bin/bash
# Runs every test: the native kernel tests under AddressSanitizer and UBSan, and the
# tests of the exports, which call VARNOK-32.DLL under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
build_all
step start_wine
status=0
ctest --preset native || status=1
rm -rf build/win32/fault-tally
ctest --preset win32 || status=1
tests/scripts/fault_summary.sh build/win32 || true
[ $status -eq 0 ] || echo "test.sh: tests failed (the ctest lines above name them)" >&2
exit $status
