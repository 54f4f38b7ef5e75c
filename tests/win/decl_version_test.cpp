// The DLL's version resource, read back the way Explorer and installers read it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "vnk_version.h"

namespace {

#ifdef _WIN64
constexpr const char* kDll = "VARNOK-64.DLL";
constexpr const char* kName = "VARNOK-64";
#else
constexpr const char* kDll = "VARNOK-32.DLL";
constexpr const char* kName = "VARNOK-32";
#endif

struct VersionInfo {
  std::vector<char> block;
  std::string Text(const char* key) const {
    char* value = nullptr;
    UINT len = 0;
    std::string query = std::string("\\StringFileInfo\\040904E4\\") + key;
    if (!VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &len) || value == nullptr) return "<none>";
    return std::string(value);
  }
};

VersionInfo Read() {
  VersionInfo info;
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(kDll, &handle);
  EXPECT_GT(size, 0u) << "no version resource (error " << GetLastError() << ")";
  info.block.resize(size);
  EXPECT_TRUE(GetFileVersionInfoA(kDll, 0, size, info.block.data()));
  return info;
}

TEST(VersionResource, NamesTheLibraryAndItsFile) {
  VersionInfo v = Read();
  EXPECT_EQ(v.Text("OriginalFilename"), kDll);
  EXPECT_EQ(v.Text("InternalName"), kName);
  EXPECT_EQ(v.Text("ProductName"), kName);
  EXPECT_NE(v.Text("FileDescription").find("Visual Basic"), std::string::npos) << v.Text("FileDescription");
  EXPECT_EQ(v.Text("ProductVersion"), VNK_VERSION_TEXT);
  EXPECT_EQ(v.Text("FileVersion"), VNK_VERSION_FOUR);

  // The translation table points at the string block read above.
  struct Translation { WORD language, codepage; }* t = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValueA(v.block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&t), &len));
  ASSERT_GE(len, sizeof(Translation));
  EXPECT_EQ(t->language, 0x0409);
  EXPECT_EQ(t->codepage, 1252);
}

TEST(VersionResource, FixedPartCarriesTheSameNumbers) {
  VersionInfo v = Read();
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValueA(v.block.data(), "\\", reinterpret_cast<void**>(&fixed), &len));
  ASSERT_EQ(len, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  const DWORD ms = MAKELONG(VNK_VERSION_MINOR, VNK_VERSION_MAJOR), ls = MAKELONG(0, VNK_VERSION_PATCH);
  EXPECT_EQ(fixed->dwFileVersionMS, ms);
  EXPECT_EQ(fixed->dwFileVersionLS, ls);
  EXPECT_EQ(fixed->dwProductVersionMS, ms);
  EXPECT_EQ(fixed->dwProductVersionLS, ls);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
  EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
}

}  // namespace
