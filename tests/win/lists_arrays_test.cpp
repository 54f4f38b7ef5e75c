// cArrayOnDisk and cArrayStringOnDisk: exact file bytes both ways, units of 32768
// bytes, every refusal before a file is touched, and what failures leave behind.
#include <cstring>

#include "host/host_args.h"
#include "tests/win/harness.h"

namespace vnk::test {
namespace {

std::string Le16(int16_t v) { return std::string(reinterpret_cast<const char*>(&v), 2); }

TEST(ArrayOnDisk, IntegerArrayOfTen) {
  TempDir d;
  std::string file = d / "ints.dat";
  HostArray a(VT_I2, 0, 10);
  auto* v = static_cast<int16_t*>(a.data());
  std::string expect;
  for (int i = 0; i < 10; ++i) {
    v[i] = static_cast<int16_t>(i * 1000 - 3000);
    expect += Le16(v[i]);
  }
  EXPECT_EQ(dll().cArrayOnDisk(file.c_str(), a.ref(), 0), 20);
  EXPECT_EQ(ReadBytes(file), expect);

  // Any bounds: only the byte size counts.
  HostArray b(VT_I2, 5, 10);
  EXPECT_EQ(dll().cArrayOnDisk(file.c_str(), b.ref(), 1), 20);
  EXPECT_EQ(std::memcmp(b.data(), a.data(), 20), 0);

  // A read-only file loads: the load only reads. Eleven Integers are still refused by
  // their size.
  ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
  HostArray eleven(VT_I2, 0, 11);
  EXPECT_EQ(dll().cArrayOnDisk(file.c_str(), eleven.ref(), -1), -16);
  HostArray c(VT_I2, 1, 10);
  EXPECT_EQ(dll().cArrayOnDisk(file.c_str(), c.ref(), 1), 20);
  EXPECT_EQ(std::memcmp(c.data(), a.data(), 20), 0);
  EXPECT_EQ(ReadBytes(file), expect);
  EXPECT_EQ(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_READONLY, static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));

  // Saving over a read-only file replaces it.
  v[0] = 7;
  EXPECT_EQ(dll().cArrayOnDisk(file.c_str(), a.ref(), 0), 20);
  EXPECT_EQ(ReadBytes(file)->substr(0, 2), Le16(7));
}

TEST(ArrayOnDisk, TwoByThreeLongsLoadIntoSixLongs) {
  TempDir d;
  std::string file = d / "longs.dat";
  HostArray grid(VT_I4, {SAFEARRAYBOUND{2, 0}, SAFEARRAYBOUND{3, 1}});
  auto* g = static_cast<int32_t*>(grid.data());
  for (int i = 0; i < 6; ++i) g[i] = 0x01020304 * (i + 1);
  EXPECT_EQ(dll().cArrayOnDisk(file.c_str(), grid.ref(), 0), 24);
  EXPECT_EQ(ReadBytes(file), std::string(reinterpret_cast<const char*>(g), 24));
  HostArray six(VT_I4, 1, 6);
  EXPECT_EQ(dll().cArrayOnDisk(file.c_str(), six.ref(), 1), 24);
  EXPECT_EQ(std::memcmp(six.data(), g, 24), 0);
}

TEST(ArrayOnDisk, FullUnitsAndPartialUnit) {
  TempDir d;
  for (ULONG size : {32768ul, 32769ul, 100000ul}) {
    std::string file = d / ("bytes" + std::to_string(size));
    HostArray a(VT_UI1, 0, size);
    std::string bytes = RandomBytes(size, size);
    std::memcpy(a.data(), bytes.data(), size);
    EXPECT_EQ(dll().cArrayOnDisk(file.c_str(), a.ref(), 0), static_cast<int32_t>(size));
    EXPECT_EQ(ReadBytes(file), bytes);
    HostArray back(VT_UI1, 0, size);
    EXPECT_EQ(dll().cArrayOnDisk(file.c_str(), back.ref(), 1), static_cast<int32_t>(size));
    EXPECT_EQ(std::memcmp(back.data(), bytes.data(), size), 0) << size;
  }
}

TEST(ArrayOnDisk, EmptyArraySavesAnEmptyFile) {
  TempDir d;
  HostArray a(VT_R8, 0, 0);
  EXPECT_EQ(dll().cArrayOnDisk((d / "e").c_str(), a.ref(), 0), 0);
  EXPECT_EQ(ReadBytes(d / "e"), "");
  EXPECT_EQ(dll().cArrayOnDisk((d / "e").c_str(), a.ref(), 1), 0);
}

TEST(ArrayOnDisk, RefusalsTouchNoFile) {
  TempDir d;
  HostArray a(VT_I2, 0, 5);
  std::string file = d / "keep.dat";
  WriteBytes(file, "previous");
  EXPECT_EQ(dll().cArrayOnDisk("", a.ref(), 0), -1);
  EXPECT_EQ(dll().cArrayOnDisk((d / "a.b.c").c_str(), a.ref(), 0), -2);
  EXPECT_EQ(dll().cArrayOnDisk((d.path() + "\\").c_str(), a.ref(), 0), -2);
  std::string long_name = d.path() + "\\" + std::string(280 - d.path().size(), 'n');
  EXPECT_EQ(dll().cArrayOnDisk(long_name.c_str(), a.ref(), 0), -2);
  SAFEARRAY* none = nullptr;  // a VB array never dimensioned
  EXPECT_EQ(dll().cArrayOnDisk(file.c_str(), &none, 0), -1);
  // Strings are references: neither stored as addresses nor overwritten by bytes.
  HostArray strings(VT_BSTR, 0, 2);
  FillStrings(strings, {"ab", "cd"});
  EXPECT_EQ(dll().cArrayOnDisk(file.c_str(), strings.ref(), 0), -1);
  WriteBytes(d / "eight", "12345678");
  EXPECT_EQ(dll().cArrayOnDisk((d / "eight").c_str(), strings.ref(), 1), -1);
  EXPECT_EQ(Strings(strings), (std::vector<std::string>{"ab", "cd"}));
  EXPECT_EQ(ReadBytes(file), "previous");
  // Loading a missing file: its size cannot be taken.
  EXPECT_EQ(dll().cArrayOnDisk((d / "missing").c_str(), a.ref(), 1), -16);
  // Loading changes no file; a file of another size leaves the array as it was.
  static_cast<int16_t*>(a.data())[0] = 42;
  EXPECT_EQ(dll().cArrayOnDisk(file.c_str(), a.ref(), 1), -16);
  EXPECT_EQ(static_cast<int16_t*>(a.data())[0], 42);
  EXPECT_EQ(ReadBytes(file), "previous");
  // A folder in the file's place cannot be removed, nor opened.
  MakeDir(d / "dir");
  EXPECT_EQ(dll().cArrayOnDisk((d / "dir").c_str(), a.ref(), 0), -3);
  EXPECT_EQ(dll().cArrayOnDisk((d.path() + "\\no\\such\\x.dat").c_str(), a.ref(), 0), -4);
}

TEST(ArrayOnDisk, FailedSaveLeavesNoFile) {
  auto disk = FullDisk();
  if (!disk) GTEST_SKIP() << "no small file system for this run";
  std::string file = *disk + "\\big.dat";
  HostArray a(VT_UI1, 0, 200000);
  EXPECT_EQ(dll().cArrayOnDisk(file.c_str(), a.ref(), 0), -11);
  EXPECT_FALSE(Exists(file));
}

TEST(ArrayStringOnDisk, NineByteExampleBothWays) {
  TempDir d;
  std::string file = d / "s.txt";
  HostArray three(VT_BSTR, 0, 3);
  FillStrings(three, {"ab", "", "c"});
  int32_t count = -7;
  EXPECT_EQ(dll().cArrayStringOnDisk(file.c_str(), three.ref(), 0, &count), 9);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(ReadBytes(file), std::string("ab\r\n\r\nc\r\n"));

  HostArray five(VT_BSTR, 1, 5);
  FillStrings(five, {"1", "2", "3", "4", "5"});
  count = -7;
  EXPECT_EQ(dll().cArrayStringOnDisk(file.c_str(), five.ref(), 1, &count), 9);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(Strings(five), (std::vector<std::string>{"ab", "", "c", "", ""}));
}

TEST(ArrayStringOnDisk, LongElementsAndLines) {
  TempDir d;
  std::string file = d / "long.txt";
  std::string big(5000, 'q');
  big[4095] = 'X';
  big[4096] = 'Y';
  HostArray one(VT_BSTR, 0, 1);
  FillStrings(one, {big});
  int32_t count = 0;
  EXPECT_EQ(dll().cArrayStringOnDisk(file.c_str(), one.ref(), 0, &count), 4098);
  EXPECT_EQ(ReadBytes(file), big.substr(0, 4096) + "\r\n");

  WriteBytes(file, big + "\r\n");
  HostArray three(VT_BSTR, 0, 3);
  // Each piece adds what was read plus one: 4095 + 1, then 905 and the line feed + 1.
  EXPECT_EQ(dll().cArrayStringOnDisk(file.c_str(), three.ref(), 1, &count), 4096 + 907);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(Strings(three), (std::vector<std::string>{big.substr(0, 4095), big.substr(4095), ""}));
}

TEST(ArrayStringOnDisk, ManyLinesRoundTripThroughSeveralBufferFills) {
  TempDir d;
  std::string file = d / "many.txt";
  std::vector<std::string> items;
  std::string expect;
  for (int i = 0; i < 40; ++i) {
    std::string s(static_cast<size_t>(i * 97 % 4090), static_cast<char>('a' + i % 26));
    s += "\xE9\x80\x7F\t\r!";  // bytes above 0x7F, a tab and a lone CR stay as they are
    items.push_back(s);
    expect += s + "\r\n";
  }
  HostArray a(VT_BSTR, -5, 40);
  FillStrings(a, items);
  int32_t count = 0;
  EXPECT_EQ(dll().cArrayStringOnDisk(file.c_str(), a.ref(), 0, &count), static_cast<int32_t>(expect.size()));
  EXPECT_EQ(count, 40);
  EXPECT_EQ(ReadBytes(file), expect);

  HostArray back(VT_BSTR, 0, 40);
  EXPECT_EQ(dll().cArrayStringOnDisk(file.c_str(), back.ref(), 1, &count), static_cast<int32_t>(expect.size()));
  EXPECT_EQ(Strings(back), items);
}

TEST(ArrayStringOnDisk, TextModeLoadingRules) {
  TempDir d;
  std::string file = d / "t.txt";
  int32_t count = 0;
  // A last line without a line feed, a lone LF, and Ctrl-Z ending the file.
  WriteBytes(file, "one\ntwo\r\nlast");
  HostArray a(VT_BSTR, 0, 4);
  EXPECT_EQ(dll().cArrayStringOnDisk(file.c_str(), a.ref(), 1, &count), 5 + 5 + 5);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(Strings(a), (std::vector<std::string>{"one", "two", "last", ""}));

  WriteBytes(file, "a\r\nb\x1A" "after\r\n");
  EXPECT_EQ(dll().cArrayStringOnDisk(file.c_str(), a.ref(), 1, &count), 3 + 2);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(Strings(a), (std::vector<std::string>{"a", "b", "", ""}));

  // More lines than elements: the rest is ignored.
  WriteBytes(file, "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
  HostArray two(VT_BSTR, 0, 2);
  EXPECT_EQ(dll().cArrayStringOnDisk(file.c_str(), two.ref(), 1, &count), 6);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(Strings(two), (std::vector<std::string>{"1", "2"}));
}

TEST(ArrayStringOnDisk, NulBytesComeBackWithTheirElement) {
  TempDir d;
  std::string file = d / "zeros.dat";
  const std::string with_nul("a\0b", 3), trailing("c\0", 2);
  HostArray a(VT_BSTR, 0, 2);
  FillStrings(a, {with_nul, trailing});
  int32_t count = 0;
  EXPECT_EQ(dll().cArrayStringOnDisk(file.c_str(), a.ref(), 0, &count), 9);
  EXPECT_EQ(ReadBytes(file), std::string("a\0b\r\nc\0\r\n", 9));
  HostArray back(VT_BSTR, 0, 2);
  EXPECT_EQ(dll().cArrayStringOnDisk(file.c_str(), back.ref(), 1, &count), 9);  // the bytes read
  EXPECT_EQ(count, 2);
  EXPECT_EQ(Strings(back), (std::vector<std::string>{with_nul, trailing}));
}

TEST(ArrayStringOnDisk, EmptyArraySavesAnEmptyFile) {
  TempDir d;
  HostArray none(VT_BSTR, 0, 0);
  int32_t count = 9;
  EXPECT_EQ(dll().cArrayStringOnDisk((d / "e.txt").c_str(), none.ref(), 0, &count), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(ReadBytes(d / "e.txt"), "");
}

TEST(ArrayStringOnDisk, FailuresBeforeOpeningLeaveCountAndArray) {
  TempDir d;
  HostArray a(VT_BSTR, 0, 2);
  FillStrings(a, {"keep", "these"});
  int32_t count = 77;
  EXPECT_EQ(dll().cArrayStringOnDisk((d / "missing.txt").c_str(), a.ref(), 1, &count), RC_CANT_OPEN_FIRST);
  EXPECT_EQ(dll().cArrayStringOnDisk("", a.ref(), 0, &count), -1);
  EXPECT_EQ(dll().cArrayStringOnDisk((d / "x.y.z").c_str(), a.ref(), 0, &count), -2);
  std::string long_name = d.path() + "\\" + std::string(280 - d.path().size(), 'n');
  EXPECT_EQ(dll().cArrayStringOnDisk(long_name.c_str(), a.ref(), 0, &count), -2);
  MakeDir(d / "dir");
  EXPECT_EQ(dll().cArrayStringOnDisk((d / "dir").c_str(), a.ref(), 0, &count), -3);
  EXPECT_EQ(dll().cArrayStringOnDisk((d.path() + "\\no\\such\\x.txt").c_str(), a.ref(), 0, &count),
            RC_CANT_OPEN_FIRST);
  // An array of numbers is not a string array: refused, no file made.
  HostArray ints(VT_I4, 0, 2);
  EXPECT_EQ(dll().cArrayStringOnDisk((d / "n.txt").c_str(), ints.ref(), 0, &count), -1);
  EXPECT_FALSE(Exists(d / "n.txt"));
  EXPECT_EQ(count, 77);
  EXPECT_EQ(Strings(a), (std::vector<std::string>{"keep", "these"}));
}

TEST(ArrayStringOnDisk, ReadOnlyFileIsReplacedOnSave) {
  TempDir d;
  std::string file = d / "ro.txt";
  WriteBytes(file, "old\r\n");
  ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
  HostArray a(VT_BSTR, 0, 1);
  FillStrings(a, {"new"});
  int32_t count = 0;
  EXPECT_EQ(dll().cArrayStringOnDisk(file.c_str(), a.ref(), 0, &count), 5);
  EXPECT_EQ(ReadBytes(file), "new\r\n");
}

// A save that fails on a full disk leaves the file it was to replace, and ElementCount
// is what that file holds: its lines as a load counts them, none where there was no file.
TEST(ArrayStringOnDisk, FullDiskKeepsThePreviousFileAndCountsIt) {
  auto disk = FullDisk();
  if (!disk) GTEST_SKIP() << "no small file system for this run";
  std::string file = *disk + "\\strings.txt";
  HostArray a(VT_BSTR, 0, 40);
  FillStrings(a, std::vector<std::string>(40, std::string(4000, 's')));
  const std::string previous = "one\r\ntwo\nthree";
  for (bool existed : {true, false}) {
    SCOPED_TRACE(existed ? "over a file" : "no file before");
    if (existed) WriteBytes(file, previous);
    int32_t count = -1;
    int32_t rc = dll().cArrayStringOnDisk(file.c_str(), a.ref(), 0, &count);
    EXPECT_TRUE(rc == RC_WRITE_FAILED || rc == RC_WRITE_SHORT) << rc;
    EXPECT_EQ(count, existed ? 3 : 0);
    EXPECT_EQ(ReadBytes(file), existed ? std::optional<std::string>(previous) : std::nullopt);
    DeleteFileA(file.c_str());
  }
}

}  // namespace
}  // namespace vnk::test
