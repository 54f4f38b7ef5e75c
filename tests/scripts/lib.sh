# Shared start of the cross-check scripts, sourced with the build folder as $1. Sets
# build and top, a scratch folder work (removed at exit), call (vnkcall.exe under Wine;
# its output as text, CRs dropped) and win (the Windows name of a Linux path).
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd)
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d "/tmp/vnk-$(basename "$0" .sh).XXXXXX")
trap 'rm -rf "$work"' EXIT
# A failing step ends the check (set -e); say which one, or a failure has no output at all.
trap 'echo "line $LINENO: a step failed with exit status $? ($(basename "$0"))" >&2' ERR
call() { "$top/tools/wine-run" "$build/vnkcall.exe" "$@" </dev/null | tr -d '\r'; }
win() { printf 'Z:%s' "$1" | tr / '\\'; }
