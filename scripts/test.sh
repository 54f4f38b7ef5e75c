#!/bin/bash
# Runs every test: the native kernel tests and fuzz corpus replays under AddressSanitizer
# and UBSan, as x86-64 code and as i686 code (the DLL's own architecture: directly where
# the machine runs 32-bit programs, else under qemu-i386-static), and the tests of the
# exports, which call VARNOK-32.DLL and VARNOK-64.DLL under Wine (each in its own
# prefix). A machine that cannot run 32-bit programs still builds the 32-bit DLL and
# checks its files (the boundary: exports, .def files and declarations; imports; the
# distribution), and says plainly that its Wine tests did not run. The summary at the
# end says what ran natively, what under the emulator and what did not run.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
build_all
status=0
natively=("kernel tests as x86-64 code")
emulated=()
not_run=
ctest --preset native || status=1
ctest --preset native32 || status=1
runner=$(native32_runner)
if [ -n "$runner" ]; then
    emulated+=("kernel tests as i686 code (under $(basename "$runner"))")
else
    natively+=("kernel tests as i686 code")
fi
for bits in 32 64; do
    build=build/win$bits
    if [ $bits = 32 ] && ! wine32_works; then
        not_run="win32 tests NOT RUN: this machine cannot run 32-bit programs"
        echo "test.sh: $not_run (only the checks of the built files run for win32)"
        ctest --preset win32 -L no-wine || status=1
        natively+=("checks of the built win32 files")
        continue
    fi
    wine_arch $bits
    step start_wine
    rm -rf $build/fault-tally
    ctest --preset win$bits || status=1
    tests/scripts/fault_summary.sh $build || true
    natively+=("win$bits tests under Wine")
done
summary() { local IFS=,; echo "${*/#/ }" | sed 's/^ //'; }
echo "test.sh: ran natively: $(summary "${natively[@]}")"
[ ${#emulated[@]} -eq 0 ] || echo "test.sh: ran under the emulator: $(summary "${emulated[@]}")"
[ $status -eq 0 ] || echo "test.sh: tests failed (the ctest lines above name them)" >&2
[ -z "$not_run" ] || echo "test.sh: $not_run" >&2
exit $status
