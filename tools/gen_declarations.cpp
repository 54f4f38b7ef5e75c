// gen_declarations: writes the declarations that programs calling the library use,
// VARNOK32.BAS (VB 4.0), VARNOK.BAS (VBA 7, 64-bit and 32-bit Office), VARNOKW.BAS (the
// same functions for VBA 7 over the Unicode twins) and include/varnok32.h (C and C++),
// and the module-definition files the DLLs are linked with, VARNOK-32.def and
// VARNOK-64.def, from tools/declarations.h; the index in DEVELOPERS.md of the source file
// that defines each export, from the sources; and the table of the Unicode twins in
// docs/reference.md.
//   gen_declarations --write TOP   rewrites the files under the source folder TOP
//   gen_declarations --check TOP   fails, naming the first difference, when a
//                                  checked-in file is not what the table gives
// The files are checked in so that a VB programmer finds them without building; the
// --check run in the test suite keeps them from drifting away from the export table.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "tools/declarations.h"

namespace {

using namespace vnk::declarations;
using vnk::Kind;

std::string Hex(int32_t v) {
  char buf[16];
  snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(v));
  return buf;
}

// The records and constants of a module, as every module declares them: VBA lays a record
// out for its own architecture.
void RecordsAndConstants(std::ostringstream& o) {
  o << "' A file's attributes, filled by cFileGetAttrib and applied by cFileSetAttrib.\n"
       "' Each flag is True (-1) or False (0); SubDir and Compressed are only read.\n"
       "' Status is -1 after success, another value after a failure.\n";
  auto records = Records();
  for (size_t r = 0; r < records.size(); ++r) {
    if (r == 1) o << "\n' A path split into its parts by cSplitPath.\n";
    o << "Type " << records[r].name << "\n";
    for (const Field& f : records[r].fields) o << "    " << f.name << (f.is_string ? " As String\n" : " As Integer\n");
    o << "End Type\n";
  }
  o << "\n' Negative results of the functions that process file contents.\n";
  for (const Constant& c : ResultCodes()) o << "Public Const " << c.name << " = " << c.value << "\n";
  o << "\n' Attribute bits, for cFileSetFlag, cFileResetFlag and cIsFileFlag.\n";
  for (const Constant& c : AttributeBits()) o << "Public Const " << c.name << " = &H" << Hex(c.value) << "\n";
}

constexpr char kAnyArrayNote[] =
    "\n' cArrayOnDisk saves and loads an array of any fixed-size elements: Integer,\n"
    "' Long, Single, Double, Currency, or a Type made only of such fields.\n";

// VB reads its modules with CR LF line ends.
std::string WithCrLf(const std::string& lf) {
  std::string crlf;
  for (char ch : lf) {
    if (ch == '\n') crlf += '\r';
    crlf += ch;
  }
  return crlf;
}

// A declarations module: VARNOK32.BAS (vba7 false) declares VARNOK-32.DLL for VB 4.0;
// VARNOK.BAS declares, under #If VBA7 (Office 2010 and later), VARNOK-64.DLL for 64-bit
// Office and VARNOK-32.DLL for 32-bit Office with Declare PtrSafe, and for older VB and
// VBA the plain declarations of VARNOK-32.DLL. The records and constants come once, before
// the conditional block: VBA lays a record out for its own architecture. VB reads its
// modules with CR LF line ends.
std::string Basic(bool vba7) {
  std::ostringstream o;
  if (vba7)
    o << "Attribute VB_Name = \"VARNOK\"\n"
         "' VARNOK.BAS: the declarations of VARNOK-64.DLL and VARNOK-32.DLL for VBA 7 (Office\n"
         "' 2010 and later, 64-bit and 32-bit), and of VARNOK-32.DLL for older VBA and VB.\n"
         "' Add this module to a project and call the functions; reference.md tells what\n"
         "' each one does, what its arguments mean and what it answers. Integers are 16 bits\n"
         "' and Longs 32 bits in both DLLs, so the declarations differ only in the DLL's name.\n"
         "' Written from the library's export table by gen_declarations: do not edit.\n";
  else
    o << "Attribute VB_Name = \"VARNOK32\"\n"
         "' VARNOK32.BAS: the declarations of VARNOK-32.DLL for Visual Basic 4.0 (32-bit).\n"
         "' Add this module to a project and call the functions; reference.md tells what\n"
         "' each one does, what its arguments mean and what it answers.\n"
         "' Written from the library's export table by gen_declarations: do not edit.\n";
  o << "Option Explicit\n\n";
  RecordsAndConstants(o);
  o << kAnyArrayNote;
  auto declares = [&](const char* lib, bool ptr_safe) {
    for (const Export& e : Exports()) o << VbDeclare(e, lib, ptr_safe) << "\n";
  };
  if (vba7) {
    o << "#If VBA7 Then\n#If Win64 Then\n' 64-bit Office: VARNOK-64.DLL.\n";
    declares("VARNOK-64.DLL", true);
    o << "#Else\n' 32-bit Office 2010 and later: VARNOK-32.DLL.\n";
    declares("VARNOK-32.DLL", true);
    o << "#End If\n#Else\n' Office 2007 and earlier, Visual Basic 4.0 to 6.0: VARNOK-32.DLL.\n";
    declares("VARNOK-32.DLL", false);
    o << "#End If\n";
  } else {
    declares("VARNOK-32.DLL", false);
  }
  return WithCrLf(o.str());
}

// VARNOKW.BAS: for VBA 7 (64-bit and 32-bit Office), the public functions of VARNOK.BAS
// under the same names with the same arguments, each a wrapper over its Unicode twin.
// The twins are declared Private with every String by address, so that VBA converts
// nothing: a ByVal String goes as StrPtr (its UTF-16 text), a ByRef String and a
// PathParts record as VarPtr (the BSTR slot, the record: VBA would convert the Strings of
// a record passed to a Declare), an array as the address of the caller's array variable,
// and a String result, declared LongPtr, is taken over as the BSTR it is.

// A public wrapper's parameter: the declaration's own, but a VBA function cannot take an
// argument As Any, so the array of fixed-size elements comes in a Variant.
std::string VbWideParameter(const Argument& a) {
  if (a.kind == Kind::AnyArray) return std::string(a.name) + " As Variant";
  return VbArgument(a);
}

// The twin's parameter in its Private Declare, and what the wrapper passes there.
std::string VbTwinParameter(const Argument& a) {
  switch (Declared(a.kind)) {
    case Kind::Str:
    case Kind::StrRef:
    case Kind::PathPartsRef:
    case Kind::StrArray:
    case Kind::AnyArray: return "ByVal " + std::string(a.name) + " As LongPtr";
    default: return VbArgument(a);
  }
}
std::string VbTwinValue(const Argument& a) {
  std::string n(a.name);
  switch (Declared(a.kind)) {
    case Kind::Str: return "StrPtr(" + n + ")";
    case Kind::StrRef:
    case Kind::PathPartsRef: return "VarPtr(" + n + ")";
    case Kind::StrArray:
    case Kind::AnyArray: return "vnkW_ArrayAddress(" + n + ")";
    default: return n;
  }
}

std::string BasicWide() {
  std::ostringstream o;
  o << "Attribute VB_Name = \"VARNOKW\"\n"
       "' VARNOKW.BAS: VARNOK-64.DLL and VARNOK-32.DLL for VBA 7 (Office 2010 and later,\n"
       "' 64-bit and 32-bit) through the Unicode twins of their functions. It offers the\n"
       "' functions of VARNOK.BAS under the same names with the same arguments, so that a\n"
       "' program swaps one module for the other and changes nothing else (a project holds\n"
       "' one of the two, not both). Each function here calls its twin cNameW with every\n"
       "' String passed by address, so that VBA converts nothing: names and paths keep every\n"
       "' character and may be up to 32,767 characters long, and String results come back as\n"
       "' they are. The texts looked for in or written into a file's contents (search and\n"
       "' replacement texts, character lists, the lines of a string array file) reach the\n"
       "' file in the ANSI code page, as with VARNOK.BAS. cArrayOnDisk takes its array in a\n"
       "' Variant (a VBA function cannot take As Any): pass the array variable as before.\n"
       "' reference.md tells what each function does. VBA 7 only: older VBA and VB use\n"
       "' VARNOK.BAS or VARNOK32.BAS.\n"
       "' Written from the library's export table by gen_declarations: do not edit.\n";
  o << "Option Explicit\n\n";
  RecordsAndConstants(o);
  o << "\n#If VBA7 Then\n"
       "' The twins, private to this module: every String goes by address and a String result\n"
       "' comes back as a BSTR (LongPtr) that vnkW_TakeString hands over to VBA.\n"
       "#If Win64 Then\n";
  auto declares = [&](const char* lib) {
    for (const Export& e : Exports()) {
      o << "Private Declare PtrSafe Function vnkW_" << e.name << " Lib \"" << lib << "\" Alias \"" << TwinName(e)
        << "\" (";
      for (size_t i = 0; i < e.args.size(); ++i) o << (i ? ", " : "") << VbTwinParameter(e.args[i]);
      o << ") As " << (e.result == Kind::String ? "LongPtr" : VbResult(e.result)) << "\n";
    }
  };
  declares("VARNOK-64.DLL");
  o << "#Else\n";
  declares("VARNOK-32.DLL");
  o << "#End If\n"
       "Private Declare PtrSafe Sub vnkW_CopyMemory Lib \"kernel32\" Alias \"RtlMoveMemory\" (ByVal Destination As "
       "LongPtr, ByVal Source As LongPtr, ByVal Length As LongPtr)\n"
       "#End If\n\n";
  o << "' A String result of a twin: the BSTR it returned becomes a String's own, with no\n"
       "' conversion; VBA frees it when the String goes.\n"
       "Private Function vnkW_TakeString(ByVal Result As LongPtr) As String\n"
       "    Dim Taken As String\n"
       "    vnkW_CopyMemory VarPtr(Taken), VarPtr(Result), LenB(Result)\n"
       "    vnkW_TakeString = Taken\n"
       "End Function\n\n"
       "' The address of the caller's array variable (the twin reads, fills or replaces the\n"
       "' array there). VBA passes an array variable to a Variant argument as a Variant that\n"
       "' refers to it (VT_BYREF), the variable's address in the data word at offset 8; a\n"
       "' Variant that holds an array itself gives the address of that word. Anything else\n"
       "' gives 0, which the twin refuses as an array it cannot use.\n"
       "Private Function vnkW_ArrayAddress(ByRef Items As Variant) As LongPtr\n"
       "    Dim VariantType As Integer, Address As LongPtr\n"
       "    If (VarType(Items) And vbArray) = 0 Then Exit Function\n"
       "    vnkW_CopyMemory VarPtr(VariantType), VarPtr(Items), LenB(VariantType)\n"
       "    If (VariantType And &H4000) <> 0 Then\n"
       "        vnkW_CopyMemory VarPtr(Address), VarPtr(Items) + 8, LenB(Address)\n"
       "    Else\n"
       "        Address = VarPtr(Items) + 8\n"
       "    End If\n"
       "    vnkW_ArrayAddress = Address\n"
       "End Function\n";
  for (const Export& e : Exports()) {
    o << "\nPublic Function " << e.name << "(";
    for (size_t i = 0; i < e.args.size(); ++i) o << (i ? ", " : "") << VbWideParameter(e.args[i]);
    o << ") As " << VbResult(e.result) << "\n";
    std::string call = "vnkW_" + std::string(e.name) + "(";
    for (size_t i = 0; i < e.args.size(); ++i) call += (i ? ", " : "") + VbTwinValue(e.args[i]);
    call += ")";
    if (e.result == Kind::String) call = "vnkW_TakeString(" + call + ")";
    o << "    " << e.name << " = " << call << "\n"
      << "End Function\n";
  }
  return WithCrLf(o.str());
}

std::string Header() {
  std::ostringstream o;
  o << "/* varnok32.h: VARNOK-32.DLL (32-bit Windows) and VARNOK-64.DLL (x64) for C and C++\n"
       "   programs. Link with libvarnok32.a or libvarnok64.a (MinGW) and put the DLL of the\n"
       "   program's architecture beside it. Every function uses the standard call\n"
       "   convention (on x64, the one convention there is) and is exported undecorated.\n"
       "   Results declared short are VB Integers: True is -1, False is 0, and only the\n"
       "   low 16 bits are set. A BSTR result holds ANSI bytes (its length is\n"
       "   SysStringByteLen) and belongs to the caller, who frees it with SysFreeString;\n"
       "   it is never NULL. reference.md describes every function.\n"
       "   Written from the library's export table by gen_declarations: do not edit. */\n"
       "#ifndef VARNOK32_H\n"
       "#define VARNOK32_H\n\n"
       "#include <stddef.h>\n"
       "#include <windows.h>\n"
       "#include <oleauto.h>\n\n"
       "#ifndef VARNOK32_API\n"
       "#define VARNOK32_API __stdcall\n"
       "#endif\n\n"
       "#if defined(__cplusplus) && __cplusplus >= 201103L\n"
       "#define VARNOK32_ASSERT(cond, id) static_assert(cond, #id)\n"
       "#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L\n"
       "#define VARNOK32_ASSERT(cond, id) _Static_assert(cond, #id)\n"
       "#else\n"
       "#define VARNOK32_ASSERT(cond, id) typedef char varnok32_##id[(cond) ? 1 : -1]\n"
       "#endif\n\n"
       "#ifdef __cplusplus\n"
       "extern \"C\" {\n"
       "#endif\n\n"
       "/* The records a VB program passes by reference, with VB's layout: Integers take two\n"
       "   bytes; String slots (BSTR) take four, packed in declaration order, on 32 bits, and\n"
       "   eight, each aligned to eight, on x64 (64-bit VBA aligns every field to its size).\n"
       "   FileAttrib flags are -1 or 0; PathParts fields are replaced by cSplitPath (the old\n"
       "   BSTR freed). */\n"
       "#ifdef _WIN64\n"
       "#pragma pack(push, 8)\n"
       "#else\n"
       "#pragma pack(push, 2)\n"
       "#endif\n";
  for (const Record& r : Records()) {
    o << "typedef struct " << r.name << " {\n";
    for (const Field& f : r.fields) o << "  " << (f.is_string ? "BSTR " : "short ") << f.name << ";\n";
    o << "} " << r.name << ";\n";
  }
  o << "#pragma pack(pop)\n";
  for (int bits : {64, 32}) {
    o << (bits == 64 ? "#ifdef _WIN64\n" : "#else\n");
    for (const Record& r : Records()) {
      std::vector<int> at = Layout(r, bits);
      for (size_t i = 0; i < r.fields.size(); ++i)
        o << "VARNOK32_ASSERT(offsetof(" << r.name << ", " << r.fields[i].name << ") == " << at[i] << ", " << r.name
          << "_" << r.fields[i].name << "_offset);\n";
      o << "VARNOK32_ASSERT(sizeof(" << r.name << ") == " << at.back() << ", " << r.name << "_size);\n";
    }
  }
  o << "#endif\n";
  o << "\n/* Negative results of the functions that process file contents. */\n";
  for (const Constant& c : ResultCodes()) o << "#define " << c.name << " (" << c.value << ")\n";
  o << "\n/* Attribute bits, for cFileSetFlag, cFileResetFlag and cIsFileFlag. */\n";
  for (const Constant& c : AttributeBits()) o << "#define " << c.name << " 0x" << Hex(c.value) << "\n";
  o << "\n";
  for (const Export& e : Exports()) o << CPrototype(e) << "\n";
  o << "\n/* The Unicode twins: for every function cName, cNameW with the same arguments and\n"
       "   result, but with its text in UTF-16. A string argument is a NUL-terminated\n"
       "   const wchar_t* (NULL reads as \"\"); ByRef strings, string arrays, the PathParts\n"
       "   fields and a BSTR result hold UTF-16 BSTRs (SysStringLen counts characters).\n"
       "   Names and paths may use any character and be up to 32,767 UTF-16 units long.\n"
       "   The text that a function looks for or writes into a file's contents (search and\n"
       "   replacement texts, character lists, the lines of a string array file) is turned\n"
       "   into the ANSI code page, so a twin reads and writes a file's bytes as cName does. */\n";
  for (const Export& e : Exports()) o << CTwinPrototype(e) << "\n";
  o << "\n#ifdef __cplusplus\n"
       "}\n"
       "#endif\n\n"
       "#endif /* VARNOK32_H */\n";
  return o.str();
}

// The module-definition file the DLL of one architecture is linked with: every export
// and its Unicode twin (cNameW, the same arguments), in one list sorted as the names
// compare in any letter case. The 32-bit functions are stdcall, decorated name@bytes, and
// each is exported under its plain name; x64 has one calling convention and no
// decoration.
std::string Def(int bits) {
  std::vector<std::pair<std::string, size_t>> entries;  // name, argument count
  for (const Export& e : Exports()) {
    entries.emplace_back(std::string(e.name), e.args.size());
    entries.emplace_back(TwinName(e), e.args.size());
  }
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
    return std::lexicographical_compare(a.first.begin(), a.first.end(), b.first.begin(), b.first.end(),
                                        [](char x, char y) { return tolower(x) < tolower(y); });
  });
  std::ostringstream o;
  if (bits == 32)
    o << "; VARNOK-32.DLL exports: undecorated names for the stdcall functions (name = name@bytes).\n";
  else
    o << "; VARNOK-64.DLL exports: the names of the functions, undecorated on x64.\n";
  o << "LIBRARY \"VARNOK-" << bits << ".DLL\"\nEXPORTS\n";
  for (const auto& [name, count] : entries) {
    o << "    " << name;
    // Every 32-bit argument takes one 4-byte stack slot.
    if (bits == 32) o << " = " << name << "@" << 4 * count;
    o << "\n";
  }
  return o.str();
}

struct Output {
  const char* path;
  std::string text;
};

bool Read(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  text = s.str();
  return true;
}

// ---- The index from export to source file ------------------------------------------------

constexpr char kIndexStart[] = "<!-- export index: written by gen_declarations --write from the sources -->\n";
constexpr char kIndexEnd[] = "<!-- end of the export index -->\n";

// The library's source folders, as CMakeLists.txt lists them in VNK_SUBSYSTEMS.
std::vector<std::string> SourceFolders(const std::string& top, std::string& error) {
  std::string cmake;
  if (!Read(top + "/CMakeLists.txt", cmake)) {
    error = "CMakeLists.txt: missing";
    return {};
  }
  const std::string key = "set(VNK_SUBSYSTEMS ";
  size_t at = cmake.find(key), end = at == std::string::npos ? at : cmake.find(')', at);
  if (end == std::string::npos) {
    error = "CMakeLists.txt does not set VNK_SUBSYSTEMS";
    return {};
  }
  std::istringstream words(cmake.substr(at + key.size(), end - at - key.size()));
  std::vector<std::string> folders;
  for (std::string w; words >> w;) folders.push_back(w);
  return folders;
}

// The DEVELOPERS.md section listing, for every export, the .cpp file that defines it: the
// one holding "__stdcall cName(". An export defined nowhere or in two files is an error,
// reported in `error`.
std::string IndexSection(const std::string& top, std::string& error) {
  std::vector<std::string> folders = SourceFolders(top, error);
  std::vector<std::pair<std::string, std::string>> files;  // path under top, text
  for (const std::string& folder : folders) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(top + "/" + folder, ec)) {
      if (entry.path().extension() != ".cpp") continue;
      std::string text;
      Read(entry.path().string(), text);
      files.emplace_back(folder + "/" + entry.path().filename().string(), text);
    }
  }
  std::sort(files.begin(), files.end());
  std::string rows;
  for (const Export& e : Exports()) {
    std::string needle = "__stdcall " + std::string(e.name) + "(", where;
    for (const auto& [path, text] : files)
      if (text.find(needle) != std::string::npos) where += (where.empty() ? "" : " and ") + path;
    if (where.empty() || where.find(" and ") != std::string::npos)
      error += std::string(e.name) + " is defined in " + (where.empty() ? "no source file" : where) + "\n";
    rows += "| `" + std::string(e.name) + "` | `" + where + "` |\n";
  }
  // The twins are all written by one macro over the table, in one file.
  std::string twins_file;
  for (const auto& [path, text] : files)
    if (text.find("VNK_EXPORTS(VNK_DEFINE_TWIN)") != std::string::npos) twins_file += (twins_file.empty() ? "" : " and ") + path;
  if (twins_file.empty() || twins_file.find(" and ") != std::string::npos)
    error += "the Unicode twins are defined in " + (twins_file.empty() ? std::string("no source file") : twins_file) + "\n";
  return std::string(kIndexStart) + "| Export | Defined in |\n|---|---|\n" + rows +
         "\nEvery export's Unicode twin `cNameW` is defined in `" + twins_file +
         "`, by one macro over the export table.\n" + kIndexEnd;
}

// DEVELOPERS.md with its index section replaced (or added at the end, with a heading,
// when it has none yet).
std::string WithIndex(const std::string& top, std::string& error) {
  std::string doc;
  if (!Read(top + "/DEVELOPERS.md", doc)) {
    error = "DEVELOPERS.md: missing\n";
    return {};
  }
  std::string section = IndexSection(top, error);
  size_t start = doc.find(kIndexStart), end = doc.find(kIndexEnd);
  if (start == std::string::npos || end == std::string::npos || end < start)
    return doc + "\n## Where each export is defined\n" + section;
  return doc.substr(0, start) + section + doc.substr(end + strlen(kIndexEnd));
}

// ---- The reference's table of the twins ---------------------------------------------------

constexpr char kTwinsStart[] = "<!-- twins: written by gen_declarations --write from the export table -->\n";
constexpr char kTwinsEnd[] = "<!-- end of the twins -->\n";

// docs/reference.md with its table of the Unicode twins replaced (or added at the end,
// with a heading, when it has none yet).
std::string WithTwins(const std::string& top, std::string& error) {
  std::string doc;
  if (!Read(top + "/docs/reference.md", doc)) {
    error += "docs/reference.md: missing\n";
    return {};
  }
  std::string section = std::string(kTwinsStart) + "| Function | Unicode twin (C prototype, as in `varnok32.h`) |\n|---|---|\n";
  for (const Export& e : Exports()) section += "| `" + std::string(e.name) + "` | `" + CTwinPrototype(e) + "` |\n";
  section += kTwinsEnd;
  size_t start = doc.find(kTwinsStart), end = doc.find(kTwinsEnd);
  if (start == std::string::npos || end == std::string::npos || end < start)
    return doc + "\n## Unicode twins\n\n" + section;
  return doc.substr(0, start) + section + doc.substr(end + strlen(kTwinsEnd));
}

// Reports the first line where the checked-in file and the table's text part.
bool Same(const std::string& path, const std::string& want) {
  std::string have;
  if (!Read(path, have)) {
    fprintf(stderr, "%s: missing\n", path.c_str());
    return false;
  }
  if (have == want) return true;
  size_t at = 0, line = 1;
  while (at < have.size() && at < want.size() && have[at] == want[at]) {
    if (have[at] == '\n') ++line;
    ++at;
  }
  auto line_at = [](const std::string& s, size_t pos) {
    size_t b = s.rfind('\n', pos == 0 ? 0 : pos - 1);
    b = b == std::string::npos ? 0 : b + 1;
    size_t e = s.find('\n', pos);
    return s.substr(b, e == std::string::npos ? std::string::npos : e - b);
  };
  fprintf(stderr, "%s differs from the export table at line %zu:\n  file:  %s\n  table: %s\n", path.c_str(), line,
          line_at(have, at).c_str(), line_at(want, at).c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || (strcmp(argv[1], "--write") != 0 && strcmp(argv[1], "--check") != 0)) {
    fprintf(stderr, "usage: gen_declarations --write|--check SOURCE_FOLDER\n");
    return 2;
  }
  std::string top = argv[2];
  std::string index_error;
  const Output outputs[] = {{"VARNOK32.BAS", Basic(false)},
                            {"VARNOK.BAS", Basic(true)},
                            {"VARNOKW.BAS", BasicWide()},
                            {"include/varnok32.h", Header()},
                            {"VARNOK-32.def", Def(32)},
                            {"VARNOK-64.def", Def(64)},
                            {"DEVELOPERS.md", WithIndex(top, index_error)},
                            {"docs/reference.md", WithTwins(top, index_error)}};
  bool ok = index_error.empty();
  if (!ok) fprintf(stderr, "%s", index_error.c_str());
  for (const Output& out : outputs) {
    if (!ok && strcmp(argv[1], "--write") == 0) break;
    std::string path = top + "/" + out.path;
    if (strcmp(argv[1], "--write") == 0) {
      std::ofstream f(path, std::ios::binary);
      f << out.text;
      ok = ok && static_cast<bool>(f);
      if (!f) fprintf(stderr, "%s: cannot write\n", path.c_str());
    } else if (!Same(path, out.text)) {
      ok = false;
    }
  }
  if (!ok && strcmp(argv[1], "--check") == 0)
    fprintf(stderr, "run gen_declarations --write on the source folder to bring the files up to date\n");
  else if (ok)
    printf("%d exports: VARNOK32.BAS, VARNOK.BAS, VARNOKW.BAS, include/varnok32.h, VARNOK-32.def, VARNOK-64.def, the index in DEVELOPERS.md and the twins in docs/reference.md %s\n",
           vnk::kExportCount, strcmp(argv[1], "--write") == 0 ? "written" : "match the export table");
  return ok ? 0 : 1;
}
