// The kinds that cross the boundary between a VB program and the library, and the
// declarations of all exports generated from frame/export_table.h. Every file that
// defines an export includes this header, so a definition whose signature differs from
// the table does not compile.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "frame/export_table.h"

namespace vnk {

// The file a caller of this architecture loads: a 64-bit process can load only the
// 64-bit build of the library, a 32-bit one only the 32-bit build.
#ifdef _WIN64
#define VNK_DLL_NAME "VARNOK-64.DLL"
#else
#define VNK_DLL_NAME "VARNOK-32.DLL"
#endif

// VB user-defined types arrive by reference with VB's own layout. 32-bit VB packs the
// fields in declaration order, Integers two bytes and String slots four; 64-bit VBA
// aligns each field to its own size, so a String slot (a pointer) takes eight bytes at
// an offset that is a multiple of eight. FileAttrib, all Integers, is the same on both.
#ifdef _WIN64
#pragma pack(push, 8)
#else
#pragma pack(push, 2)
#endif
struct FileAttrib {
  int16_t Status;
  int16_t Archive;
  int16_t Hidden;
  int16_t Normal;
  int16_t ReadOnly;
  int16_t SubDir;
  int16_t System;
  int16_t Compressed;
};
struct PathParts {
  BSTR Drive;
  BSTR Directory;
  BSTR FileName;
  BSTR Extension;
};
#pragma pack(pop)
static_assert(sizeof(FileAttrib) == 16 && offsetof(FileAttrib, Compressed) == 14);
static_assert(offsetof(FileAttrib, ReadOnly) == 8 && offsetof(FileAttrib, System) == 12);
#ifdef _WIN64
static_assert(sizeof(PathParts) == 32 && offsetof(PathParts, Directory) == 8 && offsetof(PathParts, Extension) == 24);
#else
static_assert(sizeof(PathParts) == 16 && offsetof(PathParts, Directory) == 4 && offsetof(PathParts, Extension) == 12);
#endif

// An Integer argument as a caller passes it: a 4-byte stack slot on 32 bits, a 64-bit
// register on x64, of which only the low 16 bits are the value. Callers built from this
// header (the test bench) fill the rest with junk, as VB may, to prove that the library
// never reads it. A Long on x64 likewise arrives in a register whose upper half is not
// defined.
struct HostInt {
#ifdef _WIN64
  uint64_t slot;
  HostInt(int v) : slot(0xA5A5A5A55A5A0000ull | static_cast<uint16_t>(v)) {}
#else
  uint32_t slot;
  HostInt(int v) : slot(0xA5A50000u | static_cast<uint16_t>(v)) {}
#endif
};
static_assert(sizeof(HostInt) == sizeof(void*));

#ifdef _WIN64
struct HostLong {
  uint64_t slot;
  HostLong(int32_t v) : slot(0x5A5AA5A500000000ull | static_cast<uint32_t>(v)) {}
};
#else
using HostLong = int32_t;
#endif
static_assert(sizeof(HostLong) == sizeof(void*));

// A ByVal String argument as the library reads it. VB passes a null pointer for
// vbNullString and for a String variable never assigned; every export reads that as "",
// with exactly the result "" gives. The wrapper has a pointer's size and is trivially
// copyable, so it crosses the stack (or a register) exactly as the pointer does.
class StrArg {
 public:
  operator const char*() const { return p_ != nullptr ? p_ : ""; }
  const char* c_str() const { return *this; }
  // The argument a Unicode twin passes on, its text converted.
  static StrArg Of(const char* p) {
    StrArg a;
    a.p_ = p;
    return a;
  }

 private:
  const char* p_;
};
static_assert(sizeof(StrArg) == sizeof(const char*) && std::is_trivially_copyable_v<StrArg>);

namespace kind {
// `impl` is the type the library's definition uses, `call` the type a caller passes,
// `ret` the type a caller receives when the kind is a result. `twin` is the type of the
// same argument in the export's Unicode twin (cNameW): a String there is UTF-16, passed
// as VB's StrPtr gives it (a NUL-terminated `const wchar_t*`, null for vbNullString), and
// ByRef Strings, String arrays and records hold UTF-16 BSTRs. Kinds without strings are
// the same in both.
struct Str { static constexpr Kind id = Kind::Str; using impl = StrArg; using call = const char*; using twin = const wchar_t*; };
struct StrRef { static constexpr Kind id = Kind::StrRef; using impl = BSTR*; using call = BSTR*; using twin = BSTR*; };
struct Int { static constexpr Kind id = Kind::Int; using impl = int16_t; using call = HostInt; using ret = uint32_t; using twin = int16_t; };
struct Long { static constexpr Kind id = Kind::Long; using impl = int32_t; using call = HostLong; using ret = int32_t; using twin = int32_t; };
struct LongRef { static constexpr Kind id = Kind::LongRef; using impl = int32_t*; using call = int32_t*; using twin = int32_t*; };
struct DoubleRef { static constexpr Kind id = Kind::DoubleRef; using impl = double*; using call = double*; using twin = double*; };
struct FileAttribRef { static constexpr Kind id = Kind::FileAttribRef; using impl = FileAttrib*; using call = FileAttrib*; using twin = FileAttrib*; };
struct PathPartsRef { static constexpr Kind id = Kind::PathPartsRef; using impl = PathParts*; using call = PathParts*; using twin = PathParts*; };
struct StrArray { static constexpr Kind id = Kind::StrArray; using impl = SAFEARRAY**; using call = SAFEARRAY**; using twin = SAFEARRAY**; };
struct AnyArray { static constexpr Kind id = Kind::AnyArray; using impl = SAFEARRAY**; using call = SAFEARRAY**; using twin = SAFEARRAY**; };
struct Double { static constexpr Kind id = Kind::Double; using impl = double; using ret = double; using twin = double; };
struct String { static constexpr Kind id = Kind::String; using impl = BSTR; using ret = BSTR; using twin = BSTR; };
// Text of a file's contents: the same C types as Str, StrRef and StrArray.
struct Text : Str { static constexpr Kind id = Kind::Text; };
struct TextRef : StrRef { static constexpr Kind id = Kind::TextRef; };
struct TextArray : StrArray { static constexpr Kind id = Kind::TextArray; };
}  // namespace kind

template <class R, class... A>
struct Sig {
  using impl = typename R::impl __attribute__((stdcall))(typename A::impl...);
  using call = typename R::ret(__attribute__((stdcall)) *)(typename A::call...);
  using twin = typename R::twin __attribute__((stdcall))(typename A::twin...);
  using twin_call = typename R::ret(__attribute__((stdcall)) *)(typename A::twin...);
  using result = R;
  static constexpr int arg_count = sizeof...(A);
  static constexpr int arg_bytes = 4 * sizeof...(A);
  static constexpr Kind args[sizeof...(A)] = {A::id...};
};

namespace decl {
using namespace vnk::kind;
// The ANSI exports declare text of a file's contents as they declare any String: only
// the twins (frame/twins.cpp) tell the two apart, from the kinds themselves.
using Text = kind::Str;
using TextRef = kind::StrRef;
using TextArray = kind::StrArray;
#define VNK_ARGUMENT_TYPE(kind, name) kind
#define VNK_SIGNATURE(name, R, ...) using name = Sig<R __VA_OPT__(, VNK_EACH_ARGUMENT(VNK_ARGUMENT_TYPE, __VA_ARGS__))>;
VNK_EXPORTS(VNK_SIGNATURE)
#undef VNK_SIGNATURE
#undef VNK_ARGUMENT_TYPE
}  // namespace decl

}  // namespace vnk

// Every export has at least one String argument, so every export has its Unicode twin.
#define VNK_DECLARE_EXPORT(name, R, ...) extern "C" vnk::decl::name::impl name; extern "C" vnk::decl::name::twin name##W;
VNK_EXPORTS(VNK_DECLARE_EXPORT)
#undef VNK_DECLARE_EXPORT
