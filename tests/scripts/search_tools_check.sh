#!/bin/bash
# cFileSearchCount against `grep -o -F` (with and without -i, LC_ALL=C) and
# cFileSearchAndReplace against GNU sed's global literal substitution, on a few thousand
# random lines over a small alphabet, so that matches are dense and overlap often.
# Usage: search_tools_check.sh BUILD_DIR
source "$(dirname "$0")/lib.sh" "$@"
cd "$work"
export LC_ALL=C

awk 'BEGIN { srand(777); split("a b A B c  ", alphabet, "");
  for (i = 0; i < 3000; i++) {
    n = int(rand() * 40); s = "";
    for (j = 0; j < n; j++) s = s alphabet[1 + int(rand() * 7)];
    print s;
  } }' >lines.txt
sed 's/$/\r/' lines.txt >in.txt

status=0
for pattern in a ab aB aa aaa "b a" AbA cc "a c"; do
    for flag in -1 0; do
        if [ "$flag" = 0 ]; then grep_case=-i; else grep_case=; fi
        expected=$({ grep -o -F $grep_case -e "$pattern" lines.txt || true; } | wc -l)
        got=$(call cFileSearchCount in.txt "$pattern" "$flag")
        if [ "$got" != "$expected" ]; then
            echo "count of '$pattern' (CaseSensitive $flag): $got, grep says $expected"; status=1
        fi
        found=$(call cFileSearch in.txt "$pattern" "$flag")
        if [ "$found" != "$([ "$expected" -gt 0 ] && echo -1 || echo 0)" ]; then
            echo "cFileSearch '$pattern' (CaseSensitive $flag): $found with $expected matches"; status=1
        fi
    done
done

# Replacement: sed's /g substitution is also literal (for these patterns), left to
# right and without overlaps; sed's I flag folds ASCII letters under LC_ALL=C.
for pattern in ab aa "b a"; do
    for flag in -1 0; do
        if [ "$flag" = 0 ]; then sed_case=I; else sed_case=; fi
        cp in.txt file.txt
        chars=$(call cFileSearchAndReplace file.txt "$pattern" "<X>" "" "$flag")
        sed "s/$pattern/<X>/g$sed_case" lines.txt >expected.txt
        sed 's/$/\r/' expected.txt >expected_crlf.txt
        if ! cmp -s file.txt expected_crlf.txt; then
            echo "replacing '$pattern' (CaseSensitive $flag) differs from sed"; status=1
        fi
        if [ "$chars" != "$(stat -c %s expected.txt)" ]; then
            echo "replacing '$pattern': result $chars, expected $(stat -c %s expected.txt)"; status=1
        fi
        if [ -e '~!!TMP~.TMP' ]; then echo "work file left behind"; status=1; fi
    done
done
[ $status -eq 0 ] && echo "search and replace agree with grep -o -F and sed on $(wc -l <lines.txt) lines"
exit $status
