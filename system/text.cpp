// The call encoding and the conversions between it and the platform's UTF-16.
#include "system/text.h"

#include <windows.h>

#include <cstring>


namespace vnk {
namespace {

// One per thread: a program may call the library from several threads at once.
thread_local CallEncoding current = CallEncoding::kAnsi;

bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

bool IsAscii(std::wstring_view text) {
  for (wchar_t c : text)
    if (c >= 0x80) return false;
  return true;
}

}  // namespace

CallEncoding CurrentEncoding() { return current; }

EncodingScope::EncodingScope(CallEncoding encoding) : previous_(current) { current = encoding; }
EncodingScope::~EncodingScope() { current = previous_; }

unsigned CallCodePage() { return current == CallEncoding::kUtf8 ? CP_UTF8 : CP_ACP; }

// MAX_PATH counts the terminator.
size_t CallPathLimit() { return current == CallEncoding::kUtf8 ? 3 * kWidePathUnits : MAX_PATH - 1; }
size_t CallNameLimit() { return current == CallEncoding::kUtf8 ? 3 * 255 : 255; }

bool FitsCallPath(const char* path) { return strnlen(path, CallPathLimit() + 1) <= CallPathLimit(); }
bool FitsCallName(const char* name) { return strnlen(name, CallNameLimit() + 1) <= CallNameLimit(); }

bool Widen(std::string_view text, unsigned code_page, std::wstring* out) {
  size_t at = out->size();
  // Most names are ASCII, which every code page the library meets writes as itself.
  if (IsAscii(text)) {
    out->resize(at + text.size());
    for (size_t i = 0; i < text.size(); ++i) (*out)[at + i] = static_cast<wchar_t>(text[i]);
    return true;
  }
  if (text.size() > 0x7FFFFFFF) return false;
  int n = MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return false;
  out->resize(at + static_cast<size_t>(n));
  return MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), &(*out)[at], n) == n;
}

bool Narrow(std::wstring_view text, unsigned code_page, std::string* out) {
  size_t at = out->size();
  if (IsAscii(text)) {
    out->resize(at + text.size());
    for (size_t i = 0; i < text.size(); ++i) (*out)[at + i] = static_cast<char>(text[i]);
    return true;
  }
  if (text.size() > 0x7FFFFFFF) return false;
  int n = WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return false;
  out->resize(at + static_cast<size_t>(n));
  return WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), &(*out)[at], n, nullptr,
                             nullptr) == n;
}

size_t NarrowInto(const wchar_t* text, char* out, size_t capacity) {
  if (capacity == 0) return 0;
  size_t i = 0;
  for (; text[i] != 0 && text[i] < 0x80; ++i) {
    if (i + 1 >= capacity) {
      out[i] = '\0';
      return i;
    }
    out[i] = static_cast<char>(text[i]);
  }
  if (text[i] == 0) {
    out[i] = '\0';
    return i;
  }
  std::string whole;
  if (!Narrow(std::wstring_view(text), CallCodePage(), &whole)) whole.clear();
  size_t n = whole.size();
  if (n + 1 > capacity) {
    // Cut at a character boundary: before a UTF-8 continuation byte or a lead byte's pair.
    n = capacity - 1;
    if (CurrentEncoding() == CallEncoding::kUtf8) {
      while (n > 0 && (static_cast<unsigned char>(whole[n]) & 0xC0) == 0x80) --n;
    } else {
      size_t k = 0;
      while (k < n) {
        size_t step = IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(whole[k])) ? 2 : 1;
        if (k + step > n) break;
        k += step;
      }
      n = k;
    }
  }
  memcpy(out, whole.data(), n);
  out[n] = '\0';
  return n;
}

}  // namespace vnk
