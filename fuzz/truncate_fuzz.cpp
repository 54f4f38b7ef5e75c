// TruncatePath against the shortening written out step by step, plus what a caller
// relies on: the result is the path, or exactly the width long when there is room for
// the directory, and keeps drive, name and extension whole.
#include "fuzz/fuzz_util.h"
#include "paths/truncate_kernel.h"
#include "paths/validate_kernel.h"

namespace {

std::string Reference(const std::string& path, int32_t width, const vnk::LeadBytes& lead) {
  if (vnk::ValidateFileName(path.c_str()) != -1 || width < 25) return "";
  vnk::SplitParts p = vnk::SplitPath(path, lead);
  if (p.dir.size() > 255 || p.name.size() > 255 || p.ext.size() > 255 || width > 255)
    return path.size() <= static_cast<size_t>(width) ? path : std::string();
  if (path.size() <= static_cast<size_t>(width)) return path;
  long budget = static_cast<long>(width) - static_cast<long>(p.ext.size() + p.name.size() + p.drive.size());
  std::string kept = (!p.dir.empty() && p.dir[0] == '\\') ? "\\" : "";
  // Components: cut at every backslash that starts a character.
  std::vector<std::string> components;
  std::string current;
  for (size_t i = 0; i < p.dir.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(p.dir[i]);
    if (c == '\\') {
      if (!current.empty()) components.push_back(current);
      current.clear();
      continue;
    }
    current.push_back(static_cast<char>(c));
    if (lead[c] && i + 1 < p.dir.size()) current.push_back(p.dir[++i]);
  }
  if (!current.empty()) components.push_back(current);
  for (const std::string& c : components)
    if (static_cast<long>(kept.size() + c.size()) < budget) kept += c + "\\";
  if (!kept.empty() && kept.back() == '\\') kept.back() = '.';
  while (static_cast<long>(kept.size()) < budget) kept.push_back('.');
  return std::string(p.drive) + kept + std::string(p.name) + std::string(p.ext);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  vnk::LeadBytes lead = vnk::fuzz::PickLeads(in);
  int32_t width = in.ConsumeBool() ? in.ConsumeIntegralInRange<int32_t>(20, 300) : in.ConsumeIntegral<int32_t>();
  std::string path = vnk::fuzz::TextArg(in, 700);
  vnk::fuzz::ExactString arg(path);
  std::string got = vnk::TruncatePath(arg.c_str(), width, lead);
  std::string want = Reference(path, width, lead);
  FUZZ_CHECK(got == want, "[%s] width %d:\n got [%s]\nwant [%s]", path.c_str(), width, got.c_str(), want.c_str());
  if (got.empty() || got == path) return 0;
  vnk::SplitParts p = vnk::SplitPath(path, lead);
  std::string tail = std::string(p.name) + std::string(p.ext);
  FUZZ_CHECK(got.compare(0, p.drive.size(), p.drive) == 0, "drive kept");
  FUZZ_CHECK(got.size() >= tail.size() && got.compare(got.size() - tail.size(), tail.size(), tail) == 0, "name kept");
  long budget = static_cast<long>(width) - static_cast<long>(p.drive.size() + tail.size());
  if (budget >= 1) FUZZ_CHECK(got.size() == static_cast<size_t>(width), "length %zu for width %d", got.size(), width);
  // Shortening never lengthens: with no room for the directory it shrinks to one dot.
  FUZZ_CHECK(got.size() <= path.size(), "a shortened path longer than the path");
  return 0;
}
