// Path primitives.
#include "paths/path_kernel.h"

namespace vnk {

size_t TextUnits(std::string_view text, Units units) {
  if (units == Units::kBytes) return text.size();
  size_t n = 0;
  for (char c : text) n += ByteUnits(static_cast<unsigned char>(c), units);
  return n;
}

bool EndsWithSeparator(std::string_view path, const LeadBytes& lead) {
  bool last_is_separator = false;
  for (size_t i = 0; i < path.size();) {
    size_t n = CharLength(path, i, lead);
    last_is_separator = n == 1 && IsSeparator(path[i]);
    i += n;
  }
  return last_is_separator;
}

std::string JoinFolderAndName(std::string_view folder, std::string_view name, const LeadBytes& lead) {
  std::string path;
  path.reserve(folder.size() + 1 + name.size());
  path.append(folder);
  if (!folder.empty() && !EndsWithSeparator(folder, lead)) path.push_back('\\');
  path.append(name);
  return path;
}

}  // namespace vnk
