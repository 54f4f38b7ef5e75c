// DriveRoot: looks at no more than three characters, always leaves a terminated root
// name of at most three characters and follows the length rule.
#include "disk/root_kernel.h"
#include "fuzz/fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  // Three characters and no terminator is a whole argument for DriveRoot; a shorter
  // one needs its terminator.
  if (text.size() < 3 && text.find('\0') == std::string::npos) text.push_back('\0');
  vnk::fuzz::ExactBytes raw(text);
  vnk::RootName root = vnk::DriveRoot(raw.data());
  size_t len = strnlen(text.c_str(), 3);
  std::string arg = text.substr(0, len);
  std::string want = len == 1 ? arg + ":\\" : len == 2 ? arg + "\\" : arg;
  FUZZ_CHECK(strnlen(root.text, sizeof root.text) == want.size(), "length");
  FUZZ_CHECK(std::string(root.text) == want, "root of [%s]", arg.c_str());
  return 0;
}
