// Shared lexical path rules.
#include "paths/rules_kernel.h"

#include <cstring>

#include "paths/path_kernel.h"

namespace vnk {

bool FitsChars(const char* text, size_t limit) { return strnlen(text, limit + 1) <= limit; }

bool HasWildcards(const char* name) { return std::strpbrk(name, "*?") != nullptr; }

bool IsBareDrive(const char* name) { return name[0] != '\0' && name[1] == ':' && name[2] == '\0'; }

bool IsBareDrive(std::string_view name) { return name.size() == 2 && name[1] == ':'; }

bool StatusQueryRefuses(const char* name) { return HasWildcards(name) || IsBareDrive(name); }

bool IsRoot(const char* full) {
  size_t n = strlen(full);
  if (n == 3 && full[1] == ':' && IsSeparator(full[2])) return true;
  if (n < 5 || full[0] != '\\' || full[1] != '\\') return false;
  const char* server_end = strchr(full + 2, '\\');
  if (server_end == nullptr || server_end == full + 2) return false;
  const char* share = server_end + 1;
  const char* share_end = strchr(share, '\\');
  if (share_end == share) return false;
  return share_end == nullptr || share_end[1] == '\0';
}

size_t FolderPartLength(std::string_view pattern, const LeadBytes& lead) {
  size_t part = 0;
  for (size_t i = 0, n; i < pattern.size(); i += n) {
    n = CharLength(pattern, i, lead);
    if (n == 1 && pattern[i] == '\\') part = i + 1;
  }
  return part;
}

size_t DriveAndFolderLength(std::string_view path, const LeadBytes& lead) {
  SplitParts parts = SplitPath(path, lead);
  return parts.drive.size() + parts.dir.size();
}

size_t TrimmedFolderLength(const char* folder, const LeadBytes& lead) {
  std::string_view text(folder);
  size_t keep = 0;
  for (size_t i = 0, n; i < text.size(); i += n) {
    n = CharLength(text, i, lead);
    if (n != 1 || text[i] != '\\') keep = i + n;
  }
  return keep;
}

}  // namespace vnk
