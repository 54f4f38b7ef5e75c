// Path truncation.
#include "paths/truncate_kernel.h"

#include <cstring>
#include <string_view>

#include "paths/validate_kernel.h"

namespace vnk {

// The widest result the shortening itself produces, and the longest directory, file name
// or extension it works on.
constexpr int32_t kMaxTruncatedWidth = 255;
constexpr size_t kMaxPartChars = 255;

std::string TruncatePath(const char* path, int32_t width, const LeadBytes& lead) {
  if (ValidateFileName(path) != NAME_VALID) return {};
  if (width < TRUNCATE_MIN_WIDTH) return {};
  std::string_view full(path);
  SplitParts p = SplitPath(full, lead);
  bool long_part = p.dir.size() > kMaxPartChars || p.name.size() > kMaxPartChars || p.ext.size() > kMaxPartChars;

  // A part longer than the shortening works on, or a width beyond what it serves: the
  // path is either given back whole or not at all, never cut short of its own text.
  if (long_part || width > kMaxTruncatedWidth)
    return full.size() <= static_cast<size_t>(width) ? std::string(full) : std::string();
  if (full.size() <= static_cast<size_t>(width)) return std::string(full);

  // The budget left for the directory; zero or less when drive, name and extension take
  // the whole width.
  int32_t budget = width - static_cast<int32_t>(p.ext.size() + p.name.size() + p.drive.size());

  std::string kept;
  if (!p.dir.empty() && p.dir[0] == '\\') kept = "\\";
  // Components from the left; one that does not fit is skipped, but a later, shorter one
  // may still be kept. Runs of backslashes are one separator, and a backslash value in
  // the second byte of a double-byte character is no separator.
  size_t i = 0;
  while (i < p.dir.size()) {
    while (i < p.dir.size() && p.dir[i] == '\\') ++i;
    size_t start = i;
    while (i < p.dir.size() && p.dir[i] != '\\') {
      if (lead[static_cast<unsigned char>(p.dir[i])] && i + 1 < p.dir.size()) ++i;
      ++i;
    }
    size_t len = i - start;
    if (len == 0) break;
    if (static_cast<int32_t>(kept.size() + len) < budget) {
      kept.append(p.dir.substr(start, len));
      kept.push_back('\\');
    }
  }
  // The dots stand at the end of the kept directory text, directly before the name.
  if (!kept.empty() && kept.back() == '\\') kept.back() = '.';
  if (static_cast<int32_t>(kept.size()) < budget) kept.append(static_cast<size_t>(budget) - kept.size(), '.');

  std::string out;
  out.reserve(p.drive.size() + kept.size() + p.name.size() + p.ext.size());
  out.append(p.drive).append(kept).append(p.name).append(p.ext);
  return out;
}

}  // namespace vnk
