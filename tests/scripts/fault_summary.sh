#!/bin/bash
# Prints what the fault-injection programs (tests/win/fault_*_test.cpp) tried in the last
# test run, summed over the programs: faults injected, exports exercised, inputs compared
# byte for byte after a failure, and what could not be tried here and why. Each program
# leaves its own tally in <build>/fault-tally/.
build=${1:-build/win32}
shopt -s nullglob
tallies=("$build"/fault-tally/*.txt)
[ ${#tallies[@]} -gt 0 ] || { echo "fault injection: no tallies in $build/fault-tally"; exit 0; }
awk '
  /^program / { programs = programs (programs ? ", " : "") $2 }
  /^faults /  { faults += $2 }
  /^inputs /  { inputs += $2 }
  /^export /  { if (!($2 in seen)) { seen[$2] = 1; exports++ } }
  /^skipped / { sub(/^skipped /, ""); if (!($0 in skip)) { skip[$0] = 1; skipped[++n] = $0 } }
  END {
    printf "fault injection: %d faults injected, %d exports exercised, %d inputs compared byte for byte (%s)\n",
           faults, exports, inputs, programs
    for (i = 1; i <= n; i++) printf "  not tried: %s\n", skipped[i]
  }' "${tallies[@]}"
