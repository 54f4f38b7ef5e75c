// gen_declarations: writes the declarations that programs calling the library use,
// VARNOK32.BAS (VB 4.0), VARNOK.BAS (VBA 7, 64-bit and 32-bit Office) and
// include/varnok32.h (C and C++), and the module-definition files the DLLs are linked
// with, VARNOK-32.def and VARNOK-64.def, from tools/declarations.h; and the index in
// DEVELOPERS.md of the source file that defines each export, from the sources.
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

std::string Hex(int32_t v) {
  char buf[16];
  snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(v));
  return buf;
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
  o << "\n' cArrayOnDisk saves and loads an array of any fixed-size elements: Integer,\n"
       "' Long, Single, Double, Currency, or a Type made only of such fields.\n";
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
  std::string lf = o.str(), crlf;
  for (char ch : lf) {
    if (ch == '\n') crlf += '\r';
    crlf += ch;
  }
  return crlf;
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
  return std::string(kIndexStart) + "| Export | Defined in |\n|---|---|\n" + rows + kIndexEnd;
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
                            {"include/varnok32.h", Header()},
                            {"VARNOK-32.def", Def(32)},
                            {"VARNOK-64.def", Def(64)},
                            {"DEVELOPERS.md", WithIndex(top, index_error)}};
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
    printf("%d exports: VARNOK32.BAS, VARNOK.BAS, include/varnok32.h, VARNOK-32.def, VARNOK-64.def and the index in DEVELOPERS.md %s\n",
           vnk::kExportCount, strcmp(argv[1], "--write") == 0 ? "written" : "match the export table");
  return ok ? 0 : 1;
}
