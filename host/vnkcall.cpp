// vnkcall.exe: calls any export of VARNOK-32.DLL (VARNOK-64.DLL when built for x64) by
// name with arguments from the command line, converted to the host's kinds from the
// export table, and prints the result and every ByRef output under its argument's name.
// This is how a person tries the library from a shell:
//   vnkcall cFileCopy a.txt b.txt        prints the byte count
//   vnkcall cUniqueFileName ""           prints the name, then Prefix = ...
// Argument forms: String as given; ByRef String as given, with the escapes \\, \0 and
// \xNN; Integer, Long, ByRef Long as whole numbers (decimal, or hexadecimal with 0x), ByRef
// Double as a number (a ByRef argument's text is its value going in); FileAttrib as eight
// comma-separated Integers or "-"; PathParts as "-"; a String array as "#N" (N empty
// elements) or elements separated by "|"; an array of numbers as "I:1,2,3" (Integer),
// "L:..." (Long), "D:..." (Double) or "I#N" (N zeros). A malformed number is an error
// (exit status 2), never read as 0.
#include <windows.h>
#include <oleauto.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "frame/ascii_kernel.h"
#include "frame/boundary.h"
#include "host/host_args.h"
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

// One command-line argument: its text, and the name the declaration gives it (messages
// and outputs are labelled with it).
struct ArgText {
  const char* text;
  const char* name;
};

[[noreturn]] void BadArgument(const ArgText& a, const char* what) {
  fprintf(stderr, "vnkcall: %s: \"%s\" is not %s\n", a.name, a.text, what);
  exit(2);
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The whole text as a whole number of `bits` bits: decimal with an optional sign, or
// hexadecimal after 0x, where 0x8000 to 0xFFFF (or 0xFFFFFFFF for a Long) is the bit
// pattern, as VB's &H literals read. A leading 0 is still decimal: 030 is thirty.
bool ParseWhole(const char* t, int bits, int32_t* out) {
  const char* p = t;
  bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  int base = 10;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    base = 16;
    p += 2;
  }
  if (*p == '\0') return false;
  uint64_t v = 0;
  for (; *p != '\0'; ++p) {
    int d = DigitValue(*p);
    if (d < 0 || d >= base) return false;
    v = v * base + d;
    if (v > 0xFFFFFFFFu) return false;
  }
  const int64_t span = int64_t(1) << bits, high = span / 2 - 1, low = -span / 2;
  int64_t value = negative ? -int64_t(v) : int64_t(v);
  if (base == 16 && !negative && value > high && value < span) value -= span;
  if (value < low || value > high) return false;
  *out = static_cast<int32_t>(value);
  return true;
}

int32_t Whole(const ArgText& a, const char* text, int bits) {
  int32_t v = 0;
  if (!ParseWhole(text, bits, &v))
    BadArgument(a, bits == 16 ? "an Integer (decimal, or hexadecimal with 0x; -32768 to 32767)"
                              : "a Long (decimal, or hexadecimal with 0x; -2147483648 to 2147483647)");
  return v;
}

double Real(const ArgText& a, const char* text) {
  char* end = nullptr;
  double v = strtod(text, &end);
  if (text[0] == '\0' || text[0] == ' ' || text[0] == '\t' || *end != '\0') BadArgument(a, "a number");
  return v;
}

// The N of "#N": how many elements an array argument gets.
size_t Count(const ArgText& a, const char* text) {
  int32_t n = 0;
  if (!ParseWhole(text, 32, &n) || n < 0 || n > 1048576) BadArgument(a, "an element count #N (N from 0 to 1048576)");
  return static_cast<size_t>(n);
}

// A ByRef String may hold any byte: \\ is a backslash, \0 a NUL and \xNN the byte NN.
std::string Unescape(const ArgText& a) {
  std::string out;
  for (const char* p = a.text; *p != '\0'; ++p) {
    if (*p != '\\') {
      out += *p;
    } else if (p[1] == '\\' || p[1] == '0') {
      out += p[1] == '0' ? '\0' : '\\';
      ++p;
    } else if (p[1] == 'x' && DigitValue(p[2]) >= 0 && DigitValue(p[3]) >= 0) {
      out += static_cast<char>(DigitValue(p[2]) * 16 + DigitValue(p[3]));
      p += 3;
    } else {
      BadArgument(a, "a ByRef String (a backslash starts \\\\, \\0 or \\xNN)");
    }
  }
  return out;
}

// One argument of each kind: built from its text, passed, then printed if it is an output.
template <class K>
struct Arg;

template <>
struct Arg<kind::Str> {
  const char* text;
  explicit Arg(const ArgText& a) : text(a.text) {}
  const char* pass() { return text; }
  void report(const char*) {}
};

template <>
struct Arg<kind::StrRef> {
  BSTR b;
  explicit Arg(const ArgText& a) {
    std::string bytes = Unescape(a);
    b = SysAllocStringByteLen(bytes.data(), static_cast<UINT>(bytes.size()));
  }
  ~Arg() { SysFreeString(b); }
  BSTR* pass() { return &b; }
  void report(const char* name) {
    printf("%s = ", name);
    PrintBytes(b);
    printf("\n");
  }
};

template <>
struct Arg<kind::Int> {
  int32_t v;
  explicit Arg(const ArgText& a) : v(Whole(a, a.text, 16)) {}
  HostInt pass() { return HostInt(v); }
  void report(const char*) {}
};

template <>
struct Arg<kind::Long> {
  int32_t v;
  explicit Arg(const ArgText& a) : v(Whole(a, a.text, 32)) {}
  int32_t pass() { return v; }
  void report(const char*) {}
};

template <>
struct Arg<kind::LongRef> {
  int32_t v;
  explicit Arg(const ArgText& a) : v(Whole(a, a.text, 32)) {}
  int32_t* pass() { return &v; }
  void report(const char* name) { printf("%s = %ld\n", name, static_cast<long>(v)); }
};

template <>
struct Arg<kind::DoubleRef> {
  double v;
  explicit Arg(const ArgText& a) : v(Real(a, a.text)) {}
  double* pass() { return &v; }
  void report(const char* name) { printf("%s = %.17g\n", name, v); }
};

template <>
struct Arg<kind::FileAttribRef> {
  FileAttrib rec{};
  explicit Arg(const ArgText& a) {
    if (strcmp(a.text, "-") == 0) return;
    auto fields = Split(a.text, ',');
    if (fields.size() != 8) BadArgument(a, "a FileAttrib (eight Integers separated by commas, or -)");
    int16_t* f = &rec.Status;
    for (size_t i = 0; i < 8; ++i) f[i] = static_cast<int16_t>(Whole(a, fields[i].c_str(), 16));
  }
  FileAttrib* pass() { return &rec; }
  void report(const char* name) {
    printf("%s = Status %d Archive %d Hidden %d Normal %d ReadOnly %d SubDir %d System %d Compressed %d\n", name,
           rec.Status, rec.Archive, rec.Hidden, rec.Normal, rec.ReadOnly, rec.SubDir, rec.System, rec.Compressed);
  }
};

template <>
struct Arg<kind::PathPartsRef> {
  PathParts rec{};
  explicit Arg(const ArgText& a) {
    if (strcmp(a.text, "-") != 0) BadArgument(a, "a PathParts (write -)");
  }
  ~Arg() { FreeParts(rec); }
  PathParts* pass() { return &rec; }
  void report(const char* name) {
    const char* fields[] = {"Drive", "Directory", "FileName", "Extension"};
    BSTR values[] = {rec.Drive, rec.Directory, rec.FileName, rec.Extension};
    for (int k = 0; k < 4; ++k) {
      printf("%s.%s = ", name, fields[k]);
      PrintBytes(values[k]);
      printf("\n");
    }
  }
};

// Elements "a|b|c" or "#N", in an array whose first index is 1.
std::vector<std::string> Items(const ArgText& a) {
  if (a.text[0] == '#') return std::vector<std::string>(Count(a, a.text + 1));
  return Split(a.text, '|');
}

template <>
struct Arg<kind::StrArray> {
  std::vector<std::string> items;
  HostArray array;
  explicit Arg(const ArgText& a) : items(Items(a)), array(VT_BSTR, 1, static_cast<ULONG>(items.size())) {
    FillStrings(array, items);
  }
  SAFEARRAY** pass() { return array.ref(); }
  void report(const char* name) {
    LONG lo = 0;
    SafeArrayGetLBound(array.get(), 1, &lo);
    for (const std::string& item : Strings(array)) {
      printf("%s(%ld) = ", name, static_cast<long>(lo++));
      fwrite(item.data(), 1, item.size(), stdout);
      printf("\n");
    }
  }
};

// Numbers "I:1,2,3", "L:...", "D:..." or "I#N", "L#N", "D#N", and their element type.
struct Numbers {
  VARTYPE vt;
  std::vector<double> values;
};
Numbers ReadNumbers(const ArgText& a) {
  const char* t = a.text;
  if ((t[0] != 'I' && t[0] != 'L' && t[0] != 'D') || (t[1] != ':' && t[1] != '#'))
    BadArgument(a, "an array (I:1,2,3, L:..., D:... or I#N, L#N, D#N)");
  Numbers n{static_cast<VARTYPE>(t[0] == 'L' ? VT_I4 : t[0] == 'D' ? VT_R8 : VT_I2), {}};
  if (t[1] == '#')
    n.values.assign(Count(a, t + 2), 0.0);
  else if (t[2] != '\0')
    for (auto& v : Split(t + 2, ','))
      n.values.push_back(n.vt == VT_R8 ? Real(a, v.c_str()) : Whole(a, v.c_str(), n.vt == VT_I4 ? 32 : 16));
  return n;
}

template <>
struct Arg<kind::AnyArray> {
  VARTYPE vt;
  HostArray array;
  explicit Arg(const ArgText& a) : Arg(ReadNumbers(a)) {}
  explicit Arg(const Numbers& n) : vt(n.vt), array(n.vt, 0, static_cast<ULONG>(n.values.size())) {
    for (LONG k = 0; k < static_cast<LONG>(n.values.size()); ++k) Put(k, n.values[k]);
  }
  void Put(LONG k, double v) {
    if (vt == VT_I2) { int16_t x = static_cast<int16_t>(v); SafeArrayPutElement(array.get(), &k, &x); }
    else if (vt == VT_I4) { int32_t x = static_cast<int32_t>(v); SafeArrayPutElement(array.get(), &k, &x); }
    else SafeArrayPutElement(array.get(), &k, &v);
  }
  SAFEARRAY** pass() { return array.ref(); }
  void report(const char* name) {
    SAFEARRAY* sa = array.get();
    LONG lo = 0, hi = -1;
    SafeArrayGetLBound(sa, 1, &lo);
    SafeArrayGetUBound(sa, 1, &hi);
    printf("%s =", name);
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

// A negative Integer or Long result is printed with the name of the result code it is,
// from the constants the declarations module gives VB programs.
void PrintNumber(long v) {
  printf("%ld", v);
  if (v < 0)
    for (const auto& c : declarations::ResultCodes())
      if (c.value == v) printf(" %s", c.name);
  printf("\n");
}

template <class R>
void PrintResult(typename R::ret r) {
  if constexpr (R::id == Kind::Int) PrintNumber(static_cast<int16_t>(r));
  else if constexpr (R::id == Kind::Long) PrintNumber(static_cast<long>(r));
  else if constexpr (R::id == Kind::Double) printf("%.17g\n", r);
  else {
    PrintBytes(r);
    printf("\n");
    SysFreeString(r);
  }
}

// The arguments after the export's name, with the names the declaration gives them.
struct CommandLine {
  char** argv;
  const char* const* names;
};

// An argument built from its place on the command line.
template <class K>
struct LineArg : Arg<K> {
  LineArg(const CommandLine& line, int at) : Arg<K>(ArgText{line.argv[at], line.names[at]}) {}
};

template <class R, class... A>
int Call(Sig<R, A...>*, FARPROC proc, int argc, const CommandLine& line) {
  if (argc != static_cast<int>(sizeof...(A))) return -1;
  HostArgs<LineArg, A...> args(line);
  PrintResult<R>(args.Call(reinterpret_cast<typename Sig<R, A...>::call>(reinterpret_cast<void*>(proc))));
  args.Each([&](auto& arg, size_t at) { arg.report(line.names[at]); });
  return 0;
}

// Export names are matched as VB matches them, in any letter case.
bool SameName(std::string_view a, const char* b) {
  return a.size() == strlen(b) && SameBytesIgnoringCase(a.data(), b, a.size());
}

// The VB declaration of one export, as VARNOK32.BAS has it.
bool Describe(FILE* to, const char* name) {
  for (const auto& e : declarations::Exports())
    if (SameName(e.name, name)) {
      fprintf(to, "%s\n", declarations::VbDeclare(e).c_str());
      return true;
    }
  return false;
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
          "  String                     the text (\"\" for an empty string)\n"
          "  ByRef String               the text, where \\\\ is a backslash, \\0 a NUL byte and \\xNN the\n"
          "                             byte of hexadecimal NN (any other backslash is an error)\n"
          "  Integer, Long, ByRef Long  a whole number: decimal (030 is thirty) or hexadecimal\n"
          "                             with 0x (0xFFFF is the Integer -1)\n"
          "  ByRef Double               a number (ByRef arguments: the value going in)\n"
          "  FileAttrib                 eight Integers separated by commas, or - for zeros\n"
          "  PathParts                  -\n"
          "  x() As String              elements separated by |, or #N for N empty elements\n"
          "  x() As Any                 I:1,2,3 (Integer), L:... (Long), D:... (Double), or I#N, L#N, D#N\n"
          "export names match in any letter case. The result is printed first (a negative\n"
          "result code with its RC_ name), then each ByRef output under its argument's name.\n"
          "A malformed argument ends vnkcall with exit status 2, an unloadable DLL with 3.\n"
          "exports (VB declarations, as in VARNOK32.BAS):\n");
  for (const auto& e : declarations::Exports()) fprintf(to, "%s\n", declarations::VbDeclare(e).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  // Results are printed as their exact bytes: a String result may hold CR or LF of its
  // own, and scripts compare what comes out. Messages end in a plain LF as well.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  if (argc < 2) {
    Usage(stderr);
    return 2;
  }
  if (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0) {
    if (argc == 3) {
      if (Describe(stdout, argv[2])) return 0;
      fprintf(stderr, "vnkcall: unknown export %s\n", argv[2]);
      return 2;
    }
    Usage(stdout);
    return 0;
  }
  const char* name = argv[1];
  bool known = false;
#define VNK_KNOWN(export_name, ...) known = known || SameName(#export_name, name);
  VNK_EXPORTS(VNK_KNOWN)
#undef VNK_KNOWN
  if (!known) {
    fprintf(stderr, "vnkcall: unknown export %s\n", name);
    Usage(stderr);
    return 2;
  }
  HMODULE dll = LoadLibraryA(VNK_DLL_NAME);
  if (dll == nullptr) {
    fprintf(stderr, "vnkcall: %s could not be loaded (error %lu)\n", VNK_DLL_NAME, GetLastError());
    return 3;
  }
#define VNK_DISPATCH(export_name, R, ...)                                                              \
  if (SameName(#export_name, name)) {                                                                 \
    FARPROC proc = GetProcAddress(dll, #export_name);                                                 \
    if (proc == nullptr) {                                                                            \
      fprintf(stderr, "vnkcall: %s is not exported by this build of %s\n", #export_name, VNK_DLL_NAME);  \
      return 3;                                                                                       \
    }                                                                                                 \
    int rc = Call(static_cast<vnk::decl::export_name*>(nullptr), proc, argc - 2,                      \
                  CommandLine{argv + 2, declarations::names::export_name});                           \
    if (rc < 0) {                                                                                     \
      fprintf(stderr, "vnkcall: %s takes %d argument(s), %d given\n", #export_name,                   \
              vnk::decl::export_name::arg_count, argc - 2);                                           \
      Describe(stderr, #export_name);                                                                 \
      return 2;                                                                                       \
    }                                                                                                 \
    fflush(stdout);                                                                                   \
    return rc;                                                                                        \
  }
  VNK_EXPORTS(VNK_DISPATCH)
#undef VNK_DISPATCH
  return 2;
}
