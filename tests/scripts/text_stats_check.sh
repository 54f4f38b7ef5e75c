#!/bin/bash
# cFileStatistics agrees with `wc -l -w -c` on ASCII text: LF and CR LF line ends, runs
# of blanks, TABs, VT and FF, words across the 32768-byte block boundary, a last line
# without a line end. $1: the build folder.
source "$(dirname "$0")/lib.sh" "$@"

python3 - "$work" <<'PY'
import random, sys
rng = random.Random(42)
words = ["a", "word", "VB4", "x=1;", "(nested)", "don't", "3.14", "~!@#$%^&*"]
breaks = [" ", "  ", "\t", "\n", "\r\n", "\v", "\f", " \t ", "\n\n"]
def text(n):
    parts, size = [], 0
    while size < n:
        parts += [rng.choice(words), rng.choice(breaks)]
        size += len(parts[-2]) + len(parts[-1])
    return "".join(parts)
samples = {
    "empty": "",
    "one_line": "one two three\n",
    "no_end": "alpha beta\ngamma",
    "crlf": text(5000).replace("\n", "\r\n"),
    "large": text(200000),
    "boundary": " " * 32763 + "abcdefghij" + " \n" * 50,
}
for name, body in samples.items():
    open(f"{sys.argv[1]}/{name}.txt", "wb").write(body.encode("ascii"))
PY

status=0
for file in "$work"/*.txt; do
    read -r lines words chars < <(LC_ALL=C wc -l -w -c <"$file")
    out=$(call cFileStatistics "$(win "$file")" 0 0 0)
    got=$(printf '%s\n' "$out" | sed -n -E 's/^(Lines|Words|Characters) = //p' | tr '\n' ' ')
    result=$(printf '%s\n' "$out" | head -n 1)
    if [ "$got" != "$lines $words $chars " ] || [ "$result" != "$chars" ]; then
        echo "FAIL $(basename "$file"): wc says $lines $words $chars, cFileStatistics says $got(result $result)"
        status=1
    fi
done
[ $status = 0 ] && echo "wc cross-check passed"
exit $status
