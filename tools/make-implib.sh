#!/bin/sh
# Writes the MinGW import library of VARNOK-32.DLL from the module-definition file, so
# that it always names exactly the exports the DLL has. C callers see the stdcall
# symbols (_cFileSize@4); -k makes each one import the undecorated name (cFileSize).
#   make-implib.sh DLLTOOL VARNOK-32.def OUTPUT.a
set -eu
dlltool=$1 def=$2 out=$3
tmp=$out.def
{
    echo 'LIBRARY "VARNOK-32.DLL"'
    echo 'EXPORTS'
    sed -n 's/^[[:space:]]*\(c[A-Za-z0-9]*\) = \(c[A-Za-z0-9]*@[0-9]*\)[[:space:]]*$/    \2/p' "$def"
} >"$tmp"
rm -f "$out"
"$dlltool" -k -d "$tmp" -D VARNOK-32.DLL -l "$out"
rm -f "$tmp"
