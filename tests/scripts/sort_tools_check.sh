#!/bin/bash
# cFileSort against LC_ALL=C sort: a few thousand random printable ASCII lines (with
# duplicates and empty lines) in CR LF form, sorted by the DLL with SortType 1 and 2,
# must equal `sort` and `sort -r` of the same lines once the CRs are taken off again.
# Usage: sort_tools_check.sh BUILD_DIR
source "$(dirname "$0")/lib.sh" "$@"
cd "$work"

awk 'BEGIN { srand(4242);
  for (i = 0; i < 4000; i++) {
    n = int(rand() * 24); s = "";
    for (j = 0; j < n; j++) s = s sprintf("%c", 32 + int(rand() * 95));
    print s;
    if (rand() < 0.05) print s;
  } }' >lines.txt
sed 's/$/\r/' lines.txt >in.txt
count=$(wc -l <lines.txt)
size=$(stat -c %s in.txt)

status=0
check() {  # type, reference command
    local type=$1; shift
    local answer result got
    answer=$(call cFileSort in.txt out.txt "$type" 0 0 0 0)
    result=$(sed -n 1p <<<"$answer")
    got=$(sed -n 2p <<<"$answer")
    if [ "$result" != "$size" ] || [ "$got" != "Count = $count" ]; then
        echo "SortType $type: result $result, $got; expected $size and Count $count"; status=1
    fi
    if ! tr -d '\r' <out.txt | cmp -s - <("$@" lines.txt); then
        echo "SortType $type differs from: $*"; status=1
    fi
}
check 1 env LC_ALL=C sort
check 2 env LC_ALL=C sort -r
[ $status -eq 0 ] && echo "cFileSort agrees with LC_ALL=C sort on $count lines"
exit $status
