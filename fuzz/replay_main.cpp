// Runs a fuzz target once over the empty input and every file of the given corpus
// folders, without the fuzzer's engine: the replay that ctest runs in every build, so
// that an input which once found a fault keeps guarding against it. A failed check
// aborts, and the sanitizers stop a read or write past a buffer, as under the fuzzer.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

// Each input in a heap block of exactly its size (a valid pointer even when empty), as
// the fuzzer passes it.
void RunOne(const std::vector<char>& bytes) {
  std::unique_ptr<uint8_t[]> exact(new uint8_t[bytes.size()]);
  std::copy(bytes.begin(), bytes.end(), exact.get());
  LLVMFuzzerTestOneInput(exact.get(), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  RunOne({});
  size_t runs = 1;
  for (int a = 1; a < argc; ++a) {
    std::error_code ec;
    if (!fs::is_directory(argv[a], ec)) {
      std::printf("%s: no corpus folder, only the empty input\n", argv[a]);
      continue;
    }
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(argv[a]))
      if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
      std::ifstream in(file, std::ios::binary);
      std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      if (!in.eof() && in.fail()) {
        std::fprintf(stderr, "%s: cannot read\n", file.c_str());
        return 1;
      }
      RunOne(bytes);
      ++runs;
    }
  }
  std::printf("%zu inputs replayed\n", runs);
  return 0;
}
