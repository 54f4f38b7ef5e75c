// SplitPath: the four parts are consecutive pieces of the path (nothing lost, nothing
// invented, none cut short), and they follow the separator and dot rules
// with the second byte of a double-byte character never taken for either.
#include "fuzz/fuzz_util.h"
#include "paths/split_kernel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  vnk::LeadBytes lead = vnk::fuzz::PickLeads(in);
  std::string path = in.ConsumeRemainingBytesAsString();
  vnk::fuzz::ExactBytes raw(path);
  std::string_view view(raw.data(), raw.size());
  vnk::SplitParts p = vnk::SplitPath(view, lead);

  auto inside = [&](std::string_view part) {
    return part.empty() || (part.data() >= view.data() && part.data() + part.size() <= view.data() + view.size());
  };
  FUZZ_CHECK(inside(p.drive) && inside(p.dir) && inside(p.name) && inside(p.ext), "a part outside the path");
  bool has_drive = path.size() >= 2 && path[1] == ':';
  FUZZ_CHECK(p.drive == (has_drive ? view.substr(0, 2) : std::string_view()), "drive");

  size_t start = has_drive ? 2 : 0;
  // Where each part begins in the path; the parts follow one another.
  size_t dir_at = start;
  size_t dir_full = 0, name_full = 0, ext_full = 0;
  std::vector<bool> single = vnk::fuzz::SingleBytes(path, lead, start);
  size_t last_sep = std::string::npos, last_dot = std::string::npos;
  for (size_t i = start; i < path.size(); ++i) {
    if (!single[i]) continue;
    if (path[i] == '\\' || path[i] == '/') last_sep = i;
    else if (path[i] == '.') last_dot = i;
  }
  size_t name_at = last_sep == std::string::npos ? start : last_sep + 1;
  size_t ext_at = (last_dot != std::string::npos && last_dot >= name_at) ? last_dot : path.size();
  dir_full = name_at - dir_at;
  name_full = ext_at - name_at;
  ext_full = path.size() - ext_at;
  auto same = [&](std::string_view part, size_t at, size_t full) {
    return part.size() == full && (full == 0 || part.data() == view.data() + at);
  };
  FUZZ_CHECK(same(p.dir, dir_at, dir_full), "directory of [%s]", path.c_str());
  FUZZ_CHECK(same(p.name, name_at, name_full), "name");
  FUZZ_CHECK(same(p.ext, ext_at, ext_full), "extension");
  if (!p.dir.empty()) FUZZ_CHECK(dir_full > 0 && (path[name_at - 1] == '\\' || path[name_at - 1] == '/'), "dir end");
  if (!p.ext.empty()) FUZZ_CHECK(p.ext[0] == '.', "extension dot");
  FUZZ_CHECK(std::string(p.drive) + std::string(p.dir) + std::string(p.name) + std::string(p.ext) == path,
             "the parts do not add up to the path");
  return 0;
}
