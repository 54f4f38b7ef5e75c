// Host arrays for the listing and array tests: string and number arrays with chosen
// bounds, built and read back the way a VB program's arrays are.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

namespace vnk::test {

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

// A string array with lower bound lo holding these elements.
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

}  // namespace vnk::test
