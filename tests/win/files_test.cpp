#include "tests/win/harness.h"
TEST(Smoke, Loads) { EXPECT_NE(vnk::test::dll().module, nullptr); }
