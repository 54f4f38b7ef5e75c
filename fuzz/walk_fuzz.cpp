// The tree walk's order: WalkCompare is a total order (antisymmetric, zero only for equal
// paths, consistent with a plain reading of the rule), a folder sorts before everything
// below it, and SortSlots leaves a slot table sorted and holding the same paths.
#include <algorithm>

#include "fuzz/fuzz_util.h"
#include "scan/walk_kernel.h"

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

unsigned char Fold(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

int Reference(const std::string& a, const std::string& b) {
  for (size_t i = 0;; ++i) {
    unsigned char x = i < a.size() ? Fold(a[i]) : 0, y = i < b.size() ? Fold(b[i]) : 0;
    if (x != y) return x < y ? -1 : 1;
    if (x == 0) break;
  }
  return a == b ? 0 : (a < b ? -1 : 1);  // std::string compares as unsigned bytes
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  size_t count = in.ConsumeIntegralInRange<size_t>(0, 40);
  std::vector<std::string> paths;
  for (size_t i = 0; i < count && in.remaining_bytes() > 0; ++i) {
    std::string p = vnk::fuzz::TextArg(in, vnk::WALK_PATH_CHARS);
    // Now and then a folder and one below it.
    if (!paths.empty() && in.ConsumeBool()) p = paths.back().substr(0, 60) + "\\" + p.substr(0, 60);
    paths.push_back(p.substr(0, vnk::WALK_PATH_CHARS));
  }
  for (size_t i = 0; i < paths.size(); ++i) {
    vnk::fuzz::ExactString a(paths[i]);
    FUZZ_CHECK(vnk::WalkCompare(a.c_str(), a.c_str()) == 0, "a path against itself");
    if (i == 0) continue;
    vnk::fuzz::ExactString b(paths[i - 1]);
    int ab = vnk::WalkCompare(a.c_str(), b.c_str()), ba = vnk::WalkCompare(b.c_str(), a.c_str());
    FUZZ_CHECK(Sign(ab) == -Sign(ba), "not antisymmetric");
    FUZZ_CHECK(Sign(ab) == Reference(paths[i], paths[i - 1]), "order of [%s] and [%s]", paths[i].c_str(),
               paths[i - 1].c_str());
    const std::string& s = paths[i];
    const std::string& t = paths[i - 1];
    if (s.size() > t.size() && s.compare(0, t.size(), t) == 0 && s[t.size()] == '\\')
      FUZZ_CHECK(ab > 0, "a folder must sort before what lies below it");
  }

  std::vector<char> table(paths.size() * vnk::WALK_SLOT_SIZE + 1, '\x7f');  // a guard byte after the table
  for (size_t i = 0; i < paths.size(); ++i) {
    std::memset(&table[i * vnk::WALK_SLOT_SIZE], 0, vnk::WALK_SLOT_SIZE);
    std::memcpy(&table[i * vnk::WALK_SLOT_SIZE], paths[i].data(), paths[i].size());
  }
  vnk::SortSlots(table.data(), paths.size());
  FUZZ_CHECK(table.back() == '\x7f', "the sort wrote past the table");
  std::vector<std::string> sorted;
  for (size_t i = 0; i < paths.size(); ++i) sorted.emplace_back(&table[i * vnk::WALK_SLOT_SIZE]);
  for (size_t i = 1; i < sorted.size(); ++i)
    FUZZ_CHECK(vnk::WalkCompare(sorted[i - 1].c_str(), sorted[i].c_str()) <= 0, "unsorted at %zu", i);
  std::vector<std::string> a = paths, b = sorted;
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  FUZZ_CHECK(a == b, "the sort lost or changed a path");

  std::string name = vnk::fuzz::TextArg(in, 4);
  vnk::fuzz::ExactString n(name);
  FUZZ_CHECK(vnk::IsSelfOrParent(n.c_str()) == (name == "." || name == ".."), "self or parent");
  return 0;
}
