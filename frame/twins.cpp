// The Unicode twins: for every export cName, cNameW with the same arguments and results,
// but with its Strings in UTF-16 (a NUL-terminated string as VB's StrPtr passes it,
// ByRef String slots, String arrays and record fields holding UTF-16 BSTRs, a String
// result a UTF-16 BSTR). A twin converts names and paths to UTF-8, and text of a file's
// contents (search texts, character lists, the lines of a string array) to the ANSI code
// page, runs the export's own body with the call encoding set to UTF-8, and converts
// what the body gives back. Every twin is written from the export table.
#include <string>
#include <vector>

#include "frame/host.h"
#include "system/text.h"

namespace vnk {
namespace {

// ---- Strings ------------------------------------------------------------------------

// A UTF-16 BSTR of these bytes in code_page; never null short of memory.
BSTR WideString(std::string_view bytes, unsigned code_page) {
  std::wstring w;
  if (!Widen(bytes, code_page, &w)) w.clear();
  return SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
}

// A byte BSTR of a UTF-16 one in code_page.
BSTR ByteString(BSTR wide, unsigned code_page) {
  std::string bytes;
  if (wide != nullptr && !Narrow(std::wstring_view(wide, SysStringLen(wide)), code_page, &bytes)) bytes.clear();
  return NewString(bytes);
}

bool SameBytes(BSTR a, BSTR b) {
  return SysStringByteLen(a) == SysStringByteLen(b) && memcmp(a, b, SysStringByteLen(a)) == 0;
}

// One String slot (a ByRef String, a record field, an array element) lent to the body:
// the UTF-16 string is set aside and the slot gets its bytes; afterwards the slot gets
// back the UTF-16 original when the body left the bytes as they were, else the body's
// new bytes in UTF-16.
class LentSlot {
 public:
  LentSlot(BSTR* slot, unsigned code_page) : slot_(slot), code_page_(code_page) {
    if (slot_ == nullptr || *slot_ == nullptr) return;
    original_ = *slot_;
    lent_ = ByteString(original_, code_page_);
    copy_ = lent_ != nullptr ? SysAllocStringByteLen(reinterpret_cast<const char*>(lent_), SysStringByteLen(lent_))
                             : nullptr;
    *slot_ = lent_;
  }
  LentSlot(LentSlot&& other) noexcept
      : slot_(other.slot_), code_page_(other.code_page_), original_(other.original_), lent_(other.lent_),
        copy_(other.copy_) {
    other.slot_ = nullptr;
  }
  LentSlot(const LentSlot&) = delete;
  LentSlot& operator=(const LentSlot&) = delete;
  ~LentSlot() {
    if (slot_ == nullptr) return;
    BSTR now = *slot_;
    // The body replaces a string by freeing it and allocating another, which may reuse
    // the address: a slot is unchanged only when it also holds the same bytes.
    if (now == lent_ && (now == nullptr || (copy_ != nullptr && SameBytes(now, copy_)))) {
      *slot_ = original_;
      SysFreeString(now);
    } else {
      *slot_ = now != nullptr ? WideString(SlotBytes(&now), code_page_) : nullptr;
      SysFreeString(now);
      SysFreeString(original_);
    }
    SysFreeString(copy_);
  }

 private:
  BSTR* slot_;
  unsigned code_page_;
  BSTR original_ = nullptr;
  BSTR lent_ = nullptr;
  BSTR copy_ = nullptr;
};

// ---- Arguments ----------------------------------------------------------------------

template <class K>
struct Twin {
  explicit Twin(typename K::twin value) : value_(value) {}
  typename K::impl Pass() const { return value_; }
  typename K::twin value_;
};

template <unsigned CodePage>
struct TwinString {
  explicit TwinString(const wchar_t* text) : null_(text == nullptr) {
    if (text != nullptr && !Narrow(std::wstring_view(text), CodePage, &bytes_))
      bytes_.clear();
  }
  StrArg Pass() const { return StrArg::Of(null_ ? nullptr : bytes_.c_str()); }
  std::string bytes_;
  bool null_;
};
template <>
struct Twin<kind::Str> : TwinString<CP_UTF8> {
  using TwinString::TwinString;
};
template <>
struct Twin<kind::Text> : TwinString<CP_ACP> {
  using TwinString::TwinString;
};

template <unsigned CodePage>
struct TwinSlot {
  explicit TwinSlot(BSTR* slot) : slot_(slot), lent_(slot, CodePage) {}
  BSTR* Pass() const { return slot_; }
  BSTR* slot_;
  LentSlot lent_;
};
template <>
struct Twin<kind::StrRef> : TwinSlot<CP_UTF8> {
  using TwinSlot::TwinSlot;
};
template <>
struct Twin<kind::TextRef> : TwinSlot<CP_ACP> {
  using TwinSlot::TwinSlot;
};

template <>
struct Twin<kind::PathPartsRef> {
  explicit Twin(PathParts* parts) : parts_(parts) {
    if (parts_ == nullptr) return;
    for (BSTR* slot : {&parts_->Drive, &parts_->Directory, &parts_->FileName, &parts_->Extension})
      lent_.emplace_back(slot, CP_UTF8);
  }
  PathParts* Pass() const { return parts_; }
  PathParts* parts_;
  std::vector<LentSlot> lent_;
};

// A String array: every element is lent for the call. Arrays of anything but strings
// pass as they are; the body refuses them as its export does.
template <unsigned CodePage>
struct TwinArray {
  explicit TwinArray(SAFEARRAY** array) : array_(array) {
    if (array_ == nullptr || *array_ == nullptr) return;
    SAFEARRAY* a = *array_;
    if (!(a->fFeatures & FADF_BSTR) || a->cbElements != sizeof(BSTR)) return;
    size_t count = 1;
    for (USHORT d = 0; d < a->cDims; ++d) count *= a->rgsabound[d].cElements;
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(a, &data))) return;
    BSTR* items = static_cast<BSTR*>(data);
    lent_.reserve(count);
    for (size_t i = 0; i < count; ++i) lent_.emplace_back(items + i, CodePage);
    held_ = a;
    // The data stays where it is while the array is locked; the body never resizes it.
  }
  ~TwinArray() {
    lent_.clear();  // puts every element back before the lock goes
    if (held_ != nullptr) SafeArrayUnaccessData(held_);
  }
  SAFEARRAY** Pass() const { return array_; }
  SAFEARRAY** array_;
  SAFEARRAY* held_ = nullptr;
  std::vector<LentSlot> lent_;
};
template <>
struct Twin<kind::StrArray> : TwinArray<CP_UTF8> {
  using TwinArray::TwinArray;
};
template <>
struct Twin<kind::TextArray> : TwinArray<CP_ACP> {
  using TwinArray::TwinArray;
};

// ---- Results ------------------------------------------------------------------------

template <class R>
struct TwinResult {
  static typename R::impl Of(typename R::impl value) { return value; }
  static typename R::impl Failed() { return -1; }
};
template <>
struct TwinResult<kind::String> {
  static BSTR Of(BSTR bytes) {
    BSTR wide = WideString(SlotBytes(&bytes), CP_UTF8);
    SysFreeString(bytes);
    return wide;
  }
  static BSTR Failed() { return SysAllocStringLen(nullptr, 0); }
};

}  // namespace
}  // namespace vnk

// A twin that cannot get the memory to convert its arguments answers -1 (an empty String
// for a String result) without running the body.
#define VNK_TWIN_PARAM(K, name) vnk::kind::K::twin name
#define VNK_TWIN_PASS(K, name) vnk::Twin<vnk::kind::K>(name).Pass()
#define VNK_DEFINE_TWIN(name, R, ...)                                                                  \
  extern "C" vnk::kind::R::twin __stdcall name##W(VNK_EACH_ARGUMENT(VNK_TWIN_PARAM, __VA_ARGS__)) {   \
    vnk::EncodingScope utf8(vnk::CallEncoding::kUtf8);                                              \
    try {                                                                                           \
      return vnk::TwinResult<vnk::kind::R>::Of(name(VNK_EACH_ARGUMENT(VNK_TWIN_PASS, __VA_ARGS__))); \
    } catch (...) {                                                                                 \
      return vnk::TwinResult<vnk::kind::R>::Failed();                                               \
    }                                                                                               \
  }
VNK_EXPORTS(VNK_DEFINE_TWIN)
