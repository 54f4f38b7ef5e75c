// A program that links VARNOK-32.DLL through libvarnok32.a and varnok32.h, as a C or C++
// caller does, instead of GetProcAddress: the symbols resolve, the stdcall byte counts
// agree with the DLL (a wrong count would unbalance the stack), and results, ByRef
// outputs and records cross with the header's types.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "varnok32.h"

extern "C" long DeclFileSizeFromC(const char* path);
extern "C" short DeclSplitFromC(const char* path, unsigned lengths[4]);

namespace {

std::string Take(BSTR b) {
  EXPECT_NE(b, nullptr) << "a String result is never NULL";
  std::string s(reinterpret_cast<const char*>(b), SysStringByteLen(b));
  SysFreeString(b);
  return s;
}

class Scratch {
 public:
  Scratch() {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    dir_ = std::string(tmp) + "vnk_implib_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir_.c_str(), nullptr);
  }
  ~Scratch() {
    for (const char* f : {"a.txt", "b.txt"}) DeleteFileA((*this / f).c_str());
    RemoveDirectoryA(dir_.c_str());
  }
  std::string operator/(const char* name) const { return dir_ + "\\" + name; }
  void Write(const char* name, const std::string& bytes) const {
    FILE* f = fopen((*this / name).c_str(), "wb");
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
  }

 private:
  std::string dir_;
};

TEST(ImportLibrary, LongResultsAndTheSharedCodes) {
  Scratch s;
  s.Write("a.txt", std::string(40000, 'x'));
  EXPECT_EQ(cFileSize((s / "a.txt").c_str()), 40000);
  EXPECT_EQ(cFileSize((s / "missing").c_str()), -1);
  EXPECT_EQ(cFileCopy((s / "a.txt").c_str(), (s / "b.txt").c_str()), 40000);
  EXPECT_EQ(cFileCopy((s / "missing").c_str(), (s / "b.txt").c_str()), RC_CANT_OPEN_FIRST);
  EXPECT_EQ(DeclFileSizeFromC((s / "b.txt").c_str()), 40000);
}

TEST(ImportLibrary, IntegerResultsAreVbBooleans) {
  EXPECT_EQ(cIsFilenameValid("C:\\DATA\\REPORT.TXT"), -1);
  EXPECT_EQ(cIsFilenameValid("A*B"), 0);
  EXPECT_EQ(cIsFilenameValid("AB:X"), 5);
  Scratch s;
  s.Write("a.txt", "");
  EXPECT_EQ(cIsFileEmpty((s / "a.txt").c_str()), -1);
  EXPECT_EQ(cIsFileEmpty((s / "missing").c_str()), 0);
}

TEST(ImportLibrary, StringsByValueAndByReference) {
  BSTR prefix = SysAllocStringByteLen("Q", 1);
  std::string name = Take(cUniqueFileName(&prefix));
  SysFreeString(prefix);
  ASSERT_EQ(name.size(), 8u);
  EXPECT_EQ(name.substr(0, 2), "Q~");
  EXPECT_EQ(Take(cMakePath("C", "\\DATA", "REPORT", "TXT")), "C:\\DATA\\REPORT.TXT");
  EXPECT_EQ(Take(cMakePath("", "", "", "")), "");
}

TEST(ImportLibrary, PathPartsRecordFromCppAndC) {
  PathParts parts = {};
  ASSERT_EQ(cSplitPath("C:\\DATA\\OLD.V1\\report.txt", &parts), -1);
  EXPECT_EQ(Take(parts.Drive), "C:");
  EXPECT_EQ(Take(parts.Directory), "\\DATA\\OLD.V1\\");
  EXPECT_EQ(Take(parts.FileName), "report");
  EXPECT_EQ(Take(parts.Extension), ".txt");

  unsigned lengths[4] = {9, 9, 9, 9};
  EXPECT_EQ(DeclSplitFromC("D:\\X\\name.ext", lengths), -1);
  EXPECT_EQ(lengths[0], 2u);
  EXPECT_EQ(lengths[1], 3u);
  EXPECT_EQ(lengths[2], 4u);
  EXPECT_EQ(lengths[3], 4u);
  EXPECT_EQ(DeclSplitFromC("C:\\DATA\\", lengths), 0);
  EXPECT_EQ(lengths[0] + lengths[1] + lengths[2] + lengths[3], 0u);
}

TEST(ImportLibrary, DoubleResultsAndByRefDoubles) {
  Scratch s;
  s.Write("a.txt", "12345");
  std::string pattern = s / "*.txt";
  EXPECT_EQ(cFilesSize(pattern.c_str()), 5.0);
  double size = -7, on_disk = -7;
  long slack = cFilesSlack(pattern.c_str(), &size, &on_disk);
  EXPECT_EQ(size, 5.0);
  ASSERT_GT(on_disk, 0.0);
  EXPECT_EQ(slack, static_cast<long>(static_cast<float>((on_disk - size) / on_disk * 100)));
  EXPECT_GT(cGetDiskClusterSize("C:"), 0.0);
  EXPECT_EQ(cGetDriveType("C:\\"), 3);
}

}  // namespace
