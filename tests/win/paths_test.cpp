// Names and paths through the exports: cIsFilenameValid, cSplitPath, cMakePath, cFullPath.
#include <string>

#include "tests/win/harness.h"

namespace vnk::test {
namespace {

// A PathParts record owned by the test, its four slots holding strings from an earlier
// call so that replacing (or emptying) them is visible.
struct Parts {
  Bstr drive{"old drive"}, dir{"old dir"}, name{"old name"}, ext{"old ext"};
  PathParts record() { return {drive.get(), dir.get(), name.get(), ext.get()}; }
};

// A field as VB reads it: an emptied slot may hold the null string, which reads as "".
std::string Show(const PathParts& p) {
  auto s = [](BSTR b) {
    return b == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(b), SysStringByteLen(b));
  };
  return s(p.Drive) + "|" + s(p.Directory) + "|" + s(p.FileName) + "|" + s(p.Extension);
}

// Splits and returns result and parts; frees the strings the export stored.
std::pair<int, std::string> Split(const std::string& path) {
  PathParts p = {SysAllocStringByteLen("a", 1), SysAllocStringByteLen("bb", 2), SysAllocStringByteLen("ccc", 3),
                 SysAllocStringByteLen("dddd", 4)};
  int rc = dll().cSplitPath(path.c_str(), &p);
  std::string shown = Show(p);
  SysFreeString(p.Drive);
  SysFreeString(p.Directory);
  SysFreeString(p.FileName);
  SysFreeString(p.Extension);
  return {rc, shown};
}

}  // namespace

TEST(IsFilenameValid, EveryVerdict) {
  struct Case { std::string text; int code; } cases[] = {
      {"C:\\DATA\\REPORT.TXT", -1}, {"REPORT", -1}, {"REPORT.", -1}, {"..\\REPORT.TXT", -1},
      {"", 0}, {"C:", 0}, {"C:\\", 0}, {"C:\\DATA\\", 0}, {".", 0}, {"..", 0}, {".\\X", 0},
      {"A.B.C", 0}, {"A.B\\C.D", -1},
      {"C:\\.X", 6}, {"C:.X", 6}, {"..\\..\\X", 6},
      {"\\\\\\X", 3}, {"\\\\SERVER\\SHARE\\X", -1},
      {"1:\\X", 4}, {"AB:X", 5},
      {"A*B", 0}, {"A?B", 0}, {"A<B", 0}, {"A>B", 0}, {"A|B", 0}, {"A/B", 0}, {"A\"B", 0}, {"A\tB", 0},
      {std::string(516, 'A'), -1}, {std::string(517, 'A'), 0},
      {std::string(256, 'N') + ".X", -1}, {std::string(257, 'N') + ".X", 1},
      {"N." + std::string(256, 'E'), -1}, {"N." + std::string(257, 'E'), 2},
  };
  for (const Case& c : cases) EXPECT_EQ(dll().cIsFilenameValid(c.text.c_str()), c.code) << "[" << c.text << "]";
}

TEST(SplitPath, FourPartsReplaceWhatTheRecordHeld) {
  Parts parts;
  PathParts p = parts.record();
  EXPECT_EQ(dll().cSplitPath("C:\\DATA\\OLD.V1\\report.txt", &p), -1);
  EXPECT_EQ(Show(p), "C:|\\DATA\\OLD.V1\\|report|.txt");
  // The record now owns new strings; the old ones were released by the export.
  *parts.drive.slot() = p.Drive, *parts.dir.slot() = p.Directory;
  *parts.name.slot() = p.FileName, *parts.ext.slot() = p.Extension;

  EXPECT_EQ(Split("report.txt"), std::make_pair(-1, std::string("||report|.txt")));
  EXPECT_EQ(Split("C:\\DATA\\README"), std::make_pair(-1, std::string("C:|\\DATA\\|README|")));
  EXPECT_EQ(Split("..\\X.Y"), std::make_pair(-1, std::string("|..\\|X|.Y")));
  EXPECT_EQ(Split("C:NAME."), std::make_pair(-1, std::string("C:||NAME|.")));
}

TEST(SplitPath, RefusedPathEmptiesEveryField) {
  for (auto [path, code] : {std::pair<const char*, int>{"C:\\DATA\\", 0}, {"C:", 0}, {"A/B.C", 0},
                            {"*.TXT", 0}, {"A.B.C", 0}, {"C:\\.X", 6}, {"AB:X", 5}, {"", 0}})
    EXPECT_EQ(Split(path), std::make_pair(code, std::string("|||"))) << path;
}

TEST(SplitPath, LongPartsComeBackWhole) {
  // Never a part cut short: a directory, name or extension past 255 characters is whole.
  std::string dir = "\\" + std::string(300, 'D') + "\\";
  EXPECT_EQ(Split("C:" + dir + "NAME.EXT"), std::make_pair(-1, "C:|" + dir + "|NAME|.EXT"));
  std::string name(400, 'N');
  EXPECT_EQ(Split(name), std::make_pair(-1, "||" + name + "|"));
  std::string deep = "\\" + std::string(150, 'A') + "\\" + std::string(150, 'B') + "\\";
  std::string ext = "." + std::string(200, 'E');
  EXPECT_EQ(Split("Z:" + deep + "F" + ext), std::make_pair(-1, "Z:|" + deep + "|F|" + ext));
  // Past what the name check accepts (516 characters) the path is refused whole.
  std::string d200(200, 'D');
  std::string over = "C:\\" + d200 + "\\" + d200 + "\\" + d200 + "\\F.X";
  EXPECT_EQ(Split(over), std::make_pair(0, std::string("|||")));
}

TEST(MakePath, SeparatorAndDotRules) {
  auto make = [](const char* d, const char* dir, const char* n, const char* e) {
    return Take(dll().cMakePath(d, dir, n, e));
  };
  EXPECT_EQ(make("C", "\\DATA", "REPORT", "TXT"), "C:\\DATA\\REPORT.TXT");
  EXPECT_EQ(make("C:\\", "\\DATA\\", "REPORT", ".TXT"), "C:\\DATA\\REPORT.TXT");  // only the letter is used
  EXPECT_EQ(make("", "DATA/", "REPORT", ""), "DATA/REPORT");
  EXPECT_EQ(make("d", "", "", ""), "d:");
  EXPECT_EQ(make("", "", "", ""), "");
  // Past 259 characters nothing is produced rather than a path cut short.
  std::string dir(250, 'D');
  EXPECT_EQ(make("C", dir.c_str(), "1234", "X").size(), 259u);
  EXPECT_EQ(make("C", dir.c_str(), "12345", "X"), "");
}

TEST(FullPath, CompletesAgainstTheCurrentDirectory) {
  TempDir t;
  CurrentDirScope here(t.path());
  EXPECT_EQ(Take(dll().cFullPath("")), "");
  EXPECT_EQ(Take(dll().cFullPath("missing.txt")), t.path() + "\\missing.txt");
  EXPECT_EQ(Take(dll().cFullPath("sub\\..\\x.y")), t.path() + "\\x.y");
  EXPECT_EQ(Take(dll().cFullPath("C:\\A\\.\\B")), "C:\\A\\B");
  std::string longest = "C:\\" + std::string(256, 'L');  // 259 characters
  EXPECT_EQ(Take(dll().cFullPath(longest.c_str())), longest);
  EXPECT_EQ(Take(dll().cFullPath((longest + "X").c_str())), "");
}

}  // namespace vnk::test
