// JoinPath into an exact-size output block of every capacity: never a byte past it, the
// joining rules exactly, "" and -1 when the result does not fit; and a path split and
// joined again comes back unchanged.
#include "fuzz/fuzz_util.h"
#include "paths/join_kernel.h"

namespace {

bool EndsWithSep(std::string_view s, const vnk::LeadBytes& lead) {
  size_t last = std::string_view::npos;
  for (size_t i = 0; i < s.size(); ++i) {
    last = i;
    if (lead[static_cast<unsigned char>(s[i])] && i + 1 < s.size()) ++i;
  }
  return last == s.size() - 1 && (s[last] == '\\' || s[last] == '/');
}

std::string Reference(std::string_view drive, std::string_view dir, std::string_view name, std::string_view ext,
                      const vnk::LeadBytes& lead) {
  std::string out;
  if (!drive.empty()) out.append(1, drive[0]).append(":");
  if (!dir.empty()) {
    out.append(dir);
    if (!EndsWithSep(dir, lead)) out.append("\\");
  }
  out.append(name);
  if (!ext.empty()) {
    if (ext[0] != '.') out.append(".");
    out.append(ext);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  vnk::LeadBytes lead = vnk::fuzz::PickLeads(in);
  size_t capacity = in.ConsumeIntegralInRange<size_t>(0, 600);
  std::string drive = in.ConsumeRandomLengthString(4);
  std::string dir = in.ConsumeRandomLengthString(300);
  std::string name = in.ConsumeRandomLengthString(300);
  std::string ext = in.ConsumeRandomLengthString(300);

  std::unique_ptr<char[]> out(new char[capacity == 0 ? 1 : capacity]);
  int len = vnk::JoinPath(drive, dir, name, ext, lead, out.get(), capacity);
  std::string want = Reference(drive, dir, name, ext, lead);
  if (want.size() + 1 <= capacity) {
    FUZZ_CHECK(len == static_cast<int>(want.size()), "length %d, want %zu", len, want.size());
    FUZZ_CHECK(std::memcmp(out.get(), want.data(), want.size()) == 0 && out[want.size()] == '\0', "bytes");
  } else {
    FUZZ_CHECK(len == -1, "a result of %zu bytes reported as fitting %zu", want.size(), capacity);
    if (capacity > 0) FUZZ_CHECK(out[0] == '\0', "a refused join leaves \"\"");
  }

  // Split, then join: the same path.
  std::string path = drive + dir + name + ext;
  vnk::SplitParts p = vnk::SplitPath(path, lead);
  if (p.drive.size() + p.dir.size() + p.name.size() + p.ext.size() == path.size()) {
    char again[1300];
    int n = vnk::JoinPath(p.drive, p.dir, p.name, p.ext, lead, again, sizeof again);
    FUZZ_CHECK(n == static_cast<int>(path.size()) && path == std::string(again, path.size()), "split and join changed [%s] to [%s] (%zu %zu %zu %zu)",
               path.c_str(), again, p.drive.size(), p.dir.size(), p.name.size(), p.ext.size());
  }
  bool ends = vnk::EndsWithChar(dir, "\\/", lead);
  FUZZ_CHECK(ends == (!dir.empty() && EndsWithSep(dir, lead)), "EndsWithChar");
  return 0;
}
