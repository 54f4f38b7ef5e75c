#!/bin/bash
# The declarations that callers use, read back as a VB or C compiler would and held to
# the library itself: VARNOK32.BAS, VARNOK.BAS (each branch of its #If block) and
# include/varnok32.h against the export table (all 94 exports, kinds and names), the records against the DLL's own layout, the constants
# against its result codes, the DLL's exports and the import library's stdcall byte
# counts against the declarations, and vnkcall --help and docs/reference.md against the
# .BAS. The DLL may still lack exports while the library grows: its list must be part of
# the table, and once it has 94 it must be the table. The x64 build's import library has
# undecorated names and no byte counts; the header's records hold both layouts.
set -euo pipefail
build=${1:?build folder}
top=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$top/tests/scripts/arch.sh"
"$triple-objdump" -p "$dll" >"$work/dump_dll"
"$triple-nm" "$build/libvarnok$bits.a" >"$work/nm_lib"
"$triple-objdump" -p "$build/decl_implib_test.exe" >"$work/implib_imports"
# vnkcall --help needs Wine to run the build's programs; a machine that cannot run 32-bit
# programs checks the rest, and the x64 build's vnkcall (the same source) the help.
help=yes
if [ $bits = 32 ] && ! (source "$top/scripts/wine-env.sh" && wine32_works); then
    help=no
    echo "vnkcall --help not compared: this machine cannot run 32-bit programs"
    : >"$work/help"
else
    "$top/tools/wine-run" "$build/vnkcall.exe" --help | tr -d '\r' >"$work/help"
fi
export top work bits help
python3 - <<'PY'
import os, re, sys

top = os.environ["top"]
bits = int(os.environ["bits"])
implib_name = f"libvarnok{bits}.a"
fail = []
def check(cond, msg):
    if not cond: fail.append(msg)
def tool(n):
    with open(os.path.join(os.environ["work"], n)) as f: return f.read()
def read(p, mode="r"):
    with open(os.path.join(top, p), mode, newline="" if mode == "r" else None) as f: return f.read()

# The export table: name -> (result, [kinds]).
table = {}
for m in re.finditer(r"^\s+X\((c\w+), (\w+)((?:, \w+)*)\)", read("frame/export_table.h"), re.M):
    table[m.group(1)] = (m.group(2), [k.strip() for k in m.group(3).split(",") if k.strip()])
check(len(table) == 94, f"export table lists {len(table)} exports, not 94")

# The modules: CR LF lines as VB writes them, one Declare per export (in VARNOK.BAS, per
# export and branch of its #If VBA7 / #If Win64 block).
vb_kind = [(r"ByVal (\w+) As String", "Str"), (r"(\w+) As String", "StrRef"), (r"ByVal (\w+) As Integer", "Int"),
           (r"ByVal (\w+) As Long", "Long"), (r"(\w+) As Long", "LongRef"), (r"(\w+) As Double", "DoubleRef"),
           (r"(\w+) As FileAttrib", "FileAttribRef"), (r"(\w+) As PathParts", "PathPartsRef"),
           (r"(\w+)\(\) As String", "StrArray"), (r"(\w+)\(\) As Any", "AnyArray")]
vb_result = {"Integer": "Int", "Long": "Long", "Double": "Double", "String": "String"}
def module(file, vb_name):
    raw = read(file)
    check("\n" not in raw.replace("\r\n", ""), f"{file} has a line end other than CR LF")
    text = raw.replace("\r\n", "\n")
    check(text.startswith(f'Attribute VB_Name = "{vb_name}"\n'), f"{file} does not start with its module name")
    return text
def declares(label, text, dll, ptr_safe):
    """name -> (result, [(kind, argument name)]) and name -> line, of the Declare lines of text."""
    decl, lines = {}, {}
    for line in text.split("\n"):
        if not line.startswith("Declare"): continue
        m = re.fullmatch(r'Declare %sFunction (c\w+) Lib "%s" \((.*)\) As (\w+)' % ("PtrSafe " if ptr_safe else "", re.escape(dll)), line)
        if not m: check(False, f"{label}: not a declaration of {dll} a VB program can use here: {line}"); continue
        name, args = m.group(1), []
        for a in m.group(2).split(", "):
            k = next(((kind, mm.group(1)) for pat, kind in vb_kind for mm in [re.fullmatch(pat, a)] if mm), None)
            check(k is not None, f"{label} {name}: argument '{a}' is no kind of the library")
            if k: args.append(k)
        check(name not in decl, f"{label} declares {name} twice")
        decl[name] = (vb_result.get(m.group(3), "?" + m.group(3)), args)
        lines[name] = line
    return decl, lines
bas = module("VARNOK32.BAS", "VARNOK32")
bas_decl, bas_lines = declares("VARNOK32.BAS", bas, "VARNOK-32.DLL", False)

# VARNOK.BAS: the records and constants once, then nothing but this block; the branch
# for older VB holds VARNOK32.BAS's very declarations.
vba = module("VARNOK.BAS", "VARNOK")
block = re.fullmatch(r"(.*?)^#If VBA7 Then\n#If Win64 Then\n(.*?)^#Else\n(.*?)^#End If\n#Else\n(.*?)^#End If\n", vba, re.S | re.M)
check(block is not None, "VARNOK.BAS does not end in one #If VBA7 block holding an #If Win64 block")
vba_head, vba_branches = (block.group(1), block.groups()[1:]) if block else (vba, ("", "", ""))
check("Declare" not in vba_head, "VARNOK.BAS declares a function outside its #If VBA7 block")
for b in vba_branches:
    check(all(l == "" or l.startswith(("'", "Declare")) for l in b.split("\n")), "VARNOK.BAS: a branch of #If VBA7 holds more than declarations")
vba_modules = [("VARNOK.BAS (VBA7, Win64)", vba_branches[0], "VARNOK-64.DLL", True),
               ("VARNOK.BAS (VBA7)", vba_branches[1], "VARNOK-32.DLL", True),
               ("VARNOK.BAS (older VB)", vba_branches[2], "VARNOK-32.DLL", False)]
vba_decls = [(label, declares(label, text, dll, safe)[0]) for label, text, dll, safe in vba_modules]
check([l for l in vba_branches[2].split("\n") if l.startswith("Declare")] == list(bas_lines.values()),
      "VARNOK.BAS: the declarations for older VB are not VARNOK32.BAS's")

# include/varnok32.h: one stdcall prototype per export.
c_kind = {"const char*": "Str", "BSTR*": "StrRef", "short": "Int", "long": "Long", "long*": "LongRef",
          "double*": "DoubleRef", "FileAttrib*": "FileAttribRef", "PathParts*": "PathPartsRef", "SAFEARRAY**": "Array"}
c_result = {"short": "Int", "long": "Long", "double": "Double", "BSTR": "String"}
hdr = read("include/varnok32.h")
h_decl = {}
for m in re.finditer(r"^(\w+) VARNOK32_API (c\w+)\((.*)\);$", hdr, re.M):
    args = []
    for a in m.group(3).split(", "):
        mm = re.fullmatch(r"(.+?) (\w+)", a)
        args.append((c_kind.get(mm.group(1), "?" + mm.group(1)), mm.group(2)))
    check(m.group(2) not in h_decl, f"varnok32.h declares {m.group(2)} twice")
    h_decl[m.group(2)] = (c_result.get(m.group(1), "?"), args)
check("#define VARNOK32_API __stdcall" in hdr, "varnok32.h does not declare the standard call convention")

all_decls = [("VARNOK32.BAS", bas_decl), ("varnok32.h", h_decl)] + vba_decls
for name, (res, kinds) in sorted(table.items()):
    for label, decls in all_decls:
        if name not in decls: check(False, f"{label} lacks {name}"); continue
        r, args = decls[name]
        have = [k if not (k == "Array" and want.endswith("Array")) else want for (k, _), want in zip(args, kinds)]
        check(r == res, f"{label} {name}: result {r}, the table says {res}")
        check(have == kinds and len(args) == len(kinds), f"{label} {name}: arguments {[k for k, _ in args]}, the table says {kinds}")
    for label, decls in all_decls[1:]:
        if name in bas_decl and name in decls:
            check([n for _, n in bas_decl[name][1]] == [n for _, n in decls[name][1]], f"{name}: argument names differ between VARNOK32.BAS and {label}")
for label, decls in all_decls:
    extra = set(decls) - set(table)
    check(not extra, f"{label} declares exports the table lacks: {sorted(extra)}")
    check(len(decls) == 94, f"{label} declares {len(decls)} exports, not 94")

# Records: the DLL's own layout (frame/boundary.h) field by field.
boundary = read("frame/boundary.h")
for rec in ("FileAttrib", "PathParts"):
    body = re.search(r"struct %s \{(.*?)\};" % rec, boundary, re.S).group(1)
    dll_fields = re.findall(r"(int16_t|BSTR) (\w+);", body)
    want = [(n, "Integer" if t == "int16_t" else "String") for t, n in dll_fields]
    for file, text in (("VARNOK32.BAS", bas), ("VARNOK.BAS", vba_head)):
        vb = re.findall(r"^Type %s\n(.*?)^End Type" % rec, text, re.S | re.M)
        check(len(vb) == 1 and re.findall(r"^    (\w+) As (\w+)$", vb[0], re.M) == want, f"{file}: Type {rec} is not once the DLL's record {want}")
    c = re.search(r"typedef struct %s \{(.*?)\} %s;" % (rec, rec), hdr, re.S)
    check(c is not None and [(n, "Integer" if t == "short" else "String") for t, n in re.findall(r"(short|BSTR) (\w+);", c.group(1))] == want,
          f"varnok32.h struct {rec} differs from the DLL's record")
    # 32 bits: packed, String slots of four bytes; x64: each field aligned to its size.
    for slot in (4, 8):
        offset, align = 0, 2
        for n, t in want:
            size = 2 if t == "Integer" else slot
            if slot == 8: offset, align = -(-offset // size) * size, max(align, size)
            check(f"offsetof({rec}, {n}) == {offset}," in hdr, f"varnok32.h does not assert the offset {offset} of {rec}.{n}")
            offset += size
        offset = -(-offset // align) * align
        check(f"sizeof({rec}) == {offset}," in hdr, f"varnok32.h does not assert the size {offset} of {rec}")

# Constants: the DLL's result codes and attribute bits.
codes = dict((n, int(v, 0)) for n, v in re.findall(r"constexpr \w+ ((?:RC|ATTR)_\w+) = (-?\w+);", read("frame/result_codes.h")))
check(len(codes) == 18, f"{len(codes)} result codes and attribute bits in frame/result_codes.h")
for n, v in codes.items():
    for file, text in (("VARNOK32.BAS", bas), ("VARNOK.BAS", vba_head)):
        m = re.findall(r"^Public Const %s = (\S+)$" % n, text, re.M)
        vbv = [int(x[2:], 16) if x.startswith("&H") else int(x) for x in m]
        check(vbv == [v], f"{file}: {n} is {m}, the DLL uses {v} (once)")
    m = re.search(r"^#define %s \(?(-?\w+)\)?$" % n, hdr, re.M)
    check(m is not None and int(m.group(1), 0) == v, f"varnok32.h: {n} differs from the DLL's {v}")

# The DLL's exports, and the import library's stdcall names with their byte counts.
dll = re.search(r"\[Ordinal/Name Pointer\] Table\n(.*?)\n\n", tool("dump_dll") + "\n\n", re.S)
dll_exports = set(re.findall(r"\]\s+(\S+)$", dll.group(1), re.M)) if dll else set()
check(dll_exports <= set(table), f"the DLL exports names the table lacks: {sorted(dll_exports - set(table))}")
if len(dll_exports) == 94: check(dll_exports == set(bas_decl), "the DLL's 94 exports differ from VARNOK32.BAS")
if bits == 32:
    implib = dict((n, int(b)) for n, b in re.findall(r" T _(c\w+)@(\d+)$", tool("nm_lib"), re.M))
else:
    implib = dict((n, None) for n in re.findall(r" T (c\w+)$", tool("nm_lib"), re.M))
check(set(implib) == dll_exports, f"{implib_name} and the DLL name different exports: {sorted(set(implib) ^ dll_exports)}")
for n, b in implib.items():
    if n in bas_decl and b is not None:
        check(b == 4 * len(bas_decl[n][1]), f"{implib_name}: _{n}@{b}, VARNOK32.BAS declares {len(bas_decl[n][1])} arguments")
imp = tool("implib_imports").split(f"DLL Name: VARNOK-{bits}.DLL")
check(len(imp) == 2 and re.search(r"^\s+\w+\s+\d+\s+cFileSize$", imp[1].split("DLL Name:")[0], re.M) is not None,
      f"decl_implib_test.exe does not import the DLL through {implib_name}")

# What a person reads: vnkcall --help and the reference carry the very same declarations.
help_lines = [l for l in tool("help").split("\n") if l.startswith("Declare")]
check(os.environ["help"] == "no" or
      help_lines == [bas_lines[n] for n in sorted(bas_lines, key=lambda s: list(table).index(s) if s in table else 999)],
      "vnkcall --help lists declarations other than VARNOK32.BAS's")
ref = read("docs/reference.md")
for name, line in bas_lines.items():
    check(re.search(r"^### %s$" % name, ref, re.M) is not None, f"docs/reference.md has no section for {name}")
    check(line in ref, f"docs/reference.md does not show the declaration of {name} as VARNOK32.BAS has it")
check(len(re.findall(r"^Declare Function", ref, re.M)) >= 94, "docs/reference.md shows fewer than 94 declarations")

for f in fail: print("FAIL:", f)
print(f"table 94, VARNOK32.BAS {len(bas_decl)}, VARNOK.BAS {'+'.join(str(len(d)) for _, d in vba_decls)}, varnok32.h {len(h_decl)}, DLL {len(dll_exports)} of 94 exports, "
      f"{implib_name} {len(implib)}; {len(fail)} problem(s)")
sys.exit(1 if fail else 0)
PY
