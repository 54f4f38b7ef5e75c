#!/bin/bash
# Prints what the fault-injection programs (tests/win/fault_*_test.cpp) tried in the last
# test run, summed over the programs: faults injected, exports and their Unicode twins
# (cNameW) exercised, inputs compared byte for byte after a failure, and what could not be
# tried here and why. Each program leaves its own tally in <build>/fault-tally/.
build=${1:-build/win32}
shopt -s nullglob
tallies=("$build"/fault-tally/*.txt)
[ ${#tallies[@]} -gt 0 ] || { echo "fault injection: no tallies in $build/fault-tally"; exit 0; }
awk '
  /^program / { programs = programs (programs ? ", " : "") $2 }
  /^faults /  { faults += $2 }
  /^inputs /  { inputs += $2 }
  /^export /  { if (!($2 in seen)) { seen[$2] = 1; names[++count] = $2 } }
  /^skipped / { sub(/^skipped /, ""); if (!($0 in skip)) { skip[$0] = 1; skipped[++n] = $0 } }
  END {
    # A name that is another exercised name with a W after it is that export'"'"'s Unicode twin.
    for (k = 1; k <= count; k++) {
      e = names[k]
      if (e ~ /W$/ && (substr(e, 1, length(e) - 1) in seen)) twins++
      else exports++
    }
    printf "fault injection: %d faults injected, %d exports and %d Unicode twins exercised, %d inputs compared byte for byte (%s)\n",
           faults, exports, twins, inputs, programs
    for (i = 1; i <= n; i++) printf "  not tried: %s\n", skipped[i]
  }' "${tallies[@]}"
