// Path joining.
#include "paths/join_kernel.h"

#include <cstring>

#include "paths/path_kernel.h"

namespace vnk {

bool EndsWithChar(std::string_view text, std::string_view seps, const LeadBytes& lead) {
  if (text.empty()) return false;
  // Walk from the start: only there is it known where each character begins.
  size_t last = 0;
  for (size_t i = 0; i < text.size(); i += CharLength(text, i, lead)) last = i;
  return last == text.size() - 1 && seps.find(text[last]) != std::string_view::npos;
}

int JoinPath(std::string_view drive, std::string_view dir, std::string_view name, std::string_view ext,
             const LeadBytes& lead, char* out, size_t capacity) {
  size_t len = 0;
  bool fits = true;
  auto put = [&](std::string_view s) {
    if (!fits || s.size() >= capacity - len) {
      fits = false;
      return;
    }
    std::memcpy(out + len, s.data(), s.size());
    len += s.size();
  };
  if (capacity == 0) return -1;
  if (!drive.empty()) {
    put(drive.substr(0, 1));  // only the letter counts; the colon is always our own
    put(":");
  }
  if (!dir.empty()) {
    put(dir);
    if (!EndsWithChar(dir, "\\/", lead)) put("\\");
  }
  put(name);
  if (!ext.empty()) {
    if (ext[0] != '.') put(".");
    put(ext);
  }
  if (!fits) {
    out[0] = '\0';
    return -1;
  }
  out[len] = '\0';
  return static_cast<int>(len);
}

}  // namespace vnk
