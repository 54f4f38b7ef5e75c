// vnkcall.exe: calls any export of VARNOK-32.DLL by name with arguments from the command
// line, converted to the host's kinds from the export table, and prints the result and
// every ByRef output. This is how a person tries the library from a shell:
//   vnkcall cFileCopy a.txt b.txt        prints the byte count
//   vnkcall cUniqueFileName ""           prints the name
// Argument forms: String and ByRef String as given; Integer, Long, ByRef Long and ByRef
// Double as numbers (a ByRef argument's text is its value going in); FileAttrib as eight
// comma-separated Integers or "-"; PathParts as "-"; a String array as "#N" (N empty
// elements) or elements separated by "|"; an array of numbers as "I:1,2,3" (Integer),
// "L:..." (Long), "D:..." (Double) or "I#N" (N zeros).
#include <windows.h>
#include <oleauto.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "frame/boundary.h"
#include "tools/declarations.h"

namespace {

using namespace vnk;

void PrintBytes(BSTR b) {
  if (b != nullptr) fwrite(b, 1, SysStringByteLen(b), stdout);
}

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t at = s.find(sep, start);
    parts.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
    if (at == std::string::npos) return parts;
    start = at + 1;
  }
}

// One argument of each kind: built from its text, passed, then printed if it is an output.
template <class K>
struct Arg;

template <>
struct Arg<kind::Str> {
  const char* text;
  explicit Arg(const char* t) : text(t) {}
  const char* pass() { return text; }
  void report(int) {}
};

template <>
struct Arg<kind::StrRef> {
  BSTR b;
  explicit Arg(const char* t) : b(SysAllocStringByteLen(t, static_cast<UINT>(strlen(t)))) {}
  ~Arg() { SysFreeString(b); }
  BSTR* pass() { return &b; }
  void report(int i) {
    printf("arg%d = ", i);
    PrintBytes(b);
    printf("\n");
  }
};

template <>
struct Arg<kind::Int> {
  int v;
  explicit Arg(const char* t) : v(atoi(t)) {}
  HostInt pass() { return HostInt(v); }
  void report(int) {}
};

template <>
struct Arg<kind::Long> {
  int32_t v;
  explicit Arg(const char* t) : v(static_cast<int32_t>(strtol(t, nullptr, 0))) {}
  int32_t pass() { return v; }
  void report(int) {}
};

template <>
struct Arg<kind::LongRef> {
  int32_t v;
  explicit Arg(const char* t) : v(static_cast<int32_t>(strtol(t, nullptr, 0))) {}
  int32_t* pass() { return &v; }
  void report(int i) { printf("arg%d = %ld\n", i, static_cast<long>(v)); }
};

template <>
struct Arg<kind::DoubleRef> {
  double v;
  explicit Arg(const char* t) : v(atof(t)) {}
  double* pass() { return &v; }
  void report(int i) { printf("arg%d = %.17g\n", i, v); }
};

template <>
struct Arg<kind::FileAttribRef> {
  FileAttrib rec{};
  explicit Arg(const char* t) {
    if (strcmp(t, "-") == 0) return;
    auto fields = Split(t, ',');
    int16_t* f = &rec.Status;
    for (size_t i = 0; i < fields.size() && i < 8; ++i) f[i] = static_cast<int16_t>(atoi(fields[i].c_str()));
  }
  FileAttrib* pass() { return &rec; }
  void report(int i) {
    printf("arg%d = Status %d Archive %d Hidden %d Normal %d ReadOnly %d SubDir %d System %d Compressed %d\n", i,
           rec.Status, rec.Archive, rec.Hidden, rec.Normal, rec.ReadOnly, rec.SubDir, rec.System, rec.Compressed);
  }
};

template <>
struct Arg<kind::PathPartsRef> {
  PathParts rec{};
  explicit Arg(const char*) {}
  ~Arg() {
    SysFreeString(rec.Drive);
    SysFreeString(rec.Directory);
    SysFreeString(rec.FileName);
    SysFreeString(rec.Extension);
  }
  PathParts* pass() { return &rec; }
  void report(int i) {
    const char* names[] = {"Drive", "Directory", "FileName", "Extension"};
    BSTR fields[] = {rec.Drive, rec.Directory, rec.FileName, rec.Extension};
    for (int k = 0; k < 4; ++k) {
      printf("arg%d.%s = ", i, names[k]);
      PrintBytes(fields[k]);
      printf("\n");
    }
  }
};

template <>
struct Arg<kind::StrArray> {
  SAFEARRAY* sa = nullptr;
  explicit Arg(const char* t) {
    std::vector<std::string> items;
    if (t[0] == '#')
      items.assign(static_cast<size_t>(atoi(t + 1)), std::string());
    else
      items = Split(t, '|');
    SAFEARRAYBOUND bound{static_cast<ULONG>(items.size()), 1};
    sa = SafeArrayCreate(VT_BSTR, 1, &bound);
    for (LONG k = 0; k < static_cast<LONG>(items.size()); ++k) {
      LONG index = k + 1;
      BSTR b = SysAllocStringByteLen(items[k].data(), static_cast<UINT>(items[k].size()));
      SafeArrayPutElement(sa, &index, b);
      SysFreeString(b);
    }
  }
  ~Arg() { SafeArrayDestroy(sa); }
  SAFEARRAY** pass() { return &sa; }
  void report(int i) {
    LONG lo = 0, hi = -1;
    SafeArrayGetLBound(sa, 1, &lo);
    SafeArrayGetUBound(sa, 1, &hi);
    for (LONG k = lo; k <= hi; ++k) {
      BSTR b = nullptr;
      SafeArrayGetElement(sa, &k, &b);
      printf("arg%d(%ld) = ", i, static_cast<long>(k));
      PrintBytes(b);
      printf("\n");
      SysFreeString(b);
    }
  }
};

template <>
struct Arg<kind::AnyArray> {
  SAFEARRAY* sa = nullptr;
  VARTYPE vt = VT_I2;
  explicit Arg(const char* t) {
    vt = t[0] == 'L' ? VT_I4 : t[0] == 'D' ? VT_R8 : VT_I2;
    std::vector<double> values;
    if (t[0] != '\0' && t[1] == '#')
      values.assign(static_cast<size_t>(atoi(t + 2)), 0.0);
    else if (t[0] != '\0' && t[1] == ':')
      for (auto& v : Split(t + 2, ',')) values.push_back(atof(v.c_str()));
    SAFEARRAYBOUND bound{static_cast<ULONG>(values.size()), 0};
    sa = SafeArrayCreate(vt, 1, &bound);
    for (LONG k = 0; k < static_cast<LONG>(values.size()); ++k) Put(k, values[k]);
  }
  void Put(LONG k, double v) {
    if (vt == VT_I2) { int16_t x = static_cast<int16_t>(v); SafeArrayPutElement(sa, &k, &x); }
    else if (vt == VT_I4) { int32_t x = static_cast<int32_t>(v); SafeArrayPutElement(sa, &k, &x); }
    else SafeArrayPutElement(sa, &k, &v);
  }
  ~Arg() { SafeArrayDestroy(sa); }
  SAFEARRAY** pass() { return &sa; }
  void report(int i) {
    LONG lo = 0, hi = -1;
    SafeArrayGetLBound(sa, 1, &lo);
    SafeArrayGetUBound(sa, 1, &hi);
    printf("arg%d =", i);
    for (LONG k = lo; k <= hi; ++k) {
      double v = 0;
      if (vt == VT_I2) { int16_t x; SafeArrayGetElement(sa, &k, &x); v = x; }
      else if (vt == VT_I4) { int32_t x; SafeArrayGetElement(sa, &k, &x); v = x; }
      else SafeArrayGetElement(sa, &k, &v);
      printf(" %.17g", v);
    }
    printf("\n");
  }
};

template <class R>
void PrintResult(typename R::ret r) {
  if constexpr (R::id == kind::Id::Int) printf("%d\n", static_cast<int16_t>(r));
  else if constexpr (R::id == kind::Id::Long) printf("%ld\n", static_cast<long>(r));
  else if constexpr (R::id == kind::Id::Double) printf("%.17g\n", r);
  else {
    PrintBytes(r);
    printf("\n");
    SysFreeString(r);
  }
}

template <class R, class... A, size_t... I>
int Invoke(FARPROC proc, char** argv, std::index_sequence<I...>) {
  // Each argument is built in its place: an Arg owns what it passes (a string, an array)
  // and must never be copied, or the copy would pass what the original already freed.
  std::tuple<Arg<A>...> args{argv[I]...};
  auto fn = reinterpret_cast<typename Sig<R, A...>::call>(reinterpret_cast<void*>(proc));
  PrintResult<R>(fn(std::get<I>(args).pass()...));
  (std::get<I>(args).report(static_cast<int>(I) + 1), ...);
  return 0;
}

template <class R, class... A>
int Call(Sig<R, A...>*, FARPROC proc, int argc, char** argv) {
  if (argc != static_cast<int>(sizeof...(A))) return -1;
  return Invoke<R, A...>(proc, argv, std::index_sequence_for<A...>{});
}

// The VB declaration of one export, as VARNOK32.BAS has it.
void Describe(FILE* to, const char* name) {
  for (const auto& e : declarations::Exports())
    if (e.name == name) fprintf(to, "%s\n", declarations::VbDeclare(e).c_str());
}

void Usage(FILE* to) {
  fprintf(to,
          "usage: vnkcall EXPORT [ARGUMENT...]    call an export and print its result and ByRef outputs\n"
          "       vnkcall --help [EXPORT]         the VB declarations of all exports, or of one\n");
  if (to != stdout) {
    fprintf(to, "  (vnkcall --help lists the exports)\n");
    return;
  }
  fprintf(to,
          "arguments, one per parameter in order:\n"
          "  String, ByRef String       the text (\"\" for an empty string)\n"
          "  Integer, Long              a number (Long also 0x...)\n"
          "  ByRef Long, ByRef Double   a number, the value going in\n"
          "  FileAttrib                 eight Integers separated by commas, or - for zeros\n"
          "  PathParts                  -\n"
          "  x() As String              elements separated by |, or #N for N empty elements\n"
          "  x() As Any                 I:1,2,3 (Integer), L:... (Long), D:... (Double), or I#N, L#N, D#N\n"
          "exports (VB declarations, as in VARNOK32.BAS):\n");
  for (const auto& e : declarations::Exports()) fprintf(to, "%s\n", declarations::VbDeclare(e).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  // Results are printed as their exact bytes: a String result may hold CR or LF of its
  // own, and scripts compare what comes out.
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc < 2) {
    Usage(stderr);
    return 2;
  }
  if (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0) {
    if (argc == 3) {
      for (const auto& e : declarations::Exports())
        if (e.name == argv[2]) {
          Describe(stdout, argv[2]);
          return 0;
        }
      fprintf(stderr, "vnkcall: unknown export %s\n", argv[2]);
      return 2;
    }
    Usage(stdout);
    return 0;
  }
  HMODULE dll = LoadLibraryA("VARNOK-32.DLL");
  if (dll == nullptr) {
    fprintf(stderr, "vnkcall: VARNOK-32.DLL could not be loaded (error %lu)\n", GetLastError());
    return 3;
  }
  const char* name = argv[1];
#define VNK_DISPATCH(export_name, R, ...)                                                              \
  if (strcmp(name, #export_name) == 0) {                                                              \
    FARPROC proc = GetProcAddress(dll, #export_name);                                                 \
    if (proc == nullptr) {                                                                            \
      fprintf(stderr, "vnkcall: %s is not exported by this build of VARNOK-32.DLL\n", name);          \
      return 3;                                                                                       \
    }                                                                                                 \
    int rc = Call(static_cast<vnk::decl::export_name*>(nullptr), proc, argc - 2, argv + 2);           \
    if (rc < 0) {                                                                                     \
      fprintf(stderr, "vnkcall: %s takes %d argument(s), %d given\n", name,                           \
              vnk::decl::export_name::arg_count, argc - 2);                                           \
      Describe(stderr, #export_name);                                                                 \
      return 2;                                                                                       \
    }                                                                                                 \
    fflush(stdout);                                                                                   \
    return rc;                                                                                        \
  }
  VNK_EXPORTS(VNK_DISPATCH)
#undef VNK_DISPATCH
  fprintf(stderr, "vnkcall: unknown export %s\n", name);
  Usage(stderr);
  return 2;
}
