// Arguments as a VB program builds them, shared by the programs that call the library:
// vnkcall.exe (from its command line) and the hostile-argument tests (from a call's
// setup). Owned host arrays and records, and the pack that builds one argument per
// position of an export's signature in place and passes them all to the export.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>
#include <vector>

#include "frame/boundary.h"

namespace vnk {

// An owned SAFEARRAY, passed to the exports by reference as VB passes x().
class HostArray {
 public:
  HostArray(VARTYPE vt, std::vector<SAFEARRAYBOUND> bounds)
      : sa_(SafeArrayCreate(vt, static_cast<UINT>(bounds.size()), bounds.data())) {}
  // One dimension, lower bound lo, n elements.
  HostArray(VARTYPE vt, LONG lo, ULONG n) : HostArray(vt, {SAFEARRAYBOUND{n, lo}}) {}
  ~HostArray() {
    if (sa_ != nullptr) SafeArrayDestroy(sa_);
  }
  HostArray(const HostArray&) = delete;
  HostArray& operator=(const HostArray&) = delete;
  SAFEARRAY** ref() { return &sa_; }
  SAFEARRAY* get() const { return sa_; }
  void* data() const { return sa_->pvData; }

 private:
  SAFEARRAY* sa_;
};

// Puts these elements into a string array from its lower bound on.
inline void FillStrings(HostArray& a, const std::vector<std::string>& items) {
  LONG lo = 0;
  SafeArrayGetLBound(a.get(), 1, &lo);
  for (size_t k = 0; k < items.size(); ++k) {
    LONG i = lo + static_cast<LONG>(k);
    BSTR b = SysAllocStringByteLen(items[k].data(), static_cast<UINT>(items[k].size()));
    SafeArrayPutElement(a.get(), &i, b);
    SysFreeString(b);
  }
}

// The elements of a one-dimensional string array, a null element as "".
inline std::vector<std::string> Strings(const HostArray& a) {
  LONG lo = 0, hi = -1;
  SafeArrayGetLBound(a.get(), 1, &lo);
  SafeArrayGetUBound(a.get(), 1, &hi);
  std::vector<std::string> out;
  for (LONG i = lo; i <= hi; ++i) {
    BSTR b = nullptr;
    SafeArrayGetElement(a.get(), &i, &b);
    out.emplace_back(b == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(b), SysStringByteLen(b)));
    SysFreeString(b);
  }
  return out;
}

// Frees the strings of a PathParts record, as VB does when the record goes.
inline void FreeParts(PathParts& p) {
  for (BSTR* b : {&p.Drive, &p.Directory, &p.FileName, &p.Extension}) {
    SysFreeString(*b);
    *b = nullptr;
  }
}

// The arguments of one call of an export whose kinds are A...: one Arg<K> per position,
// each built in place from (source, position). An Arg owns what it passes (a string, an
// array, a guarded block) and is never copied or moved, or a copy would pass what the
// original already freed. Arg<K>::pass() gives the value of the kind's call type.
template <template <class> class Arg, size_t I, class K>
struct HostArgSlot {
  Arg<K> arg;
  template <class Source>
  explicit HostArgSlot(const Source& source) : arg(source, static_cast<int>(I)) {}
};

template <template <class> class Arg, class Seq, class... A>
class HostArgPack;
template <template <class> class Arg, size_t... I, class... A>
class HostArgPack<Arg, std::index_sequence<I...>, A...> : HostArgSlot<Arg, I, A>... {
 public:
  template <class Source>
  explicit HostArgPack(const Source& source) : HostArgSlot<Arg, I, A>(source)... {}
  HostArgPack(const HostArgPack&) = delete;
  HostArgPack& operator=(const HostArgPack&) = delete;

  // Calls fn with every argument's value, in order.
  template <class Fn>
  auto Call(Fn fn) {
    return fn(static_cast<HostArgSlot<Arg, I, A>&>(*this).arg.pass()...);
  }
  // Hands each argument and its position to f, in order (to print the outputs).
  template <class F>
  void Each(F f) {
    (f(static_cast<HostArgSlot<Arg, I, A>&>(*this).arg, I), ...);
  }
};

template <template <class> class Arg, class... A>
using HostArgs = HostArgPack<Arg, std::index_sequence_for<A...>, A...>;

}  // namespace vnk
