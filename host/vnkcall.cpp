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
// The Unicode twins are called the same way, `vnkcall cFileCopyW a.txt b.txt`: their
// arguments are read from the UTF-16 command line (a Unix shell's UTF-8 arrives so under
// Wine), Strings go to the twin in UTF-16, and String results and outputs are printed in
// UTF-8. A twin's ByRef String also takes \uNNNN, one UTF-16 unit.
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

// ---- The Unicode twins ------------------------------------------------------------------

std::string Utf8(std::wstring_view w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n : 0, '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring WideFrom(const char* text, unsigned code_page) {
  int n = MultiByteToWideChar(code_page, 0, text, -1, nullptr, 0);
  std::wstring out(n > 1 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(code_page, 0, text, -1, out.data(), n);
  return out;
}

void PrintUtf8(BSTR b) {
  if (b == nullptr) return;
  std::string u = Utf8(std::wstring_view(b, SysStringLen(b)));
  fwrite(u.data(), 1, u.size(), stdout);
}

// The process's command line in UTF-16, split as the C runtime splits argv: blanks
// separate arguments outside double quotes, 2n backslashes before a quote give n and the
// quote opens or closes, 2n+1 give n and a literal quote, a doubled quote inside quotes
// is a quote; the program's name ends at the first blank or at its closing quote.
std::vector<std::wstring> WideArguments() {
  const wchar_t* p = GetCommandLineW();
  std::vector<std::wstring> out;
  std::wstring arg;
  if (*p == L'"') {
    for (++p; *p != L'\0' && *p != L'"'; ++p) arg += *p;
    if (*p == L'"') ++p;
  } else {
    for (; *p != L'\0' && *p != L' ' && *p != L'\t'; ++p) arg += *p;
  }
  out.push_back(arg);
  for (;;) {
    while (*p == L' ' || *p == L'\t') ++p;
    if (*p == L'\0') return out;
    arg.clear();
    bool quoted = false;
    while (*p != L'\0' && (quoted || (*p != L' ' && *p != L'\t'))) {
      if (*p == L'\\') {
        size_t slashes = 0;
        for (; *p == L'\\'; ++p) ++slashes;
        if (*p == L'"') {
          arg.append(slashes / 2, L'\\');
          if (slashes % 2 == 1) {
            arg += L'"';
            ++p;
          }
        } else {
          arg.append(slashes, L'\\');
        }
      } else if (*p == L'"') {
        if (quoted && p[1] == L'"') {
          arg += L'"';
          p += 2;
        } else {
          quoted = !quoted;
          ++p;
        }
      } else {
        arg += *p++;
      }
    }
    out.push_back(arg);
  }
}

// One command-line argument of a twin: its UTF-16 text, and the same in UTF-8 for the
// kinds read as numbers and for messages.
struct TwinText {
  std::wstring wide;
  std::string utf8;
  const char* name;
  ArgText text() const { return ArgText{utf8.c_str(), name}; }
};

// A twin's ByRef String: \\, \0, \xNN (the character U+00NN) and \uNNNN (one UTF-16 unit).
std::wstring UnescapeWide(const TwinText& t) {
  std::wstring out;
  const std::wstring& w = t.wide;
  auto hex = [&](size_t at, size_t digits, wchar_t* v) {
    *v = 0;
    for (size_t k = 0; k < digits; ++k) {
      int d = at + k < w.size() && w[at + k] < 128 ? DigitValue(static_cast<char>(w[at + k])) : -1;
      if (d < 0) return false;
      *v = static_cast<wchar_t>(*v * 16 + d);
    }
    return true;
  };
  for (size_t i = 0; i < w.size(); ++i) {
    wchar_t v = 0;
    if (w[i] != L'\\') {
      out += w[i];
    } else if (i + 1 < w.size() && (w[i + 1] == L'\\' || w[i + 1] == L'0')) {
      out += w[i + 1] == L'0' ? L'\0' : L'\\';
      ++i;
    } else if (i + 1 < w.size() && w[i + 1] == L'x' && hex(i + 2, 2, &v)) {
      out += v;
      i += 3;
    } else if (i + 1 < w.size() && w[i + 1] == L'u' && hex(i + 2, 4, &v)) {
      out += v;
      i += 5;
    } else {
      BadArgument(t.text(), "a ByRef String (a backslash starts \\\\, \\0, \\xNN or \\uNNNN)");
    }
  }
  return out;
}

// A twin's argument: kinds without strings are read as the export's are.
template <class K>
struct TwinArg : Arg<K> {
  explicit TwinArg(const TwinText& t) : Arg<K>(t.text()) {}
};

template <>
struct TwinArg<kind::Int> : Arg<kind::Int> {
  explicit TwinArg(const TwinText& t) : Arg<kind::Int>(t.text()) {}
  int16_t pass() { return static_cast<int16_t>(v); }
};

template <>
struct TwinArg<kind::Str> {
  const wchar_t* text;
  explicit TwinArg(const TwinText& t) : text(t.wide.c_str()) {}
  const wchar_t* pass() { return text; }
  void report(const char*) {}
};

template <>
struct TwinArg<kind::StrRef> {
  BSTR b;
  explicit TwinArg(const TwinText& t) {
    std::wstring w = UnescapeWide(t);
    b = SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
  }
  ~TwinArg() { SysFreeString(b); }
  BSTR* pass() { return &b; }
  void report(const char* name) {
    printf("%s = ", name);
    PrintUtf8(b);
    printf("\n");
  }
};

template <>
struct TwinArg<kind::PathPartsRef> : Arg<kind::PathPartsRef> {
  explicit TwinArg(const TwinText& t) : Arg<kind::PathPartsRef>(t.text()) {}
  void report(const char* name) {
    const char* fields[] = {"Drive", "Directory", "FileName", "Extension"};
    BSTR values[] = {rec.Drive, rec.Directory, rec.FileName, rec.Extension};
    for (int k = 0; k < 4; ++k) {
      printf("%s.%s = ", name, fields[k]);
      PrintUtf8(values[k]);
      printf("\n");
    }
  }
};

template <>
struct TwinArg<kind::StrArray> {
  std::vector<std::string> items;
  HostArray array;
  explicit TwinArg(const TwinText& t)
      : items(Items(t.text())), array(VT_BSTR, 1, static_cast<ULONG>(items.size())) {
    LONG i = 1;
    for (const std::string& item : items) {
      std::wstring w = WideFrom(item.c_str(), CP_UTF8);
      BSTR b = SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
      SafeArrayPutElement(array.get(), &i, b);
      SysFreeString(b);
      ++i;
    }
  }
  SAFEARRAY** pass() { return array.ref(); }
  void report(const char* name) {
    LONG lo = 0, hi = -1;
    SafeArrayGetLBound(array.get(), 1, &lo);
    SafeArrayGetUBound(array.get(), 1, &hi);
    for (LONG i = lo; i <= hi; ++i) {
      BSTR b = nullptr;
      SafeArrayGetElement(array.get(), &i, &b);
      printf("%s(%ld) = ", name, static_cast<long>(i));
      PrintUtf8(b);
      printf("\n");
      SysFreeString(b);
    }
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

// A twin's arguments after its name, with the names the declaration gives them.
struct TwinLine {
  const std::vector<TwinText>& args;
};

template <class K>
struct TwinLineArg : TwinArg<K> {
  TwinLineArg(const TwinLine& line, int at) : TwinArg<K>(line.args[at]) {}
};

template <class R, class... A>
int CallTwin(Sig<R, A...>*, FARPROC proc, const std::vector<TwinText>& given) {
  if (given.size() != sizeof...(A)) return -1;
  HostArgs<TwinLineArg, A...> args(TwinLine{given});
  auto result = args.Call(reinterpret_cast<typename Sig<R, A...>::twin_call>(reinterpret_cast<void*>(proc)));
  if constexpr (R::id == Kind::String) {
    PrintUtf8(result);
    printf("\n");
    SysFreeString(result);
  } else {
    PrintResult<R>(result);
  }
  args.Each([&](auto& arg, size_t at) { arg.report(given[at].name); });
  return 0;
}

// The arguments after a twin's name: from the UTF-16 command line when it splits into as
// many arguments as the C runtime gave, else from those in the ANSI code page.
std::vector<TwinText> TwinArguments(int argc, char** argv, const char* const* names, int expected) {
  std::vector<std::wstring> wide = WideArguments();
  if (static_cast<int>(wide.size()) != argc) {
    wide.clear();
    for (int i = 0; i < argc; ++i) wide.push_back(WideFrom(argv[i], CP_ACP));
  }
  std::vector<TwinText> out;
  for (int i = 2; i < argc; ++i) {
    const char* name = i - 2 < expected ? names[i - 2] : "argument";
    out.push_back(TwinText{wide[i], Utf8(wide[i]), name});
  }
  return out;
}

// Export names are matched as VB matches them, in any letter case.
bool SameName(std::string_view a, const char* b) {
  return a.size() == strlen(b) && SameBytesIgnoringCase(a.data(), b, a.size());
}

// The VB declaration of one export, as VARNOK32.BAS has it, or a twin's C prototype, as
// varnok32.h has it.
bool Describe(FILE* to, const char* name) {
  for (const auto& e : declarations::Exports()) {
    if (SameName(e.name, name)) {
      fprintf(to, "%s\n", declarations::VbDeclare(e).c_str());
      return true;
    }
    if (SameName(declarations::TwinName(e), name)) {
      fprintf(to, "%s\n", declarations::CTwinPrototype(e).c_str());
      return true;
    }
  }
  return false;
}

void Usage(FILE* to) {
  fprintf(to,
          "usage: vnkcall EXPORT [ARGUMENT...]    call an export and print its result and ByRef outputs\n"
          "       vnkcall --help [EXPORT]         the VB declarations of all exports, or of one\n"
          "       vnkcall EXPORTW [ARGUMENT...]   call the export's Unicode twin (UTF-8 in and out)\n");
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
  fprintf(to,
          "Unicode twins (C prototypes, as in varnok32.h): the same arguments, read here as\n"
          "UTF-8 and passed in UTF-16; String results and outputs are printed in UTF-8. A\n"
          "twin's ByRef String also takes \\uNNNN, one UTF-16 unit.\n");
  for (const auto& e : declarations::Exports()) fprintf(to, "%s\n", declarations::CTwinPrototype(e).c_str());
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
#define VNK_KNOWN(export_name, ...) known = known || SameName(#export_name, name) || SameName(#export_name "W", name);
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
#define VNK_DISPATCH_TWIN(export_name, R, ...)                                                        \
  if (SameName(#export_name "W", name)) {                                                             \
    FARPROC proc = GetProcAddress(dll, #export_name "W");                                             \
    if (proc == nullptr) {                                                                            \
      fprintf(stderr, "vnkcall: %s is not exported by this build of %s\n", #export_name "W", VNK_DLL_NAME); \
      return 3;                                                                                       \
    }                                                                                                 \
    int rc = CallTwin(static_cast<vnk::decl::export_name*>(nullptr), proc,                           \
                      TwinArguments(argc, argv, declarations::names::export_name,                     \
                                    vnk::decl::export_name::arg_count));                              \
    if (rc < 0) {                                                                                     \
      fprintf(stderr, "vnkcall: %s takes %d argument(s), %d given\n", #export_name "W",               \
              vnk::decl::export_name::arg_count, argc - 2);                                           \
      Describe(stderr, #export_name "W");                                                             \
      return 2;                                                                                       \
    }                                                                                                 \
    fflush(stdout);                                                                                   \
    return rc;                                                                                        \
  }
  VNK_EXPORTS(VNK_DISPATCH_TWIN)
#undef VNK_DISPATCH_TWIN
  return 2;
}
