// The library's declarations as the programs that call it see them: the VB 4.0 and VBA 7
// declarations modules, the C header and vnkcall's --help are all written from this one
// model, which is built from the export table (kinds and names).
// Plain C++ with no Windows header, so that it builds natively (the generator) and for
// Windows (vnkcall.exe) alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "frame/export_table.h"
#include "frame/result_codes.h"

namespace vnk::declarations {

// The argument names of every export, in argument order: vnkcall labels its outputs and
// messages with them.
namespace names {
#define VNK_ARGUMENT_NAME(kind, name) #name
#define VNK_NAMES(name, R, ...) inline constexpr const char* name[] = {VNK_EACH_ARGUMENT(VNK_ARGUMENT_NAME, __VA_ARGS__)};
VNK_EXPORTS(VNK_NAMES)
#undef VNK_NAMES
#undef VNK_ARGUMENT_NAME
}  // namespace names

struct Argument {
  Kind kind;
  std::string_view name;
};

struct Export {
  std::string_view name;
  Kind result;
  std::vector<Argument> args;
};

// All exports, in the table's (alphabetical) order.
inline std::vector<Export> Exports() {
  std::vector<Export> all;
#define VNK_ARGUMENT(kind, name) Argument{Kind::kind, #name}
#define VNK_COLLECT(name, R, ...) all.push_back({#name, Kind::R, {VNK_EACH_ARGUMENT(VNK_ARGUMENT, __VA_ARGS__)}});
  VNK_EXPORTS(VNK_COLLECT)
#undef VNK_COLLECT
#undef VNK_ARGUMENT
  return all;
}

// The name of an export's Unicode twin: the same arguments, its Strings in UTF-16.
inline std::string TwinName(const Export& e) { return std::string(e.name) + "W"; }

// The kind an argument is declared with: text of a file's contents is a String like
// any other in every declaration of an ANSI export.
inline Kind Declared(Kind k) {
  switch (k) {
    case Kind::Text: return Kind::Str;
    case Kind::TextRef: return Kind::StrRef;
    case Kind::TextArray: return Kind::StrArray;
    default: return k;
  }
}

// ---- VB ----------------------------------------------------------------------------

inline std::string VbArgument(const Argument& a) {
  std::string n(a.name);
  switch (Declared(a.kind)) {
    case Kind::Str: return "ByVal " + n + " As String";
    case Kind::StrRef: return n + " As String";
    case Kind::Int: return "ByVal " + n + " As Integer";
    case Kind::Long: return "ByVal " + n + " As Long";
    case Kind::LongRef: return n + " As Long";
    case Kind::DoubleRef: return n + " As Double";
    case Kind::FileAttribRef: return n + " As FileAttrib";
    case Kind::PathPartsRef: return n + " As PathParts";
    case Kind::StrArray: return n + "() As String";
    case Kind::AnyArray: return n + "() As Any";
    default: return n;
  }
}

inline const char* VbResult(Kind k) {
  switch (k) {
    case Kind::Int: return "Integer";
    case Kind::Long: return "Long";
    case Kind::Double: return "Double";
    default: return "String";
  }
}

// The declaration of one export for the DLL named lib. VBA 7 (Office 2010 and later)
// wants ptr_safe, "Declare PtrSafe", from 64-bit Office and accepts it from 32-bit
// Office; older VB does not know the word. The arguments are the same for both DLLs:
// Integers stay 16 bits and Longs 32 bits, and no argument is a bare pointer.
inline std::string VbDeclare(const Export& e, std::string_view lib = "VARNOK-32.DLL", bool ptr_safe = false) {
  std::string s = std::string(ptr_safe ? "Declare PtrSafe Function " : "Declare Function ") + std::string(e.name) +
                  " Lib \"" + std::string(lib) + "\" (";
  for (size_t i = 0; i < e.args.size(); ++i) s += (i ? ", " : "") + VbArgument(e.args[i]);
  return s + ") As " + VbResult(e.result);
}

// ---- C -----------------------------------------------------------------------------

inline const char* CType(Kind k) {
  switch (Declared(k)) {
    case Kind::Str: return "const char*";
    case Kind::StrRef: return "BSTR*";
    case Kind::Int: return "short";
    case Kind::Long: return "long";
    case Kind::LongRef: return "long*";
    case Kind::DoubleRef: return "double*";
    case Kind::FileAttribRef: return "FileAttrib*";
    case Kind::PathPartsRef: return "PathParts*";
    case Kind::StrArray:
    case Kind::AnyArray: return "SAFEARRAY**";
    case Kind::Double: return "double";
    case Kind::String: return "BSTR";
    case Kind::Text:
    case Kind::TextRef:
    case Kind::TextArray: break;  // Declared() has mapped these
  }
  return "?";
}

inline std::string CPrototype(const Export& e) {
  std::string s = std::string(CType(e.result)) + " VARNOK32_API " + std::string(e.name) + "(";
  for (size_t i = 0; i < e.args.size(); ++i) s += (i ? ", " : "") + std::string(CType(e.args[i].kind)) + " " + std::string(e.args[i].name);
  return s + ");";
}

// The twin's C type: a ByVal String is UTF-16 text, NUL-terminated (null for an empty
// string); every other kind is written as for the export, its strings UTF-16 BSTRs.
inline const char* CTwinType(Kind k) { return Declared(k) == Kind::Str ? "const wchar_t*" : CType(k); }

inline std::string CTwinPrototype(const Export& e) {
  std::string s = std::string(CType(e.result)) + " VARNOK32_API " + TwinName(e) + "(";
  for (size_t i = 0; i < e.args.size(); ++i) s += (i ? ", " : "") + std::string(CTwinType(e.args[i].kind)) + " " + std::string(e.args[i].name);
  return s + ");";
}

// ---- Records and constants ------------------------------------------------------------

// The two VB user-defined types, field by field in declaration order. Integers take two
// bytes; a String slot takes a pointer's size, four bytes packed on 32 bits, eight on
// x64 aligned to eight (64-bit VBA aligns each field to its own size).
struct Field {
  const char* name;
  bool is_string;
};
struct Record {
  const char* name;
  std::vector<Field> fields;
};

// Offsets of a record's fields for a 32- or 64-bit caller, then its size (last).
inline std::vector<int> Layout(const Record& r, int bits) {
  std::vector<int> at;
  int offset = 0, align = 2;
  for (const Field& f : r.fields) {
    int size = f.is_string ? bits / 8 : 2;
    if (bits == 64) {
      offset = (offset + size - 1) / size * size;
      if (size > align) align = size;
    }
    at.push_back(offset);
    offset += size;
  }
  at.push_back((offset + align - 1) / align * align);
  return at;
}
inline std::vector<Record> Records() {
  return {
      {"FileAttrib",
       {{"Status", false}, {"Archive", false}, {"Hidden", false}, {"Normal", false},
        {"ReadOnly", false}, {"SubDir", false}, {"System", false}, {"Compressed", false}}},
      {"PathParts", {{"Drive", true}, {"Directory", true}, {"FileName", true}, {"Extension", true}}},
  };
}

struct Constant {
  const char* name;
  int32_t value;
  bool hex;
  const char* meaning;
};
inline std::vector<Constant> ResultCodes() {
  return {
      {"RC_NO_MEMORY", RC_NO_MEMORY, false, "the (first) work buffer could not be allocated"},
      {"RC_NO_MEMORY_SECOND", RC_NO_MEMORY_SECOND, false, "the second work buffer could not be allocated"},
      {"RC_CANT_OPEN_FIRST", RC_CANT_OPEN_FIRST, false, "the first file could not be opened"},
      {"RC_CANT_OPEN_SECOND", RC_CANT_OPEN_SECOND, false, "the second file could not be opened"},
      {"RC_CANT_OPEN_THIRD", RC_CANT_OPEN_THIRD, false, "the third file could not be opened"},
      {"RC_READ_FAILED", RC_READ_FAILED, false, "reading the (first) input failed"},
      {"RC_READ_FAILED_SECOND", RC_READ_FAILED_SECOND, false, "reading the second input failed"},
      {"RC_WRITE_FAILED", RC_WRITE_FAILED, false, "writing the output failed"},
      {"RC_WRITE_SHORT", RC_WRITE_SHORT, false, "a write stored fewer bytes than it was given"},
      {"RC_WRITE_SHORT_SECOND", RC_WRITE_SHORT_SECOND, false, "the same, while copying the second input"},
      {"RC_ROOT_REFUSED", RC_ROOT_REFUSED, false, "a tree deletion refused a drive's or share's root"},
  };
}
inline std::vector<Constant> AttributeBits() {
  return {
      {"ATTR_READONLY", ATTR_READONLY, true, "read-only"},
      {"ATTR_HIDDEN", ATTR_HIDDEN, true, "hidden"},
      {"ATTR_SYSTEM", ATTR_SYSTEM, true, "system"},
      {"ATTR_DIRECTORY", ATTR_DIRECTORY, true, "folder"},
      {"ATTR_ARCHIVE", ATTR_ARCHIVE, true, "archive"},
      {"ATTR_NORMAL", ATTR_NORMAL, true, "normal (no other attribute)"},
      {"ATTR_TEMPORARY", ATTR_TEMPORARY, true, "temporary"},
      {"ATTR_COMPRESSED", ATTR_COMPRESSED, true, "compressed"},
  };
}

}  // namespace vnk::declarations
