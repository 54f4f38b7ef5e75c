// The listings' attribute filter, including the plain-file cases (attribute word 0) that
// the platform under test never reports for a real file.
#include <gtest/gtest.h>

#include "lists/attr_filter_kernel.h"

namespace vnk {
namespace {

constexpr uint32_t RO = 0x01, HID = 0x02, SYS = 0x04, DIR = 0x10, ARC = 0x20, CMP = 0x800;

TEST(FilterTakes, FoldersNeverWhateverTheFilter) {
  for (int f : {255, 254, 0, 1, 16, 127, -16, -1, 200})
    EXPECT_FALSE(FilterTakes(DIR, static_cast<int16_t>(f))) << f;
  EXPECT_FALSE(FilterTakes(DIR | ARC, 255));
}

TEST(FilterTakes, AllAndArchiveOrPlain) {
  for (uint32_t a : {0u, RO, HID | SYS, ARC, CMP, RO | HID | SYS | ARC | CMP}) EXPECT_TRUE(FilterTakes(a, 255)) << a;
  EXPECT_TRUE(FilterTakes(0, 254));
  EXPECT_TRUE(FilterTakes(ARC, 254));
  EXPECT_TRUE(FilterTakes(HID, 254));  // agrees with 0x20 in its clear read-only bit
  // Only a compressed entry with every other filter bit set and archive clear disagrees
  // with 0x20 in all five bits.
  EXPECT_FALSE(FilterTakes(CMP | RO | HID | SYS, 254));
  EXPECT_TRUE(FilterTakes(CMP | RO | HID | SYS | ARC, 254));
}

TEST(FilterTakes, PositiveFiltersTakeEveryUncompressedEntry) {
  for (int f : {1, 2, 4, 32, 33, 127})
    for (uint32_t a : {0u, RO, HID, SYS, ARC, RO | HID | SYS | ARC})
      EXPECT_TRUE(FilterTakes(a, static_cast<int16_t>(f))) << f << " " << a;
  // Compressed: taken only when some other filter bit agrees.
  EXPECT_TRUE(FilterTakes(CMP, 2));              // read-only clear in both
  EXPECT_FALSE(FilterTakes(CMP | 0x27, 0));      // filter 0 wants a plain file
  EXPECT_FALSE(FilterTakes(CMP | HID | SYS | RO | ARC, 0));
  EXPECT_FALSE(FilterTakes(CMP | RO | SYS | ARC, 2));  // all five bits disagree with 0x02
  EXPECT_TRUE(FilterTakes(CMP | RO | SYS | ARC | HID, 2));
}

TEST(FilterTakes, NegativeFiltersAreExact) {
  EXPECT_TRUE(FilterTakes(HID, -2));
  EXPECT_FALSE(FilterTakes(HID | ARC, -2));
  EXPECT_FALSE(FilterTakes(0, -2));
  EXPECT_TRUE(FilterTakes(RO | ARC, -33));
  EXPECT_FALSE(FilterTakes(ARC, -33));
  EXPECT_FALSE(FilterTakes(RO | ARC | HID, -33));
  EXPECT_FALSE(FilterTakes(RO | ARC | CMP, -33));
  EXPECT_TRUE(FilterTakes(ARC | CMP, -0x820));
  // Bits outside the five do not matter either way.
  EXPECT_TRUE(FilterTakes(ARC | 0x100, -32));
  EXPECT_TRUE(FilterTakes(ARC, -(32 | 0x100)));
  // -32768: the mask 0x8000 has no filter bit, so only entries with none are taken.
  EXPECT_TRUE(FilterTakes(0, -32768));
  EXPECT_TRUE(FilterTakes(0x80, -32768));
  EXPECT_FALSE(FilterTakes(ARC, -32768));
}

TEST(FilterTakes, ZeroTakesOnlyPlainFiles) {
  EXPECT_TRUE(FilterTakes(0, 0));
  EXPECT_FALSE(FilterTakes(ARC, 0));
  EXPECT_FALSE(FilterTakes(0x100, 0));
}

TEST(FilterTakes, OtherValuesTakeNothing) {
  for (int f : {128, 200, 253, 256, 1000, 32767})
    for (uint32_t a : {0u, ARC, RO | HID | SYS | ARC | CMP}) EXPECT_FALSE(FilterTakes(a, static_cast<int16_t>(f))) << f;
}

}  // namespace
}  // namespace vnk
