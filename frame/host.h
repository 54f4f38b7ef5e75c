// Conversions between the host's kinds and the library's, and owners for what an export
// acquires (work buffers, streams, find handles, strings) so that every return path
// releases it.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>

#include "frame/boundary.h"
#include "frame/errno_kernel.h"
#include "frame/result_codes.h"

namespace vnk {

// ---- Strings ---------------------------------------------------------------------

// A new host string of exactly these bytes; the empty one for no bytes. Never null
// (short of the allocator failing, which leaves the caller a null it treats as "").
BSTR NewString(const char* bytes, size_t length);
inline BSTR NewString(std::string_view s) { return NewString(s.data(), s.size()); }
inline BSTR EmptyString() { return NewString(nullptr, 0); }

// The bytes of a ByRef String slot (any byte, NUL included); empty for a null slot.
std::string_view SlotBytes(const BSTR* slot);

// Returns text through a ByRef String or record field: the old string is freed and the
// slot receives a new one of exactly these bytes.
void ReplaceSlot(BSTR* slot, std::string_view text);

// Empties a slot that an export gives up on before producing its text.
void EmptySlot(BSTR* slot);

// Length of a NUL-terminated argument, looking at no more than limit + 1 bytes: a
// result above limit means "too long" without walking an arbitrarily long string.
inline size_t BoundedLength(const char* s, size_t limit) { return strnlen(s, limit + 1); }

// ---- ByRef arguments ---------------------------------------------------------------

// True when any ByRef argument arrived as a null pointer. VB always passes a variable's
// address, but a program that declares an argument As Any can pass ByVal 0&; the export
// then refuses the call with its failure result and writes nothing.
template <class... P>
bool AnyNull(const P*... p) {
  return ((p == nullptr) || ...);
}

// ---- Errors ------------------------------------------------------------------------

// The run-time error number for the calling thread's last Windows error.
inline int16_t LastErrno() { return static_cast<int16_t>(WinErrorToErrno(GetLastError())); }

// Byte totals of successful calls are Longs; a total beyond the Long range is reported
// as the largest Long rather than as a negative number that reads as an error code.
inline int32_t ClampTotal(uint64_t total) {
  return total > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int32_t>(total);
}

// ---- Owners ------------------------------------------------------------------------

struct TaskMemFree {
  void operator()(void* p) const { CoTaskMemFree(p); }
};
using TaskBuffer = std::unique_ptr<char[], TaskMemFree>;

// A work buffer from the COM task allocator; empty when the allocation fails.
inline TaskBuffer TaskAlloc(size_t bytes) { return TaskBuffer(static_cast<char*>(CoTaskMemAlloc(bytes))); }

struct FileClose {
  void operator()(FILE* f) const { fclose(f); }
};
using UniqueFile = std::unique_ptr<FILE, FileClose>;

struct HandleCloser {
  using pointer = HANDLE;
  void operator()(HANDLE h) const {
    if (h != INVALID_HANDLE_VALUE && h != nullptr) CloseHandle(h);
  }
};
using UniqueHandle = std::unique_ptr<HANDLE, HandleCloser>;

struct BstrFree {
  using pointer = BSTR;
  void operator()(BSTR b) const { SysFreeString(b); }
};
using UniqueBstr = std::unique_ptr<BSTR, BstrFree>;

// Runs an export's body and turns any C++ exception (an allocation failure inside a
// standard container, say) into the export's failure result: nothing may unwind into a
// VB program.
template <class R, class F>
R Shield(R on_failure, F&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return on_failure;
  }
}

}  // namespace vnk
