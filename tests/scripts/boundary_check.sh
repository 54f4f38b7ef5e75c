#!/bin/bash
# The library's boundary, held to one source: the export table (frame/export_table.h:
# every export's name, result, and each argument's kind and name) against what is built
# from it and what callers read. Checked here:
#  - the generated files are what the table gives, byte for byte: VARNOK32.BAS,
#    VARNOK.BAS, VARNOKW.BAS, include/varnok32.h, VARNOK-32.def, VARNOK-64.def, and the index in
#    DEVELOPERS.md of the file that defines each export (gen_declarations --check, built
#    for this machine);
#  - read back as a VB or C compiler and the linker would: both modules (each branch of
#    VARNOK.BAS's #If block) and the header declare every export of the table with its
#    kinds and names; both .def files name every export and its Unicode twin (cNameW) in
#    one sorted list, the 32-bit one with 4 bytes per argument; the records match the
#    DLL's own layout, the constants its result codes;
#  - the DLL of this build, and of the other architecture's build beside it when that
#    has one: every export of the table and its twin, undecorated, nothing else, and nothing imported
#    but system DLLs; this build's import library names the same exports (on 32 bits
#    with the .def's byte counts) and decl_implib_test.exe imports the DLL through it;
#  - VARNOKW.BAS: the public functions of VARNOK.BAS with the same parameter lists, each
#    over its twin declared with every String by address (so VBA converts nothing), the
#    twin exported by the DLL; the header's twin prototypes (UTF-16 strings);
#  - vnkcall --help and docs/reference.md show the very declarations of VARNOK32.BAS;
#    --help also the twins' prototypes as the header has them, and the reference's table
#    of twins is the header's.
# The number of exports is never written here: every count is the table's.
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd)
top=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "/tmp/vnk-boundary_check.XXXXXX")
trap 'rm -rf "$work"' EXIT
source "$top/tests/scripts/arch.sh"

# The generator, compiled for this machine from the table as the sources have it now.
cxx=$(command -v clang++ || command -v c++)
"$cxx" -std=c++20 -O0 -I"$top" "$top/tools/gen_declarations.cpp" -o "$work/gen_declarations"
generated=yes
"$work/gen_declarations" --check "$top" || generated=no

# Every built DLL: this build's, and the other architecture's when the build beside this
# one has it.
: >"$work/dlls"
for n in 32 64; do
    dir=$build
    [ $n = $bits ] || dir=$(dirname "$build")/win$n
    [ -f "$dir/VARNOK-$n.DLL" ] || continue
    t=i686-w64-mingw32
    [ $n = 64 ] && t=x86_64-w64-mingw32
    "$t-objdump" -p "$dir/VARNOK-$n.DLL" >"$work/dump_$n"
    echo $n >>"$work/dlls"
done
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
export top work bits help generated
python3 - <<'PY'
import os, re, sys

top = os.environ["top"]
bits = int(os.environ["bits"])
implib_name = f"libvarnok{bits}.a"
fail = [] if os.environ["generated"] == "yes" else ["the generated files are not what the export table gives (above)"]
def check(cond, msg):
    if not cond: fail.append(msg)
def tool(n):
    with open(os.path.join(os.environ["work"], n)) as f: return f.read()
def read(p, mode="r"):
    with open(os.path.join(top, p), mode, newline="" if mode == "r" else None) as f: return f.read()

# The export table: name -> (result, [kinds]) and name -> [argument names].
table, table_names = {}, {}
rows = re.findall(r"^\s+X\((.*)\)\s*\\?$", read("frame/export_table.h"), re.M)
for row in rows:
    m = re.fullmatch(r"(c\w+), (Int|Long|Double|String)((?:, \(\w+, \w+\))*)", row)
    if not m: check(False, f"export table: a row that is no export: X({row})"); continue
    args = re.findall(r"\((\w+), (\w+)\)", m.group(3))
    check(m.group(1) not in table, f"export table lists {m.group(1)} twice")
    # Text of a file's contents is declared as any String is.
    declared = {"Text": "Str", "TextRef": "StrRef", "TextArray": "StrArray"}
    table[m.group(1)] = (m.group(2), [declared.get(k, k) for k, _ in args])
    table_names[m.group(1)] = [n for _, n in args]
count = len(table)
check(count > 0 and list(table) == sorted(table), "the export table is empty or out of alphabetical order")
# Every export has its Unicode twin cNameW, with the same arguments and result; the DLL
# exports both.
twins = {n + "W": v for n, v in table.items()}
check(not set(twins) & set(table), "an export of the table is named like another's twin")
exported = {**table, **twins}

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
c_kind = {"const char*": "Str", "const wchar_t*": "WStr", "BSTR*": "StrRef", "short": "Int", "long": "Long", "long*": "LongRef",
          "double*": "DoubleRef", "FileAttrib*": "FileAttribRef", "PathParts*": "PathPartsRef", "SAFEARRAY**": "Array"}
c_result = {"short": "Int", "long": "Long", "double": "Double", "BSTR": "String"}
hdr = read("include/varnok32.h")
h_decl, h_twin, h_twin_lines = {}, {}, {}
for m in re.finditer(r"^(\w+) VARNOK32_API (c\w+)\((.*)\);$", hdr, re.M):
    args = []
    for a in m.group(3).split(", "):
        mm = re.fullmatch(r"(.+?) (\w+)", a)
        args.append((c_kind.get(mm.group(1), "?" + mm.group(1)), mm.group(2)))
    into = h_twin if m.group(2) in twins else h_decl
    check(m.group(2) not in into, f"varnok32.h declares {m.group(2)} twice")
    into[m.group(2)] = (c_result.get(m.group(1), "?"), args)
    if into is h_twin: h_twin_lines[m.group(2)] = m.group(0)
# The twins' prototypes: a ByVal String is UTF-16 (const wchar_t*), every other kind as the
# export has it.
for name, (res, kinds) in sorted(twins.items()):
    if name not in h_twin: check(False, f"varnok32.h lacks the twin {name}"); continue
    r, args = h_twin[name]
    want = ["WStr" if k == "Str" else "Array" if k.endswith("Array") else k for k in kinds]
    check(r == res and [k for k, _ in args] == want, f"varnok32.h {name}: {r} {[k for k, _ in args]}, the table gives {res} {want}")
    check([n for _, n in args] == table_names[name[:-1]], f"varnok32.h {name}: argument names {[n for _, n in args]}")
check(all(h_decl.get(n, (None, []))[1] == [] or "WStr" not in [k for k, _ in h_decl[n][1]] for n in h_decl),
      "varnok32.h declares an ANSI export with a UTF-16 argument")
check("#define VARNOK32_API __stdcall" in hdr, "varnok32.h does not declare the standard call convention")

all_decls = [("VARNOK32.BAS", bas_decl), ("varnok32.h", h_decl)] + vba_decls
for name, (res, kinds) in sorted(table.items()):
    for label, decls in all_decls:
        if name not in decls: check(False, f"{label} lacks {name}"); continue
        r, args = decls[name]
        have = [k if not (k == "Array" and want.endswith("Array")) else want for (k, _), want in zip(args, kinds)]
        check(r == res, f"{label} {name}: result {r}, the table says {res}")
        check(have == kinds and len(args) == len(kinds), f"{label} {name}: arguments {[k for k, _ in args]}, the table says {kinds}")
        check([n for _, n in args] == table_names[name], f"{label} {name}: argument names {[n for _, n in args]}, the table says {table_names[name]}")
for label, decls in all_decls:
    extra = set(decls) - set(table)
    check(not extra, f"{label} declares exports the table lacks: {sorted(extra)}")

# The module-definition files: each export of the table and each twin once, undecorated,
# in one list sorted in any letter case, and on 32 bits mapped to its stdcall name with 4
# bytes per argument (a twin's as many as its export's).
for n in (32, 64):
    text = read(f"VARNOK-{n}.def")
    check(re.search(r'^LIBRARY "VARNOK-%d\.DLL"$' % n, text, re.M) is not None, f"VARNOK-{n}.def does not name VARNOK-{n}.DLL")
    entries = re.findall(r"^\s+(\S.*?)\s*$", text.split("EXPORTS", 1)[-1], re.M)
    names = []
    for e in entries:
        m = re.fullmatch(r"(c\w+) = (c\w+)@(\d+)" if n == 32 else r"(c\w+)", e)
        if not m or (n == 32 and m.group(1) != m.group(2)):
            check(False, f"VARNOK-{n}.def: '{e}' is not an export as this architecture names it"); continue
        names.append(m.group(1))
        if n == 32 and m.group(1) in exported:
            check(int(m.group(3)) == 4 * len(exported[m.group(1)][1]), f"VARNOK-32.def: {e}, the table gives {m.group(1)} {len(exported[m.group(1)][1])} arguments")
    check(sorted(names) == sorted(exported), f"VARNOK-{n}.def and the table name different exports and twins: {sorted(set(names) ^ set(exported))}")
    check(names == sorted(names, key=str.lower), f"VARNOK-{n}.def: the exports are not in one sorted list")
    check(len(names) == len(set(names)), f"VARNOK-{n}.def names an export twice")

# Each built DLL's export table: the table's exports and their twins, undecorated, and
# nothing else; and nothing imported but system DLLs.
dlls = {}
for n in tool("dlls").split():
    dump = tool(f"dump_{n}")
    block = re.search(r"\[Ordinal/Name Pointer\] Table\n(.*?)\n\n", dump + "\n\n", re.S)
    names = re.findall(r"\]\s+(\S+)$", block.group(1), re.M) if block else []
    dlls[n] = set(names)
    check(sorted(names) == sorted(exported), f"VARNOK-{n}.DLL and the table name different exports and twins: {sorted(set(names) ^ set(exported))}")
    imports = sorted(set(m.upper() for m in re.findall(r"DLL Name: (\S+)", dump)))
    check(set(imports) <= {"KERNEL32.DLL", "MSVCRT.DLL", "OLEAUT32.DLL", "OLE32.DLL"}, f"VARNOK-{n}.DLL imports {imports}")
check(str(bits) in dlls, f"this build has no VARNOK-{bits}.DLL")
dll_exports = dlls.get(str(bits), set())

# VARNOKW.BAS: the public functions of VARNOK.BAS, with the very same parameter lists
# (a VBA function cannot take As Any: that array comes As Variant), each calling the
# twin of its export through a Private Declare PtrSafe whose every String goes by
# address: ByVal Strings as StrPtr, ByRef Strings and PathParts as VarPtr, arrays as the
# array variable's address, String results As LongPtr taken over by vnkW_TakeString. So
# VBA converts nothing: no String crosses a Declare of this module.
vbaw = module("VARNOKW.BAS", "VARNOKW")
wblock = re.fullmatch(r"(.*?)^#If VBA7 Then\n((?:'.*\n)*)#If Win64 Then\n(.*?)^#Else\n(.*?)^#End If\n(.*?)^#End If\n(.*)", vbaw, re.S | re.M)
check(wblock is not None, "VARNOKW.BAS does not declare its twins in one #If VBA7 block holding an #If Win64 block")
vbaw_head, w64, w32, wextra, wbody = (wblock.group(1), wblock.group(3), wblock.group(4), wblock.group(5), wblock.group(6)) if wblock else (vbaw, "", "", "", "")
check("Declare" not in vbaw_head + wbody, "VARNOKW.BAS declares a function outside its #If VBA7 block")
check(wextra == 'Private Declare PtrSafe Sub vnkW_CopyMemory Lib "kernel32" Alias "RtlMoveMemory" (ByVal Destination As LongPtr, ByVal Source As LongPtr, ByVal Length As LongPtr)\n',
      "VARNOKW.BAS: beside the twins, the #If VBA7 block declares anything but RtlMoveMemory")
by_address = {"Str", "StrRef", "PathPartsRef", "StrArray", "AnyArray"}
passed = {"Str": "StrPtr({})", "StrRef": "VarPtr({})", "PathPartsRef": "VarPtr({})", "StrArray": "vnkW_ArrayAddress({})", "AnyArray": "vnkW_ArrayAddress({})"}
for label, text, dll in (("VARNOKW.BAS (Win64)", w64, "VARNOK-64.DLL"), ("VARNOKW.BAS (32-bit)", w32, "VARNOK-32.DLL")):
    seen = set()
    for line in text.split("\n"):
        if line == "": continue
        m = re.fullmatch(r'Private Declare PtrSafe Function vnkW_(c\w+) Lib "%s" Alias "(c\w+)" \((.*)\) As (\w+)' % re.escape(dll), line)
        if not m: check(False, f"{label}: not a private declaration of a twin in {dll}: {line}"); continue
        name, alias = m.group(1), m.group(2)
        check(name in table and alias == name + "W", f"{label}: vnkW_{name} aliases {alias}, not the twin of an export")
        check(alias in dll_exports, f"{label}: {alias} is not exported by this build's DLL")
        check(name not in seen, f"{label} declares vnkW_{name} twice"); seen.add(name)
        if name not in table: continue
        res, kinds = table[name]
        check(m.group(4) == ("LongPtr" if res == "String" else {"Int": "Integer"}.get(res, res)), f"{label} vnkW_{name}: result As {m.group(4)}")
        params = m.group(3).split(", ")
        check(len(params) == len(kinds), f"{label} vnkW_{name}: {len(params)} arguments, the table gives {len(kinds)}")
        for a, k, n in zip(params, kinds, table_names[name]):
            if k in by_address:
                check(a == f"ByVal {n} As LongPtr", f"{label} vnkW_{name}: '{a}' is not passed by address (ByVal {n} As LongPtr)")
            else:
                got = next((kind for pat, kind in vb_kind for mm in [re.fullmatch(pat, a)] if mm and mm.group(1) == n), None)
                check(got == k, f"{label} vnkW_{name}: '{a}' is not the table's {k} {n}")
    check(seen == set(table), f"{label}: the twins declared and the table's exports differ: {sorted(seen ^ set(table))}")
check(" As String" not in w64 + w32 + wextra, "VARNOKW.BAS: a String crosses a Declare, which VBA would convert")
vba_params = {m.group(1): (m.group(2), m.group(3)) for m in re.finditer(r'^Declare PtrSafe Function (c\w+) Lib "VARNOK-64\.DLL" \((.*)\) As (\w+)$', vba_branches[0], re.M)}
wfuncs = {}
for m in re.finditer(r"^Public Function (\w+)\((.*)\) As (\w+)\n    (\w+) = (.*)\nEnd Function$", wbody, re.M):
    check(m.group(1) not in wfuncs, f"VARNOKW.BAS defines {m.group(1)} twice")
    wfuncs[m.group(1)] = m
check(len(wfuncs) == len(re.findall(r"^Public ", wbody, re.M)), "VARNOKW.BAS: a public procedure that is no one-line wrapper of a twin")
check(set(wfuncs) == set(vba_params), f"VARNOKW.BAS and VARNOK.BAS offer different functions: {sorted(set(wfuncs) ^ set(vba_params))}")
for name, m in sorted(wfuncs.items()):
    if name not in vba_params or name not in table: continue
    params, result = vba_params[name]
    check(m.group(2) == re.sub(r"\b(\w+)\(\) As Any\b", r"\1 As Variant", params) and m.group(3) == result,
          f"VARNOKW.BAS {name}: ({m.group(2)}) As {m.group(3)}, VARNOK.BAS has ({params}) As {result}")
    call = f"vnkW_{name}(" + ", ".join(passed.get(k, "{}").format(n) for k, n in zip(table[name][1], table_names[name])) + ")"
    if table[name][0] == "String": call = f"vnkW_TakeString({call})"
    check(m.group(4) == name and m.group(5) == call, f"VARNOKW.BAS {name}: '{m.group(4)} = {m.group(5)}', not '{name} = {call}'")
for helper in ("Private Function vnkW_TakeString(ByVal Result As LongPtr) As String",
               "Private Function vnkW_ArrayAddress(ByRef Items As Variant) As LongPtr"):
    check(re.search(r"^%s$" % re.escape(helper), wbody, re.M) is not None, f"VARNOKW.BAS lacks {helper}")

# Records: the DLL's own layout (frame/boundary.h) field by field.
boundary = read("frame/boundary.h")
for rec in ("FileAttrib", "PathParts"):
    body = re.search(r"struct %s \{(.*?)\};" % rec, boundary, re.S).group(1)
    dll_fields = re.findall(r"(int16_t|BSTR) (\w+);", body)
    want = [(n, "Integer" if t == "int16_t" else "String") for t, n in dll_fields]
    for file, text in (("VARNOK32.BAS", bas), ("VARNOK.BAS", vba_head), ("VARNOKW.BAS", vbaw_head)):
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
check(len(codes) == 19, f"{len(codes)} result codes and attribute bits in frame/result_codes.h")
for n, v in codes.items():
    for file, text in (("VARNOK32.BAS", bas), ("VARNOK.BAS", vba_head), ("VARNOKW.BAS", vbaw_head)):
        m = re.findall(r"^Public Const %s = (\S+)$" % n, text, re.M)
        vbv = [int(x[2:], 16) if x.startswith("&H") else int(x) for x in m]
        check(vbv == [v], f"{file}: {n} is {m}, the DLL uses {v} (once)")
    m = re.search(r"^#define %s \(?(-?\w+)\)?$" % n, hdr, re.M)
    check(m is not None and int(m.group(1), 0) == v, f"varnok32.h: {n} differs from the DLL's {v}")


# The import library's names, on 32 bits with their stdcall byte counts.
if bits == 32:
    implib = dict((n, int(b)) for n, b in re.findall(r" T _(c\w+)@(\d+)$", tool("nm_lib"), re.M))
else:
    implib = dict((n, None) for n in re.findall(r" T (c\w+)$", tool("nm_lib"), re.M))
check(set(implib) == dll_exports, f"{implib_name} and the DLL name different exports: {sorted(set(implib) ^ dll_exports)}")
for n, b in implib.items():
    if n in bas_decl and b is not None:
        check(b == 4 * len(bas_decl[n][1]), f"{implib_name}: _{n}@{b}, VARNOK32.BAS declares {len(bas_decl[n][1])} arguments")
    if n in twins and b is not None:
        check(b == 4 * len(twins[n][1]), f"{implib_name}: _{n}@{b}, the table gives {n[:-1]} {len(twins[n][1])} arguments")
imp = tool("implib_imports").split(f"DLL Name: VARNOK-{bits}.DLL")
check(len(imp) == 2 and re.search(r"^\s+\w+\s+\d+\s+cFileSize$", imp[1].split("DLL Name:")[0], re.M) is not None,
      f"decl_implib_test.exe does not import the DLL through {implib_name}")

# What a person reads: vnkcall --help and the reference carry the very same declarations.
help_lines = [l for l in tool("help").split("\n") if l.startswith("Declare")]
check(os.environ["help"] == "no" or
      help_lines == [bas_lines[n] for n in sorted(bas_lines, key=lambda s: list(table).index(s) if s in table else 999)],
      "vnkcall --help lists declarations other than VARNOK32.BAS's")
help_twins = [l for l in tool("help").split("\n") if re.match(r"\w+ VARNOK32_API c\w+W\(", l)]
check(os.environ["help"] == "no" or help_twins == [h_twin_lines.get(n + "W") for n in table],
      "vnkcall --help does not list the twins as varnok32.h declares them")
ref = read("docs/reference.md")
for name, line in bas_lines.items():
    check(re.search(r"^### %s$" % name, ref, re.M) is not None, f"docs/reference.md has no section for {name}")
    check(line in ref, f"docs/reference.md does not show the declaration of {name} as VARNOK32.BAS has it")
check(len(re.findall(r"^Declare Function", ref, re.M)) >= count, f"docs/reference.md shows fewer than {count} declarations")
twin_table = re.search(r"^<!-- twins: .*?-->\n(.*?)^<!-- end of the twins -->$", ref, re.S | re.M)
ref_twins = re.findall(r"^\| `(c\w+)` \| `(.*)` \|$", twin_table.group(1) if twin_table else "", re.M)
check(ref_twins == [(n, h_twin_lines.get(n + "W")) for n in table], "docs/reference.md: the table of twins is not every export with its twin's prototype from varnok32.h")

for f in fail: print("FAIL:", f)
print(f"table {count} exports; VARNOK32.BAS {len(bas_decl)}, VARNOK.BAS {'+'.join(str(len(d)) for _, d in vba_decls)}, VARNOKW.BAS {len(wfuncs)}, "
      f"varnok32.h {len(h_decl)}+{len(h_twin)} twins, vnkcall --help {len(help_lines)}+{len(help_twins)} twins, "
      + ", ".join(f"VARNOK-{n}.DLL {len(e)}" for n, e in sorted(dlls.items())) + f", {implib_name} {len(implib)}; {len(fail)} problem(s)")
sys.exit(1 if fail else 0)
PY
