// The shared path rules and the ASCII comparisons: every folder part ends at a separator
// that is a character of its own, the trimmed folder never ends in one, the drive-and-
// folder length agrees with the path split, the limits agree with the length, and the
// case-insensitive comparison is an order.
#include "frame/ascii_kernel.h"
#include "fuzz/fuzz_util.h"
#include "paths/rules_kernel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  vnk::LeadBytes lead = vnk::fuzz::PickLeads(in);
  std::string a = in.ConsumeRandomLengthString(600);
  std::string path = in.ConsumeRemainingBytesAsString();
  vnk::fuzz::ExactBytes raw(path);
  std::string_view view(raw.data(), raw.size());
  std::vector<bool> single = vnk::fuzz::SingleBytes(view, lead);

  size_t part = vnk::FolderPartLength(view, lead);
  FUZZ_CHECK(part <= view.size(), "folder part beyond the pattern");
  if (part > 0) FUZZ_CHECK(view[part - 1] == '\\' && single[part - 1], "folder part ends inside a character");
  for (size_t i = part; i < view.size(); ++i)
    FUZZ_CHECK(!(single[i] && view[i] == '\\'), "a backslash after the folder part");

  vnk::SplitParts split = vnk::SplitPath(view, lead);
  FUZZ_CHECK(vnk::DriveAndFolderLength(view, lead) == split.drive.size() + split.dir.size(), "drive and folder");

  // The NUL-terminated questions read the text up to its first NUL.
  std::string text(path.c_str());
  size_t trimmed = vnk::TrimmedFolderLength(text.c_str(), lead);
  FUZZ_CHECK(trimmed <= text.size(), "trimmed folder longer than the folder");
  std::vector<bool> text_single = vnk::fuzz::SingleBytes(text, lead);
  for (size_t i = trimmed; i < text.size(); ++i)
    FUZZ_CHECK(text_single[i] && text[i] == '\\', "trimmed a character that is no backslash");
  FUZZ_CHECK(vnk::FitsPathBuffer(text.c_str()) == (text.size() <= vnk::MAX_PATH_CHARS), "path limit");
  FUZZ_CHECK(vnk::FitsNameBuffer(text.c_str()) == (text.size() <= vnk::NAME_BUFFER_CHARS), "name limit");
  FUZZ_CHECK(vnk::StatusQueryRefuses(text.c_str()) ==
                 (text.find_first_of("*?") != std::string::npos || (text.size() == 2 && text[1] == ':')),
             "status refusal");
  (void)vnk::IsRoot(text.c_str());

  int ab = vnk::CompareIgnoringCase(a.c_str(), text.c_str());
  int ba = vnk::CompareIgnoringCase(text.c_str(), a.c_str());
  FUZZ_CHECK((ab < 0) == (ba > 0) && (ab == 0) == (ba == 0), "comparison not antisymmetric");
  FUZZ_CHECK((ab == 0) == vnk::SameNameIgnoringCase(a.c_str(), text.c_str()), "equality");
  return 0;
}
