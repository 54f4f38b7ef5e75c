// Path splitting: drive, directory, file name and extension, read byte by byte with the
// second byte of a double-byte character never taken for a separator or a dot.
#pragma once

#include <array>
#include <string_view>

namespace vnk {

// Which bytes begin a double-byte character in the code page the path is written in.
using LeadBytes = std::array<bool, 256>;

// Views into the split path, each part whole, so that the four always add up to the
// path; the drive is two characters ("C:") or empty. A caller whose own buffers or
// widths stop short of a long part refuses the path rather than cutting the part.
struct SplitParts {
  std::string_view drive;
  std::string_view dir;  // with its trailing separator
  std::string_view name;
  std::string_view ext;  // with its leading dot
};

// The drive is the first two characters when the second is ":"; in what follows, the
// directory runs through the last "\" or "/", the extension from the last "." after it.
SplitParts SplitPath(std::string_view path, const LeadBytes& lead);

// No double-byte characters (single-byte code pages).
const LeadBytes& SingleByteCodePage();

}  // namespace vnk
