#!/bin/sh
# Writes the MinGW import library of VARNOK-32.DLL or VARNOK-64.DLL from its
# module-definition file, so that it always names exactly the exports the DLL has.
# 32-bit C callers see the stdcall symbols (_cFileSize@4); -k makes each one import the
# undecorated name (cFileSize). On x64 names carry no decoration and the file is used
# as it is.
#   make-implib.sh DLLTOOL VARNOK-NN.def OUTPUT.a
set -eu
dlltool=$1 def=$2 out=$3
dll=$(sed -n 's/^LIBRARY "\(.*\)"[[:space:]]*$/\1/p' "$def")
rm -f "$out"
if ! grep -q '@' "$def"; then
    "$dlltool" -d "$def" -D "$dll" -l "$out"
    exit
fi
tmp=$out.def
{
    echo "LIBRARY \"$dll\""
    echo 'EXPORTS'
    sed -n 's/^[[:space:]]*\(c[A-Za-z0-9]*\) = \(c[A-Za-z0-9]*@[0-9]*\)[[:space:]]*$/    \2/p' "$def"
} >"$tmp"
"$dlltool" -k -d "$tmp" -D "$dll" -l "$out"
rm -f "$tmp"
