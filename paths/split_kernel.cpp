// Path splitting.
#include "paths/split_kernel.h"

#include "paths/path_kernel.h"

namespace vnk {

SplitParts SplitPath(std::string_view path, const LeadBytes& lead) {
  SplitParts parts;
  size_t start = 0;
  if (path.size() >= 2 && path[1] == ':') {
    parts.drive = path.substr(0, 2);
    start = 2;
  }
  size_t last_sep = std::string_view::npos, last_dot = std::string_view::npos;
  // A trail byte may have any value, separators' and dots' included: only single-byte
  // characters are looked at.
  for (size_t i = start, n; i < path.size(); i += n) {
    n = CharLength(path, i, lead);
    if (n != 1) continue;
    if (IsSeparator(path[i])) last_sep = i;
    else if (path[i] == '.') last_dot = i;
  }
  size_t name_start = last_sep == std::string_view::npos ? start : last_sep + 1;
  size_t ext_start = (last_dot != std::string_view::npos && last_dot >= name_start) ? last_dot : path.size();
  parts.dir = path.substr(start, name_start - start);
  parts.name = path.substr(name_start, ext_start - name_start);
  parts.ext = path.substr(ext_start);
  return parts;
}

const LeadBytes& SingleByteCodePage() {
  static const LeadBytes none{};
  return none;
}

}  // namespace vnk
