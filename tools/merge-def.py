#!/usr/bin/env python3
"""Rewrites VARNOK-32.def as one alphabetical list of its exports, also resolving merge
conflicts in it (every export line of both sides is kept, duplicates dropped)."""
import re, sys
path = sys.argv[1] if len(sys.argv) > 1 else "VARNOK-32.def"
entries = set()
for line in open(path):
    m = re.match(r'^\s+(c\w+ = c\w+@\d+)\s*$', line)
    if m:
        entries.add(m.group(1))
with open(path, "w") as f:
    f.write("; VARNOK-32.DLL exports: undecorated names for the stdcall functions (name = name@bytes).\n")
    f.write('LIBRARY "VARNOK-32.DLL"\nEXPORTS\n')
    for e in sorted(entries, key=str.lower):
        f.write("    " + e + "\n")
