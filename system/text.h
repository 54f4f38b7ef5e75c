// The encoding of the text a call hands the library. The ANSI exports take and return
// names in the process's ANSI code page; their Unicode twins (cNameW) take UTF-16, which
// the twin turns into UTF-8 before running the same body. Inside, a call's names and
// paths are byte strings in that one encoding, so the path rules and the byte-string
// code are the same for both; only the system layer (system/fs.h), which talks to the
// platform's wide-character services, the lead-byte table and the path limits ask which
// it is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>


namespace vnk {

enum class CallEncoding : uint8_t { kAnsi, kUtf8 };

// The encoding of the calling thread's current call: kAnsi unless a twin set kUtf8.
CallEncoding CurrentEncoding();

// Sets the thread's call encoding for one call and puts the previous one back.
class EncodingScope {
 public:
  explicit EncodingScope(CallEncoding encoding);
  ~EncodingScope();
  EncodingScope(const EncodingScope&) = delete;
  EncodingScope& operator=(const EncodingScope&) = delete;

 private:
  CallEncoding previous_;
};

// The Windows code page of the call's names: CP_ACP or CP_UTF8.
unsigned CallCodePage();

// The longest path (bytes) and the longest name a call takes. An ANSI call keeps the
// 259 characters and 255-character names of the Windows ANSI services; a twin's path may
// have as many UTF-16 units as the platform allows (32,767), a name 255, each unit at
// most three UTF-8 bytes.
constexpr size_t kWidePathUnits = 32767;
size_t CallPathLimit();
size_t CallNameLimit();

// True when the path fits the call's limit; no more than limit + 1 bytes are read.
bool FitsCallPath(const char* path);
bool FitsCallName(const char* name);

// Code page conversions. Widen and Narrow append to out and return false when the text
// cannot be converted (bytes that are no character of the code page, memory).
bool Widen(std::string_view text, unsigned code_page, std::wstring* out);
bool Narrow(std::wstring_view text, unsigned code_page, std::string* out);

// A wide NUL-terminated string into a byte buffer in the call's encoding, cut at a
// character boundary when it does not fit. Returns the bytes written (no terminator).
size_t NarrowInto(const wchar_t* text, char* out, size_t capacity);

}  // namespace vnk
