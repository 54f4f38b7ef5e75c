// The native kernel tests run twice: first with the SSE2 paths (where the processor has
// them), then with the plain loops an older processor runs, so every case holds for both.
#include <gtest/gtest.h>

#include <cstdio>

#include "frame/cpu_kernel.h"

namespace {

// Even passes run the vector paths, odd passes the plain loops.
class LevelPerPass : public testing::EmptyTestEventListener {
  void OnTestIterationStart(const testing::UnitTest&, int pass) override {
    vnk::SetVectorLevel(pass % 2 == 0 ? vnk::VectorLevel::Sse2 : vnk::VectorLevel::Plain);
    std::printf("[ kernels  ] %s\n",
                vnk::CurrentVectorLevel() == vnk::VectorLevel::Sse2 ? "SSE2 paths" : "plain loops");
  }
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(repeat) == 1) GTEST_FLAG_SET(repeat, 2);
  testing::UnitTest::GetInstance()->listeners().Append(new LevelPerPass);
  return RUN_ALL_TESTS();
}
