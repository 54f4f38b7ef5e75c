// vnkbench.exe: times one call of one export of VARNOK-32.DLL (VARNOK-64.DLL when built
// for x64) from inside the process, so that the start of the process (under Wine, the
// start of Wine too) is not charged to the library. Prints one line:
//   seconds=<s> result=<value> peak_mb=<m> base_mb=<m>
//
//   vnkbench [--int|--double] [--until-zero] cName arg...
//     s:TEXT  a String argument (pointer to NUL-terminated text)
//     i:N     an Integer or Long argument (passed as 32 bits)
//     r:      a Long by reference (its value is printed after the call)
//     d:      a Double by reference
//     b:TEXT  a String by reference (a host string slot holding TEXT)
//   --int         the export returns an Integer (only the low 16 bits count)
//   --double      the export returns a Double (on the floating-point stack; in XMM0 on x64)
//   --until-zero  call again while the result is above 0 and add the times; for the
//                 tree deletions, which take at most 999 folders per call
//
// The DLL is loaded from the folder of this program. Every argument fits one pointer-sized
// slot (a 32-bit stack slot, or on x64 a 64-bit register or slot), so one function type
// per argument count is enough.
#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "stopwatch.h"

namespace {

using A = uintptr_t;
using F0 = int32_t(__stdcall*)();
using F1 = int32_t(__stdcall*)(A);
using F2 = int32_t(__stdcall*)(A, A);
using F3 = int32_t(__stdcall*)(A, A, A);
using F4 = int32_t(__stdcall*)(A, A, A, A);
using F5 = int32_t(__stdcall*)(A, A, A, A, A);
using F6 = int32_t(__stdcall*)(A, A, A, A, A, A);
using F7 = int32_t(__stdcall*)(A, A, A, A, A, A, A);
using D3 = double(__stdcall*)(A, A, A);

double g_double_result = 0;

// The export's address as a pointer of the type it is called through.
template <class T>
T As(FARPROC f) {
  T t;
  std::memcpy(&t, &f, sizeof t);
  return t;
}

int32_t Call(FARPROC f, const std::vector<A>& a, bool returns_double) {
  if (returns_double) {
    if (a.size() != 3) {
      std::fprintf(stderr, "--double is for the three-argument size functions\n");
      std::exit(2);
    }
    g_double_result = As<D3>(f)(a[0], a[1], a[2]);
    return 0;
  }
  switch (a.size()) {
    case 0: return As<F0>(f)();
    case 1: return As<F1>(f)(a[0]);
    case 2: return As<F2>(f)(a[0], a[1]);
    case 3: return As<F3>(f)(a[0], a[1], a[2]);
    case 4: return As<F4>(f)(a[0], a[1], a[2], a[3]);
    case 5: return As<F5>(f)(a[0], a[1], a[2], a[3], a[4]);
    case 6: return As<F6>(f)(a[0], a[1], a[2], a[3], a[4], a[5]);
    case 7: return As<F7>(f)(a[0], a[1], a[2], a[3], a[4], a[5], a[6]);
  }
  std::fprintf(stderr, "too many arguments\n");
  std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  bool returns_double = false, returns_int = false, until_zero = false;
  int i = 1;
  for (; i < argc && argv[i][0] == '-' && argv[i][1] == '-'; ++i) {
    if (std::strcmp(argv[i], "--double") == 0) returns_double = true;
    else if (std::strcmp(argv[i], "--int") == 0) returns_int = true;
    else if (std::strcmp(argv[i], "--until-zero") == 0) until_zero = true;
  }
  if (i >= argc) {
    std::fprintf(stderr, "usage: vnkbench [--int|--double] [--until-zero] cName arg...\n");
    return 2;
  }
  const char* name = argv[i++];

  char dll[MAX_PATH];
  DWORD len = GetModuleFileNameA(nullptr, dll, MAX_PATH);
  while (len > 0 && dll[len - 1] != '\\' && dll[len - 1] != '/') --len;
#ifdef _WIN64
  std::strcpy(dll + len, "VARNOK-64.DLL");
#else
  std::strcpy(dll + len, "VARNOK-32.DLL");
#endif
  HMODULE lib = LoadLibraryA(dll);
  if (!lib) {
    std::fprintf(stderr, "cannot load %s\n", dll);
    return 2;
  }
  FARPROC f = GetProcAddress(lib, name);
  if (!f) {
    std::printf("missing export %s\n", name);
    return 3;
  }

  // Storage for the by-reference arguments; reserved so that the addresses stay put.
  std::vector<int32_t> longs;
  std::vector<double> doubles;
  std::vector<BSTR> slots;
  longs.reserve(8);
  doubles.reserve(8);
  slots.reserve(8);
  std::vector<A> args;
  for (; i < argc; ++i) {
    const char* a = argv[i];
    if (std::strncmp(a, "s:", 2) == 0) {
      args.push_back(reinterpret_cast<A>(a + 2));
    } else if (std::strncmp(a, "i:", 2) == 0) {
      args.push_back(static_cast<A>(std::strtol(a + 2, nullptr, 0)));
    } else if (std::strcmp(a, "r:") == 0) {
      longs.push_back(0);
      args.push_back(reinterpret_cast<A>(&longs.back()));
    } else if (std::strcmp(a, "d:") == 0) {
      doubles.push_back(0);
      args.push_back(reinterpret_cast<A>(&doubles.back()));
    } else if (std::strncmp(a, "b:", 2) == 0) {
      slots.push_back(SysAllocStringByteLen(a + 2, static_cast<UINT>(std::strlen(a + 2))));
      args.push_back(reinterpret_cast<A>(&slots.back()));
    } else {
      std::fprintf(stderr, "bad argument %s\n", a);
      return 2;
    }
  }

  auto call = [&] {
    int32_t r = Call(f, args, returns_double);
    return returns_int ? static_cast<int32_t>(static_cast<int16_t>(r)) : r;
  };
  Stopwatch clock;
  int32_t result = call();
  int calls = 1;
  if (until_zero) {
    for (int32_t more = result; more > 0; ++calls) {
      more = call();
      if (more > 0) result += more;
    }
  }
  clock.Stop();

  double seconds = clock.Seconds();
  if (returns_double)
    std::printf("seconds=%.6f result=%.0f", seconds, g_double_result);
  else
    std::printf("seconds=%.6f result=%ld", seconds, static_cast<long>(result));
  for (int32_t v : longs) std::printf(" out=%ld", static_cast<long>(v));
  if (until_zero) std::printf(" calls=%d", calls);
  clock.PrintMemory();
  return 0;
}
