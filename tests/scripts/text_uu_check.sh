#!/bin/bash
# cFileUUCP's encoded lines against Python's binascii.b2a_uu, byte for byte (the padding
# of a short last group included), then decoded by independent decoders: sharutils'
# uudecode after wrapping them in "begin 644 x" and "end", and Python's binascii.a2b_uu
# line by line. Then decoding through cFileUUCP restores the input. $1: the build folder.
source "$(dirname "$0")/lib.sh" "$@"
fail() { echo "FAIL: $*"; exit 1; }

have_uudecode=$(command -v uudecode || true)
have_python=$(command -v python3 || true)
[ -n "$have_uudecode$have_python" ] || { echo "neither uudecode nor python3 found"; exit 1; }

for size in 0 1 2 3 44 45 46 47 90 1000 32768 100003; do
    head -c "$size" /dev/urandom >"$work/in"
    result=$(call cFileUUCP "$(win "$work/in")" "$(win "$work/enc")" 0 | head -n 1)
    full=$((size / 45)) rest=$((size % 45))
    expected=$((full * 62 + (rest > 0 ? 2 + 4 * ((rest + 2) / 3) : 0)))
    [ "$result" = "$expected" ] || fail "size $size: result $result, expected $expected"
    [ "$(stat -c %s "$work/enc")" = "$expected" ] || fail "size $size: output size"

    if [ -n "$have_uudecode" ]; then
        { echo "begin 644 x"; cat "$work/enc"; echo "\`"; echo "end"; } >"$work/wrapped"
        rm -f "$work/x"
        (cd "$work" && uudecode wrapped) || fail "size $size: uudecode refused the lines"
        cmp -s "$work/in" "$work/x" || fail "size $size: uudecode gives other bytes"
    fi
    if [ -n "$have_python" ]; then
        # The encoding itself, padding included: binascii.b2a_uu pads a short last group
        # with zero bytes, so the output depends on the input alone.
        python3 - "$work/in" "$work/enc" <<'PY' || fail "size $size: the encoding differs from binascii.b2a_uu's"
import binascii, sys
data = open(sys.argv[1], "rb").read()
want = b"".join(binascii.b2a_uu(data[i:i + 45]) for i in range(0, len(data), 45))
sys.exit(open(sys.argv[2], "rb").read() != want)
PY
        # The characters after the last group's data bits are filler that a decoder
        # ignores; a2b_uu wants blanks there, so each line is cut to what it needs.
        python3 - "$work/enc" "$work/in" <<'PY' || fail "size $size: binascii.a2b_uu gives other bytes"
import binascii, sys
out = b""
for line in open(sys.argv[1], "rb").read().split(b"\n"):
    if not line:
        continue
    n = (line[0] - 32) & 63
    out += binascii.a2b_uu(line[: 1 + (n * 4 + 2) // 3])
sys.exit(out != open(sys.argv[2], "rb").read())
PY
    fi

    result=$(call cFileUUCP "$(win "$work/enc")" "$(win "$work/back")" 1 | head -n 1)
    [ "$result" = "$size" ] || fail "size $size: decoding gave $result"
    cmp -s "$work/in" "$work/back" || fail "size $size: round trip differs"
done
echo "UU cross-check passed"
