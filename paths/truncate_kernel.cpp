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

std::string TruncatePath(const char* path, int32_t width, const LeadBytes& lead, Units units) {
  if (ValidateFileName(path, units) != NAME_VALID) return {};
  auto size = [units](std::string_view part) { return TextUnits(part, units); };
  if (width < TRUNCATE_MIN_WIDTH) return {};
  std::string_view full(path);
  SplitParts p = SplitPath(full, lead);
  bool long_part = size(p.dir) > kMaxPartChars || size(p.name) > kMaxPartChars || size(p.ext) > kMaxPartChars;

  // A part longer than the shortening works on, or a width beyond what it serves: the
  // path is either given back whole or not at all, never cut short of its own text.
  if (long_part || width > kMaxTruncatedWidth)
    return size(full) <= static_cast<size_t>(width) ? std::string(full) : std::string();
  if (size(full) <= static_cast<size_t>(width)) return std::string(full);

  // The budget left for the directory; zero or less when drive, name and extension take
  // the whole width.
  int32_t budget = width - static_cast<int32_t>(size(p.ext) + size(p.name) + size(p.drive));

  std::string kept;
  if (!p.dir.empty() && p.dir[0] == '\\') kept = "\\";
  size_t kept_units = kept.size();
  // Components from the left; one that does not fit is skipped, but a later, shorter one
  // may still be kept. Runs of backslashes are one separator, and a backslash value in
  // the second byte of a double-byte character is no separator.
  size_t i = 0;
  while (i < p.dir.size()) {
    while (i < p.dir.size() && p.dir[i] == '\\') ++i;
    size_t start = i;
    while (i < p.dir.size() && p.dir[i] != '\\') i += CharLength(p.dir, i, lead);
    if (i == start) break;
    size_t len = size(p.dir.substr(start, i - start));
    if (static_cast<int32_t>(kept_units + len) < budget) {
      kept_units += len + 1;
      kept.append(p.dir.substr(start, i - start));
      kept.push_back('\\');
    }
  }
  // The dots stand at the end of the kept directory text, directly before the name.
  if (!kept.empty() && kept.back() == '\\') kept.back() = '.';
  if (static_cast<int32_t>(kept_units) < budget) kept.append(static_cast<size_t>(budget) - kept_units, '.');

  std::string out;
  out.reserve(p.drive.size() + kept.size() + p.name.size() + p.ext.size());
  out.append(p.drive).append(kept).append(p.name).append(p.ext);
  return out;
}

}  // namespace vnk
