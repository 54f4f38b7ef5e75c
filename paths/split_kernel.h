// Path splitting: drive, directory, file name and extension, read byte by byte with the
// second byte of a double-byte character never taken for a separator or a dot.
#pragma once

#include <array>
#include <string_view>

namespace vnk {

// Which bytes begin a double-byte character in the code page the path is written in.
using LeadBytes = std::array<bool, 256>;

// Views into the split path. Directory, file name and extension are cut to their first
// PART_CHARS characters; the drive is two characters ("C:") or empty.
struct SplitParts {
  std::string_view drive;
  std::string_view dir;  // with its trailing separator
  std::string_view name;
  std::string_view ext;  // with its leading dot
};
constexpr size_t PART_CHARS = 255;

// The drive is the first two characters when the second is ":"; in what follows, the
// directory runs through the last "\" or "/", the extension from the last "." after it.
SplitParts SplitPath(std::string_view path, const LeadBytes& lead);

// No double-byte characters (single-byte code pages).
const LeadBytes& SingleByteCodePage();

}  // namespace vnk
