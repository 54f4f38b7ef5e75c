// The comparison rules and the table sort of cFileSort, checked against a plain
// comparison sort over random tables that stress the radix quicksort's corners.
#include "text/sort_kernel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace vnk {
namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

TEST(SortOrder, OnlyTheListedTypesChangeOrderOrCase) {
  for (int t : {1, 5}) EXPECT_FALSE(SortOrderOf(t).descending || SortOrderOf(t).fold) << t;
  for (int t : {2, 6}) EXPECT_TRUE(SortOrderOf(t).descending && !SortOrderOf(t).fold) << t;
  EXPECT_TRUE(!SortOrderOf(9).descending && SortOrderOf(9).fold);
  EXPECT_TRUE(SortOrderOf(10).descending && SortOrderOf(10).fold);
  for (int t : {0, 3, 4, 7, 8, 11, 12, 13, -1, -2, -32768, 32767})
    EXPECT_FALSE(SortOrderOf(static_cast<int16_t>(t)).descending || SortOrderOf(static_cast<int16_t>(t)).fold) << t;
}

// The first buffer of a whole input: the file and one byte, except where size_t cannot
// hold that (the i686 build from 2 GB on), where the request must fail to allocate
// rather than wrap around to a small buffer that the input would overrun.
TEST(SortInput, CapacityForEveryFileSizeTheAddressSpaceCanOrCannotHold) {
  EXPECT_EQ(SortInputCapacity(-1), 65536u);
  EXPECT_EQ(SortInputCapacity(0), 1u);
  EXPECT_EQ(SortInputCapacity(100), 101u);
  const bool narrow = sizeof(size_t) == 4;
  EXPECT_EQ(SortInputCapacity(0x7FFFFFFE), 0x7FFFFFFFu);
  EXPECT_EQ(SortInputCapacity(0x7FFFFFFF), narrow ? size_t{0x7FFFFFFF} : size_t{0x80000000});
  EXPECT_EQ(SortInputCapacity(0xFFFFFFFF), narrow ? size_t{0x7FFFFFFF} : static_cast<size_t>(0x100000000));
  EXPECT_EQ(SortInputCapacity(int64_t{5} << 32), narrow ? size_t{0x7FFFFFFF} : static_cast<size_t>((int64_t{5} << 32) + 1));
  EXPECT_EQ(SortInputCapacity(INT64_MAX), narrow ? size_t{0x7FFFFFFF} : static_cast<size_t>(INT64_MAX));
}

TEST(RecordKey, ArgumentChecksAndTheirOrder) {
  EXPECT_EQ(CheckRecordKey(10, 2, 3), 0);
  EXPECT_EQ(CheckRecordKey(10, 7, 3), 0);
  EXPECT_EQ(CheckRecordKey(10, 8, 3), SORT_KEY_OUTSIDE_RECORD);
  EXPECT_EQ(CheckRecordKey(10, -1, 3), SORT_KEY_OFFSET_NEGATIVE);
  EXPECT_EQ(CheckRecordKey(10, -1, 99), SORT_KEY_OFFSET_NEGATIVE);  // -3 is tested first
  // An open key length counts as -1: offsets up to record length + 1 pass.
  EXPECT_EQ(CheckRecordKey(10, 10, 0), 0);
  EXPECT_EQ(CheckRecordKey(10, 11, -5), 0);
  EXPECT_EQ(CheckRecordKey(10, 12, 0), SORT_KEY_OUTSIDE_RECORD);
  // No wrap-around in the sum.
  EXPECT_EQ(CheckRecordKey(10, INT_MAX, INT_MAX), SORT_KEY_OUTSIDE_RECORD);
  EXPECT_EQ(CheckRecordKey(INT_MAX, INT_MAX, 0), 0);
}

TEST(RecordKey, ClippedToTheRecord) {
  RecordKey k = RecordKeyOf(10, 2, 3);
  EXPECT_EQ(k.offset, 2u);
  EXPECT_EQ(k.length, 3u);
  k = RecordKeyOf(10, 4, 0);
  EXPECT_EQ(k.offset, 4u);
  EXPECT_EQ(k.length, 6u);
  EXPECT_EQ(RecordKeyOf(10, 10, 0).length, 0u);
  EXPECT_EQ(RecordKeyOf(10, 11, 0).length, 0u);
}

TEST(CompareLines, TheLineEndTakesPart) {
  EXPECT_LT(CompareLines("abc\n", "abc def\n", false), 0);
  EXPECT_LT(CompareLines("abc\t\n", "abc\n", false), 0);
  EXPECT_EQ(CompareLines("abc\n", "abc\n", false), 0);
  EXPECT_LT(CompareLines("A\n", "a\n", false), 0);
  EXPECT_GT(CompareLines("\xE9\n", "z\n", false), 0);  // unsigned bytes
}

TEST(CompareLines, NulIsAByteLikeAnyOther) {
  EXPECT_LT(CompareLines(std::string("a\0b\n", 4).c_str(), std::string("a\0c\n", 4).c_str(), false), 0);
  EXPECT_LT(CompareLines(std::string("a\0\n", 3).c_str(), std::string("a\n", 2).c_str(), false), 0);
}

TEST(CompareLines, FoldingTouchesOnlyAToZ) {
  EXPECT_EQ(CompareLines("ABC\n", "abc\n", true), 0);
  // Z folds to z (0x7A), above "[" (0x5B); unfolded it is below.
  EXPECT_GT(CompareLines("Z\n", "[\n", true), 0);
  EXPECT_LT(CompareLines("Z\n", "[\n", false), 0);
  EXPECT_NE(CompareLines("\xC9\n", "\xE9\n", true), 0);
  EXPECT_NE(CompareLines("@\n", "`\n", true), 0);
}

TEST(CompareKeys, KeyBytesOnlyAndASharedNulEndsTheKey) {
  RecordKey k{2, 3};
  EXPECT_LT(CompareKeys("zzabczz", "aaabdaa", k, false), 0);
  EXPECT_EQ(CompareKeys("zzabcZZ", "aaabcaa", k, false), 0);
  EXPECT_EQ(CompareKeys(std::string("xxa\0q", 5).c_str(), std::string("yya\0r", 5).c_str(), k, false), 0);
  EXPECT_LT(CompareKeys(std::string("xxa\0q", 5).c_str(), "yyabq", k, false), 0);
  EXPECT_EQ(CompareKeys("xxABC", "yyabc", k, true), 0);
  EXPECT_NE(CompareKeys("xxABC", "yyabc", k, false), 0);
  EXPECT_EQ(CompareKeys("abc", "xyz", RecordKey{3, 0}, false), 0);  // empty key
}

// Lines stored one after another in one block, as cFileSort reads them, with the table
// of their starts: every table sort can then take either table, whatever the allocator
// does with separate strings. (A vector's copy is a heap block of exactly its entries,
// so a sort that reads one entry past the table stops under AddressSanitizer.)
struct LineBlock {
  std::string text;
  std::vector<const char*> table;
};

LineBlock Store(const std::vector<std::string>& lines) {
  LineBlock b;
  std::vector<size_t> starts;
  for (const std::string& s : lines) {
    starts.push_back(b.text.size());
    b.text += s;
  }
  for (size_t at : starts) b.table.push_back(b.text.data() + at);
  return b;
}

// Random lines over a small alphabet that holds every byte the rules treat specially.
LineBlock RandomLines(size_t n, uint32_t seed, size_t max_len, size_t prefix) {
  static const char kBytes[] = {'\0', '\t', ' ', 'A', 'B', 'Z', '[', 'a', 'b', 'z', '\x7F', '\xC9', '\xE9', '\xFF'};
  std::mt19937 gen(seed);
  std::vector<std::string> lines;
  std::string common(prefix, 'q');
  for (size_t i = 0; i < n; ++i) {
    std::string s = common;
    size_t len = gen() % (max_len + 1);
    for (size_t j = 0; j < len; ++j) s += kBytes[gen() % sizeof kBytes];
    s += '\n';
    lines.push_back(s);
  }
  return Store(lines);
}

// Runs the checks once with the sort forced onto each of its tables (four key bytes per
// slot, and one byte at a time), then gives the choice back to the library. With the two
// vector levels of every test run, each table runs at each level on both architectures.
template <class Checks>
void UnderBothTables(Checks checks) {
  for (SortTable t : {SortTable::Words, SortTable::Bytes}) {
    SCOPED_TRACE(t == SortTable::Words ? "word table" : "byte-wise table");
    SetSortTable(t);
    checks();
  }
  SetSortTable(SortTable::Auto);
}

void ExpectSortedPermutation(std::vector<const char*> table, const std::vector<const char*>& original,
                             SortOrder order, const std::function<int(const char*, const char*)>& cmp) {
  for (size_t i = 1; i < table.size(); ++i) {
    int c = Sign(cmp(table[i - 1], table[i]));
    ASSERT_LE(order.descending ? -c : c, 0) << "out of order at " << i;
  }
  std::vector<const char*> a = table, b = original;
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  ASSERT_EQ(a, b) << "not a permutation";
}

TEST(SortLines, AgreesWithTheComparisonForEveryOrder) {
  struct Shape {
    size_t n, max_len, prefix;
  } shapes[] = {{0, 4, 0}, {1, 4, 0}, {2, 4, 0}, {13, 3, 0}, {3000, 6, 0}, {3000, 1, 0}, {2000, 40, 300}, {5000, 0, 0}};
  uint32_t seed = 1;
  for (const Shape& shape : shapes) {
    const LineBlock lines = RandomLines(shape.n, seed++, shape.max_len, shape.prefix);
    const std::vector<const char*>& original = lines.table;
    UnderBothTables([&] {
      for (int type : {1, 2, 9, 10}) {
        SortOrder order = SortOrderOf(static_cast<int16_t>(type));
        std::vector<const char*> table = original;
        SortLines(table.data(), table.size(), order);
        ExpectSortedPermutation(table, original, order,
                                [&](const char* a, const char* b) { return CompareLines(a, b, order.fold); });
      }
    });
  }
}

TEST(SortLines, AlreadySortedReversedAndOrganPipeInputs) {
  // Shapes that break naive pivots; the sort must stay correct (and, by its fallback,
  // never quadratic).
  std::vector<std::string> numbers;
  for (int i = 0; i < 20000; ++i) numbers.push_back(std::to_string(100000 + i) + "\n");
  const LineBlock lines = Store(numbers);
  std::vector<const char*> up = lines.table, down(up.rbegin(), up.rend()), pipe;
  for (size_t i = 0; i < up.size(); i += 2) pipe.push_back(up[i]);
  for (size_t i = up.size() - 1; i < up.size(); i -= 2) pipe.push_back(up[i]);
  UnderBothTables([&] {
    for (const auto* shape : {&up, &down, &pipe}) {
      std::vector<const char*> table = *shape;
      SortLines(table.data(), table.size(), SortOrder{});
      ExpectSortedPermutation(table, *shape, SortOrder{}, [](const char* a, const char* b) { return CompareLines(a, b, false); });
    }
  });
}

TEST(SortRecords, AgreesWithTheKeyComparison) {
  std::mt19937 gen(7);
  const size_t record = 9;
  std::string data;
  static const char kBytes[] = {'\0', 'A', 'a', 'b', 'B', '\xE9'};
  for (int i = 0; i < 4000 * static_cast<int>(record); ++i) data += kBytes[gen() % sizeof kBytes];
  std::vector<const char*> original;
  for (size_t i = 0; i < 4000; ++i) original.push_back(data.data() + i * record);
  UnderBothTables([&] {
    for (RecordKey key : {RecordKey{0, 9}, RecordKey{2, 3}, RecordKey{8, 1}, RecordKey{0, 0}}) {
      for (int type : {1, 2, 9, 10}) {
        SortOrder order = SortOrderOf(static_cast<int16_t>(type));
        std::vector<const char*> table = original;
        SortRecords(table.data(), table.size(), key, order);
        ExpectSortedPermutation(table, original, order,
                                [&](const char* a, const char* b) { return CompareKeys(a, b, key, order.fold); });
      }
    }
  });
}

}  // namespace
}  // namespace vnk
