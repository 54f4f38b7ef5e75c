// Host string conversions.
#include "frame/host.h"

namespace vnk {

BSTR NewString(const char* bytes, size_t length) {
  if (length == 0) return SysAllocStringByteLen(nullptr, 0);
  return SysAllocStringByteLen(bytes, static_cast<UINT>(length));
}

std::string_view SlotBytes(const BSTR* slot) {
  if (slot == nullptr || *slot == nullptr) return {};
  return {reinterpret_cast<const char*>(*slot), SysStringByteLen(*slot)};
}

void ReplaceSlot(BSTR* slot, std::string_view text) {
  SysFreeString(*slot);
  *slot = NewString(text);
}

void EmptySlot(BSTR* slot) { SysReAllocString(slot, nullptr); }

}  // namespace vnk
