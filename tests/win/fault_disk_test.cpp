// Faults around the files an export writes: a disk that fills up half-way and one that is
// full before the first byte, outputs that are read-only, hidden or system files, files
// held open by another handle without sharing, outputs that are folders, folders missing
// on the way. Every export that writes a file goes through each of them; afterwards its
// result is a documented failure code, its output is gone where the export deletes a
// partial output and a true prefix of the full output where it keeps one, and every
// input is byte for byte (and attribute for attribute) what it was. An output that existed
// before a failed call keeps its bytes, except where an export keeps what it wrote.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "host/host_args.h"
#include "tests/win/fault_util.h"

namespace vnk::test {
namespace {

using fault::Kept;
using fault::Tally;

// What a failed call leaves where its output was to be.
enum class Leftover {
  kNothing,  // a partial output is deleted
  kPrefix,   // what was written before the failure stays (and the count says how much)
};

// One export that writes a file, with its inputs. run() calls it with the output named
// out and gives its result; inputs() are the files it reads, which must never change.
struct Writer {
  std::string name;
  std::function<int32_t(const std::string& out)> run;
  std::function<bool(int32_t)> failed;  // a documented failure code
  Leftover leftover = Leftover::kNothing;
  bool replaces_any_output = false;  // removes an existing output whatever its attributes, by design
  bool consumes_input = false;  // a success takes the input away (a move)
  std::vector<std::string> inputs;
  std::function<void()> refresh;  // puts back an input that a success consumes
  std::function<::testing::AssertionResult()> memory_kept;  // an array that was saved is unchanged
};

Writer Make(std::string name, std::function<int32_t(const std::string&)> run, std::function<bool(int32_t)> failed,
            Leftover leftover, bool replaces_any_output, std::vector<std::string> inputs,
            std::function<void()> refresh = [] {},
            std::function<::testing::AssertionResult()> memory_kept = [] { return ::testing::AssertionSuccess(); }) {
  Writer w;
  w.name = std::move(name);
  w.run = std::move(run);
  w.failed = std::move(failed);
  w.leftover = leftover;
  w.replaces_any_output = replaces_any_output;
  w.inputs = std::move(inputs);
  w.refresh = std::move(refresh);
  w.memory_kept = std::move(memory_kept);
  return w;
}

int Lines(const std::string& bytes) {
  int n = 0;
  for (size_t at = 0; (at = bytes.find("\r\n", at)) != std::string::npos; at += 2) ++n;
  return n;
}

// The inputs every writer reads, made once for the whole program: more bytes than the
// small file system holds, in every form the writers take.
class Inputs {
 public:
  Inputs() : bytes_(d_ / "in.bin"), strings_(VT_BSTR, -3, 120), block_(VT_UI1, 5, 200000) {
    data_ = RandomBytes(200000, 9);
    WriteBytes(bytes_, data_);
    MakeDir(d_ / "many");
    for (int i = 0; i < 400; ++i) {
      char name[8];
      snprintf(name, sizeof name, "%03d", i);
      WriteBytes(d_ / "many\\" + name + std::string(200, 'n'), "x");
    }
    std::vector<std::string> items;
    for (int i = 0; i < 120; ++i) items.push_back(RandomBytes(1000, 100 + i));
    items[7] = std::string("with\0nul", 8);
    FillStrings(strings_, items);
    items_ = items;
    memcpy(block_.data(), data_.data(), data_.size());
    second_ = d_ / "second.bin";
    WriteBytes(second_, RandomBytes(50000, 10));
    lines_ = d_ / "lines.txt";
    std::string text;
    for (int i = 0; text.size() < 150000; ++i) text += "Line " + std::to_string(i * 7919 % 10007) + "\r\n";
    WriteBytes(lines_, text);
    encoded_ = d_ / "in.uue";
    EXPECT_EQ(dll().cFileUUCP(bytes_.c_str(), encoded_.c_str(), 0), 275558);
  }

  const std::string& bytes() const { return bytes_; }
  std::string folder() const { return d_ / "many"; }
  std::string dir() const { return d_.path(); }

  std::vector<Writer> Writers() {
    std::vector<Writer> w;
    auto code_in = [](std::initializer_list<int32_t> codes) {
      std::vector<int32_t> v(codes);
      return [v](int32_t r) { return std::find(v.begin(), v.end(), r) != v.end(); };
    };
    auto negative = [](int32_t r) { return r < 0; };
    auto platform = [](int32_t r) { return r != -1; };
    auto uu_failed = code_in({RC_CANT_OPEN_FIRST, RC_CANT_OPEN_SECOND, RC_WRITE_FAILED});
    const std::string in = bytes_;
    w.push_back(Make("cFileCopy", [in](const std::string& out) { return FAULT_CALL(cFileCopy, in.c_str(), out.c_str()); },
                 negative, Leftover::kNothing, false, {in}));
    w.push_back(Make("cFileCopy2", [in](const std::string& out) { return FAULT_CALL(cFileCopy2, in.c_str(), out.c_str()); },
                 platform, Leftover::kNothing, false, {in}));
    // A move consumes its source; each run moves a fresh copy.
    std::string moving = d_ / "moving.bin";
    std::string data = data_;
    w.push_back(Make("cFileMove", [moving](const std::string& out) { return FAULT_CALL(cFileMove, moving.c_str(), out.c_str()); },
                 platform, Leftover::kNothing, false, {moving},
                 [moving, data] {
                   if (ReadBytes(moving) != data) WriteBytes(moving, data);
                 }));
    w.back().consumes_input = true;
    std::string pattern = folder() + "\\*";
    w.push_back(Make("cFilesInDirOnDisk",
                 [pattern](const std::string& out) {
                   return static_cast<int32_t>(FAULT_CALL(cFilesInDirOnDisk, out.c_str(), pattern.c_str(), 255));
                 },
                 [](int32_t r) { return r < 0; }, Leftover::kPrefix, true, {}));
    std::string start = folder();
    w.push_back(Make("cSearchFile",
                 [start](const std::string& out) { return FAULT_CALL(cSearchFile, start.c_str(), "*", out.c_str()); },
                 [](int32_t r) { return r < 400; }, Leftover::kPrefix, false, {}));
    HostArray* block = &block_;
    std::string original = data_;
    auto block_kept = [block, original]() -> ::testing::AssertionResult {
      ++Tally::Get().inputs;
      if (memcmp(block->data(), original.data(), original.size()) == 0) return ::testing::AssertionSuccess();
      return ::testing::AssertionFailure() << "the saved array changed";
    };
    w.push_back(Make("cArrayOnDisk", [block](const std::string& out) { return FAULT_CALL(cArrayOnDisk, out.c_str(), block->ref(), 0); },
                 code_in({-3, -4, -11, -12, -16}), Leftover::kNothing, true, {}, [] {}, block_kept));
    HostArray* strings = &strings_;
    std::vector<std::string> items = items_;
    auto strings_kept = [strings, items]() -> ::testing::AssertionResult {
      ++Tally::Get().inputs;
      if (Strings(*strings) == items) return ::testing::AssertionSuccess();
      return ::testing::AssertionFailure() << "the saved string array changed";
    };
    w.push_back(Make("cArrayStringOnDisk",
                 [strings](const std::string& out) {
                   int32_t count = -99;
                   return FAULT_CALL(cArrayStringOnDisk, out.c_str(), strings->ref(), 0, &count);
                 },
                 code_in({-3, RC_CANT_OPEN_FIRST, RC_WRITE_FAILED, RC_WRITE_SHORT}), Leftover::kNothing, true, {}, [] {},
                 strings_kept));
    // The text functions that write a new file.
    const std::string second = second_;
    std::string upper_set = "abcdefghijklmnopqrstuvwxyz";
    for (const char* name : {"cFileCompressTab", "cFileExpandTab", "cFileToUpper", "cFileToLower", "cFileMerge",
                             "cFileFilter", "cFileFilterNot"}) {
      std::string n = name;
      std::function<int32_t(const std::string&)> run;
      std::vector<std::string> inputs{in};
      if (n == "cFileCompressTab")
        run = [in](const std::string& out) { return FAULT_CALL(cFileCompressTab, in.c_str(), out.c_str(), 4); };
      else if (n == "cFileExpandTab")
        run = [in](const std::string& out) { return FAULT_CALL(cFileExpandTab, in.c_str(), out.c_str(), 4); };
      else if (n == "cFileToUpper")
        run = [in](const std::string& out) { return FAULT_CALL(cFileToUpper, in.c_str(), out.c_str()); };
      else if (n == "cFileToLower")
        run = [in](const std::string& out) { return FAULT_CALL(cFileToLower, in.c_str(), out.c_str()); };
      else if (n == "cFileMerge") {
        run = [in, second](const std::string& out) {
          return FAULT_CALL(cFileMerge, in.c_str(), second.c_str(), out.c_str());
        };
        inputs.push_back(second);
      } else {
        // Sets with a NUL among their bytes; the filter keeps most of the input, the
        // other filter the bytes 0 to 199.
        std::string set = n == "cFileFilter" ? std::string("\0\r\n\t", 4) : std::string(200, '\0');
        if (n == "cFileFilterNot")
          for (int b = 0; b < 200; ++b) set[b] = static_cast<char>(b);
        bool keep_members = n == "cFileFilterNot";
        run = [in, set, keep_members](const std::string& out) {
          Bstr chars(set);
          return keep_members ? FAULT_CALL(cFileFilterNot, in.c_str(), out.c_str(), chars.slot())
                              : FAULT_CALL(cFileFilter, in.c_str(), out.c_str(), chars.slot());
        };
      }
      w.push_back(Make(n, run, negative, Leftover::kNothing, false, inputs));
    }
    // The twins of the plain copies and case changes (one signature), the same names in
    // UTF-16: each must hold what its export holds.
    const std::pair<const char*, const Export<decl::cFileCopy, true>*> twins[] = {
        {"cFileCopyW", &dll().cFileCopyW}, {"cFileCopy2W", &dll().cFileCopy2W},
        {"cFileToUpperW", &dll().cFileToUpperW}, {"cFileToLowerW", &dll().cFileToLowerW}};
    for (const auto& [name, fn] : twins) {
      std::wstring source(in.begin(), in.end());
      w.push_back(Make(name,
                       [name, fn, source](const std::string& out) {
                         Tally::Get().Export(name);
                         return (*fn)(source.c_str(), std::wstring(out.begin(), out.end()).c_str());
                       },
                       std::string(name) == "cFileCopy2W" ? std::function<bool(int32_t)>(platform) : negative,
                       Leftover::kNothing, false, {in}));
    }
    // A cut UU output is a failed write: a decoding's size alone would not show it.
    std::string encoded = encoded_;
    w.push_back(Make("cFileUUCP", [in](const std::string& out) { return FAULT_CALL(cFileUUCP, in.c_str(), out.c_str(), 0); },
                     uu_failed, Leftover::kNothing, false, {in}));
    w.push_back(Make("cFileUUCP decoding",
                     [encoded](const std::string& out) {
                       return FAULT_CALL(cFileUUCP, encoded.c_str(), out.c_str(), 1);
                     },
                     uu_failed, Leftover::kNothing, false, {encoded}));
    // The sort: in line mode from a text of many lines, in record mode from the bytes.
    const std::string lines = lines_;
    auto sort_failed = [](int32_t r) { return r < 0; };
    w.push_back(Make("cFileSort", [lines](const std::string& out) {
                       int32_t count = 0;
                       return FAULT_CALL(cFileSort, lines.c_str(), out.c_str(), 9, 0, 0, 0, &count);
                     },
                     sort_failed, Leftover::kNothing, false, {lines}));
    w.push_back(Make("cFileSort records", [in](const std::string& out) {
                       int32_t count = 0;
                       return FAULT_CALL(cFileSort, in.c_str(), out.c_str(), 2, 100, 10, 20, &count);
                     },
                     sort_failed, Leftover::kNothing, false, {in}));
    return w;
  }

 private:
  TempDir d_;
  std::string bytes_;
  std::string data_;
  HostArray strings_;
  HostArray block_;
  std::vector<std::string> items_;
  std::string second_;
  std::string encoded_;
  std::string lines_;
};

Inputs& Shared() {
  static Inputs inputs;
  return inputs;
}

// Each writer's full output, from a run onto a disk with room, for comparing what a
// failed run leaves behind.
const std::string& Reference(Writer& w) {
  static std::map<std::string, std::string> outputs;
  auto it = outputs.find(w.name);
  if (it != outputs.end()) return it->second;
  static TempDir refs;
  std::string out = refs / w.name;
  w.refresh();
  int32_t r = w.run(out);
  EXPECT_FALSE(w.failed(r)) << w.name << " on a disk with room gave " << r;
  w.refresh();
  return outputs[w.name] = ReadBytes(out).value_or("");
}

// The checks after a call that had to fail: the code, what is left of the output, and
// every input as it was.
void ExpectCleanFailure(Writer& w, int32_t r, const std::string& out, const std::vector<Kept>& kept,
                        const std::string& fault) {
  SCOPED_TRACE(w.name + ": " + fault);
  Tally::Get().Fault();
  EXPECT_TRUE(w.failed(r)) << "result " << r;
  std::optional<std::string> left = ReadBytes(out);
  const std::string& full = Reference(w);
  switch (w.leftover) {
    case Leftover::kNothing:
      EXPECT_FALSE(Exists(out)) << "a partial output was left";
      break;
    case Leftover::kPrefix:
      ASSERT_TRUE(left.has_value()) << "the output written so far was not kept";
      EXPECT_LT(left->size(), full.size());
      EXPECT_EQ(full.compare(0, left->size(), *left), 0) << "the kept output is not what was written";
      break;
  }
  for (const Kept& k : kept) EXPECT_TRUE(k.Same());
  EXPECT_TRUE(w.memory_kept());
}

std::vector<Kept> Watch(const Writer& w) {
  std::vector<Kept> kept;
  for (const std::string& in : w.inputs) kept.emplace_back(in);
  return kept;
}

void Clear(const std::string& path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(path.c_str());
}

}  // namespace

// The small file system fills up half-way through the output.
TEST(FullDisk, FillsUpHalfWay) {
  auto disk = FullDisk();
  if (!disk) {
    Tally::Get().Skip("full disk", "no small file system mounted (needs root)");
    GTEST_SKIP() << "no small file system mounted for this run (needs root)";
  }
  for (Writer& w : Shared().Writers()) {
    Reference(w);
    w.refresh();
    std::string out = *disk + "\\" + w.name + ".out";
    std::vector<Kept> kept = Watch(w);
    int32_t r = w.run(out);
    ExpectCleanFailure(w, r, out, kept, "disk full half-way");
    // What cSearchFile counts is exactly the lines that reached the file.
    if (w.name == "cSearchFile") {
      EXPECT_EQ(r, Lines(ReadBytes(out).value_or("")));
    }
    if (w.name.rfind("cFileUUCP", 0) == 0) {
      EXPECT_EQ(r, RC_WRITE_FAILED);
    }
    Clear(out);
    w.refresh();
  }
}

// An output that exists keeps its bytes (and attributes) when the disk fills up half-way
// through the new one, and nothing else is left beside it, except for the listings, which
// keep what they wrote and count it.
TEST(FullDisk, AnExistingOutputKeepsItsBytes) {
  auto disk = FullDisk();
  if (!disk) GTEST_SKIP() << "no small file system mounted for this run (needs root)";
  for (Writer& w : Shared().Writers()) {
    if (w.leftover == Leftover::kPrefix) continue;
    SCOPED_TRACE(w.name);
    Reference(w);
    w.refresh();
    const std::string name = w.name + ".out", out = *disk + "\\" + name;
    WriteBytes(out, "an older version of the output\r\nto be kept\r\n");
    ASSERT_TRUE(SetFileAttributesA(out.c_str(), FILE_ATTRIBUTE_HIDDEN));
    Kept before(out);
    std::vector<Kept> kept = Watch(w);
    int32_t r = w.run(out);
    Tally::Get().Fault();
    EXPECT_TRUE(w.failed(r)) << "result " << r;
    EXPECT_TRUE(before.Same());
    EXPECT_EQ(fault::FileNames(*disk), std::vector<std::string>{name});
    for (const Kept& k : kept) EXPECT_TRUE(k.Same());
    EXPECT_TRUE(w.memory_kept());
    Clear(out);
    w.refresh();
  }
}

// Windows' own copy and a move to another volume, written beside an existing Target on the
// small file system (with room): Target takes Source's bytes, attributes (read-only and
// hidden ones too) and dates, nothing else is left there, and the move takes Source away.
TEST(FullDisk, CopyAndMoveAcrossVolumesKeepAttributesAndDates) {
  auto disk = FullDisk();
  if (!disk) GTEST_SKIP() << "no small file system mounted for this run (needs root)";
  TempDir d;
  const std::string data = RandomBytes(3000, 21);
  FILETIME when{0x12345678u, 0x01C00000u};
  for (const char* name : {"cFileCopy2", "cFileMove"}) {
    SCOPED_TRACE(name);
    const std::string source = d / "source.bin", target = *disk + "\\target.bin";
    WriteBytes(source, data);
    HANDLE h = CreateFileA(source.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &when));
    CloseHandle(h);
    ASSERT_TRUE(SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    const DWORD attrib = GetFileAttributesA(source.c_str());
    WriteBytes(target, "an older target");
    const bool move = std::string(name) == "cFileMove";
    int32_t r = move ? FAULT_CALL(cFileMove, source.c_str(), target.c_str())
                     : FAULT_CALL(cFileCopy2, source.c_str(), target.c_str());
    Tally::Get().Fault();
    EXPECT_EQ(r, -1);
    EXPECT_EQ(ReadBytes(target), data);
    EXPECT_EQ(GetFileAttributesA(target.c_str()), attrib);
    WIN32_FILE_ATTRIBUTE_DATA info{};
    ASSERT_TRUE(GetFileAttributesExA(target.c_str(), GetFileExInfoStandard, &info));
    EXPECT_EQ(CompareFileTime(&info.ftLastWriteTime, &when), 0);
    EXPECT_EQ(Exists(source), !move);
    EXPECT_EQ(fault::FileNames(*disk), std::vector<std::string>{"target.bin"});
    Clear(source);
    Clear(target);
  }
}

// Not even the first block fits.
TEST(FullDisk, FullBeforeTheFirstByte) {
  auto disk = FullDisk();
  if (!disk) GTEST_SKIP() << "no small file system mounted for this run (needs root)";
  for (Writer& w : Shared().Writers()) {
    Reference(w);
    w.refresh();
    std::string out = *disk + "\\" + w.name + ".out";
    std::vector<Kept> kept = Watch(w);
    int32_t r;
    {
      fault::Filler fill(*disk);
      r = w.run(out);
    }
    ExpectCleanFailure(w, r, out, kept, "disk full from the start");
    if (w.name == "cSearchFile") {
      EXPECT_EQ(r, 0);
    }
    Clear(out);
    w.refresh();
  }
}

// An existing output that is read-only is never written over, except by the exports that
// remove whatever stands at their output's name before they write. Hidden and system
// outputs are either replaced by the complete output or left alone.
TEST(ProtectedFiles, ReadOnlyHiddenSystemOutputs) {
  for (Writer& w : Shared().Writers()) {
    const std::string& full = Reference(w);
    for (DWORD attrib : {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
      SCOPED_TRACE(w.name + " over an output with attributes " + std::to_string(attrib));
      w.refresh();
      std::string out = Shared().dir() + "\\protected.out";
      WriteBytes(out, "an existing file, not to be damaged");
      ASSERT_TRUE(SetFileAttributesA(out.c_str(), attrib));
      Kept before(out);
      std::vector<Kept> kept = Watch(w);
      int32_t r = w.run(out);
      Tally::Get().Fault();
      bool replaced = ReadBytes(out) == std::optional<std::string>(full);
      if (attrib == FILE_ATTRIBUTE_READONLY && !w.replaces_any_output) {
        EXPECT_TRUE(w.failed(r)) << r;
        EXPECT_TRUE(before.Same());
      } else if (w.failed(r)) {
        EXPECT_TRUE(before.Same());
      } else {
        EXPECT_TRUE(replaced) << "result " << r << " but the output is not the complete one";
      }
      if (w.failed(r) || !w.consumes_input) {
        for (const Kept& k : kept) EXPECT_TRUE(k.Same());
      }
      EXPECT_TRUE(w.memory_kept());
      Clear(out);
    }
  }
}

// Inputs with protective attributes are read like any other and keep bytes and attributes.
TEST(ProtectedFiles, ReadOnlyHiddenSystemInputs) {
  for (Writer& w : Shared().Writers()) {
    if (w.inputs.empty()) continue;
    const std::string& full = Reference(w);
    for (DWORD attrib : {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
      SCOPED_TRACE(w.name + " reading inputs with attributes " + std::to_string(attrib));
      w.refresh();
      for (const std::string& in : w.inputs) ASSERT_TRUE(SetFileAttributesA(in.c_str(), attrib));
      std::vector<Kept> kept = Watch(w);
      std::string out = Shared().dir() + "\\from-protected.out";
      int32_t r = w.run(out);
      Tally::Get().Fault();
      if (w.name == "cFileMove") {
        // A move takes its source along, attributes and all.
        EXPECT_EQ(r, -1);
      } else {
        EXPECT_FALSE(w.failed(r)) << r;
        EXPECT_TRUE(ReadBytes(out) == std::optional<std::string>(full)) << "the output is not the complete one";
        for (const Kept& k : kept) {
          EXPECT_TRUE(k.Same());
        }
      }
      for (const std::string& in : w.inputs) SetFileAttributesA(in.c_str(), FILE_ATTRIBUTE_NORMAL);
      Clear(out);
    }
  }
}

// A file held open by another handle that shares nothing: as input it cannot be read, as
// output it cannot be written; either way it is unchanged once the other handle lets go.
TEST(HeldOpen, InputsAndOutputsHeldWithoutSharing) {
  for (Writer& w : Shared().Writers()) {
    w.refresh();
    for (const std::string& in : w.inputs) {
      SCOPED_TRACE(w.name + " with its input held");
      Kept before(in);
      std::string out = Shared().dir() + "\\held-in.out";
      HANDLE h = CreateFileA(in.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      ASSERT_NE(h, INVALID_HANDLE_VALUE);
      int32_t r = w.run(out);
      CloseHandle(h);
      Tally::Get().Fault();
      EXPECT_TRUE(w.failed(r)) << r;
      EXPECT_FALSE(Exists(out) && ReadBytes(out)->size() > 0) << "something was written from an unreadable input";
      EXPECT_TRUE(before.Same());
      Clear(out);
    }
    SCOPED_TRACE(w.name + " with its output held");
    std::string out = Shared().dir() + "\\held.out";
    WriteBytes(out, "held by someone else");
    Kept before(out);
    std::vector<Kept> kept = Watch(w);
    HANDLE h = CreateFileA(out.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    int32_t r = w.run(out);
    CloseHandle(h);
    Tally::Get().Fault();
    EXPECT_TRUE(w.failed(r)) << r;
    EXPECT_TRUE(before.Same());
    for (const Kept& k : kept) EXPECT_TRUE(k.Same());
    EXPECT_TRUE(w.memory_kept());
    Clear(out);
  }
}

// An output that names a folder, and one in a folder that does not exist.
TEST(BadOutputs, FolderAndMissingFolder) {
  for (Writer& w : Shared().Writers()) {
    w.refresh();
    std::string folder = Shared().dir() + "\\a-folder";
    MakeDir(folder);
    WriteBytes(folder + "\\inside.txt", "inside");
    Kept inside(folder + "\\inside.txt");
    std::vector<Kept> kept = Watch(w);
    int32_t r = w.run(folder);
    Tally::Get().Fault();
    EXPECT_TRUE(w.failed(r)) << w.name << " onto a folder: " << r;
    EXPECT_TRUE(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY) << w.name;
    EXPECT_TRUE(inside.Same()) << w.name;
    RemoveTree(folder);

    std::string missing = Shared().dir() + "\\missing\\deeper\\out";
    r = w.run(missing);
    Tally::Get().Fault();
    EXPECT_TRUE(w.failed(r)) << w.name << " into a missing folder: " << r;
    EXPECT_FALSE(Exists(Shared().dir() + "\\missing")) << w.name;
    for (const Kept& k : kept) EXPECT_TRUE(k.Same()) << w.name;
    EXPECT_TRUE(w.memory_kept()) << w.name;
  }
}

}  // namespace vnk::test

namespace vnk::test {
namespace {

// The functions that rewrite a file in place through a work file.
struct InPlace {
  std::string name;
  std::function<int32_t(const std::string& file, const std::string& work)> run;
};

std::vector<InPlace> InPlaceWriters() {
  std::vector<InPlace> v;
  v.push_back({"cFileChangeChars", [](const std::string& file, const std::string& work) {
                 Bstr from(std::string("a\0b", 3)), to(std::string("\0bc", 3));
                 return FAULT_CALL(cFileChangeChars, file.c_str(), from.slot(), to.slot(), work.c_str());
               }});
  if (dll().cFileSearchAndReplace.fn != nullptr)
    v.push_back({"cFileSearchAndReplace", [](const std::string& file, const std::string& work) {
                   return FAULT_CALL(cFileSearchAndReplace, file.c_str(), "a", "AAAA", work.c_str(), -1);
                 }});
  return v;
}

// A text file of 120000 bytes in lines, and what each in-place function makes of it.
class InPlaceFiles {
 public:
  InPlaceFiles() {
    std::string text;
    for (int i = 0; text.size() < 120000; ++i) text += "line " + std::to_string(i) + " has an a and a b\r\n";
    original_ = text;
  }
  std::string Fresh(const std::string& name) const {
    std::string path = d_ / name;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    WriteBytes(path, original_);
    return path;
  }
  // The complete result of a function, from a run with room everywhere.
  std::string Result(const InPlace& p) {
    auto it = results_.find(p.name);
    if (it != results_.end()) return it->second;
    std::string file = Fresh("reference.txt");
    EXPECT_GE(p.run(file, d_ / "reference.work"), 0) << p.name;
    return results_[p.name] = ReadBytes(file).value_or("");
  }
  std::string dir() const { return d_.path(); }

 private:
  TempDir d_;
  std::string original_;
  std::map<std::string, std::string> results_;
};

InPlaceFiles& Files() {
  static InPlaceFiles files;
  return files;
}

}  // namespace

// A work file on a full disk: the pass fails, File is as it was and no work file stays.
TEST(InPlace, WorkFileOnFullDisk) {
  auto disk = FullDisk();
  if (!disk) GTEST_SKIP() << "no small file system mounted for this run (needs root)";
  for (const InPlace& p : InPlaceWriters()) {
    for (bool filled : {false, true}) {
      SCOPED_TRACE(p.name + (filled ? ", disk full from the start" : ", disk full half-way"));
      std::string file = Files().Fresh("file.txt");
      Kept before(file);
      std::string work = *disk + "\\work.tmp";
      int32_t r;
      {
        std::unique_ptr<fault::Filler> fill(filled ? new fault::Filler(*disk) : nullptr);
        r = p.run(file, work);
      }
      Tally::Get().Fault();
      EXPECT_TRUE(r == RC_WRITE_FAILED || r == RC_WRITE_SHORT) << r;
      EXPECT_TRUE(before.Same());
      EXPECT_FALSE(Exists(work));
    }
  }
}

// The copy back cannot open File (read-only, or held by a reader that shares no
// writing): File is as it was, and since nothing is lost the work file goes too.
TEST(InPlace, CopyBackThatCannotOpenFileLeavesItAndNoWorkFile) {
  for (const InPlace& p : InPlaceWriters()) {
    for (bool read_only : {true, false}) {
      SCOPED_TRACE(p.name + (read_only ? ", File read-only" : ", File held by a reader"));
      std::string file = Files().Fresh("locked.txt");
      if (read_only) {
        ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
      }
      Kept before(file);
      HANDLE reader = read_only ? INVALID_HANDLE_VALUE
                                : CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
      std::string work = Files().dir() + "\\kept.work";
      int32_t r = p.run(file, work);
      if (reader != INVALID_HANDLE_VALUE) CloseHandle(reader);
      Tally::Get().Fault();
      EXPECT_EQ(r, RC_CANT_OPEN_SECOND);
      EXPECT_TRUE(before.Same());
      EXPECT_FALSE(Exists(work));
      SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
  }
}

// File held by another handle, and work files that cannot be made: nothing is written,
// File is as it was, no work file stays.
TEST(InPlace, UnreadableFileAndUnusableWorkFiles) {
  for (const InPlace& p : InPlaceWriters()) {
    SCOPED_TRACE(p.name);
    std::string file = Files().Fresh("held.txt");
    Kept before(file);
    std::string work = Files().dir() + "\\held.work";
    HANDLE h = CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    int32_t r = p.run(file, work);
    CloseHandle(h);
    Tally::Get().Fault();
    EXPECT_EQ(r, RC_CANT_OPEN_FIRST);
    EXPECT_TRUE(before.Same());
    EXPECT_FALSE(Exists(work));

    std::string folder = Files().dir() + "\\work-folder";
    MakeDir(folder);
    for (const std::string& bad : {folder, Files().dir() + "\\missing\\work.tmp"}) {
      r = p.run(file, bad);
      Tally::Get().Fault();
      EXPECT_EQ(r, RC_CANT_OPEN_SECOND) << bad;
      EXPECT_TRUE(before.Same());
    }
    EXPECT_TRUE(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(Exists(Files().dir() + "\\missing"));
    RemoveDirectoryA(folder.c_str());
  }
}

}  // namespace vnk::test

namespace vnk::test {

namespace {

// The small file system with only `spare` bytes left: a file of that size is made first,
// the rest is filled, and the spare file is removed again.
class RoomFor {
 public:
  RoomFor(const std::string& disk, size_t spare) {
    std::string path = disk + "\\~spare.bin";
    if (spare > 0) WriteBytes(path, std::string(spare, 's'));
    fill_ = std::make_unique<fault::Filler>(disk);
    DeleteFileA(path.c_str());
  }

 private:
  std::unique_ptr<fault::Filler> fill_;
};

// A file whose zeros at [hole, hole + 8192) (the pages there) were never written, so that
// the file system gives them room only when they are written. Around them, lines with
// the letter a.
void WriteSparse(const std::string& path, size_t size, size_t hole) {
  std::string text;
  while (text.size() < size) text += "a line with an a\r\n";
  text.resize(size);
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD w;
  ASSERT_TRUE(WriteFile(h, text.data(), static_cast<DWORD>(hole), &w, nullptr));
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(std::min(size, hole + 8192));
  ASSERT_TRUE(SetFilePointerEx(h, at, nullptr, FILE_BEGIN));
  ASSERT_TRUE(WriteFile(h, text.data() + at.QuadPart, static_cast<DWORD>(size - at.QuadPart), &w, nullptr));
  ASSERT_TRUE(SetEndOfFile(h));
  CloseHandle(h);
}

}  // namespace

// The copy back of a rewrite that keeps File's length, failing at its first write, in the
// middle and at the end: File has pages the file system gave no room yet (a hole at its
// start, in its middle, at its end) and the disk is full, so writing over them fails.
// File must come through with exactly its old bytes, and the work file goes (nothing is
// lost). With room, the same File takes the complete result.
TEST(InPlace, CopyBackOverUnallocatedPagesOfAFullDisk) {
  auto disk = FullDisk();
  if (!disk) GTEST_SKIP() << "no small file system mounted for this run (needs root)";
  // Both replace a byte by a byte, so the length stays.
  std::vector<InPlace> same_length{InPlaceWriters()[0]};
  if (dll().cFileSearchAndReplace.fn != nullptr)
    same_length.push_back({"cFileSearchAndReplace", [](const std::string& file, const std::string& work) {
                             return FAULT_CALL(cFileSearchAndReplace, file.c_str(), "a", "b", work.c_str(), -1);
                           }});
  const size_t size = 30000;
  for (const InPlace& p : same_length) {
    for (size_t hole : {size_t{0}, size_t{12288}, size - 8192 + 48}) {
      SCOPED_TRACE(p.name + ", hole at " + std::to_string(hole));
      std::string file = *disk + "\\sparse.txt", work = Files().dir() + "\\sparse.work";
      WriteSparse(file, size, hole);
      Kept before(file);
      int32_t r;
      {
        RoomFor none(*disk, 0);
        r = p.run(file, work);
      }
      Tally::Get().Fault();
      EXPECT_TRUE(r == RC_WRITE_FAILED || r == RC_WRITE_SHORT) << r;
      EXPECT_TRUE(before.Same());
      EXPECT_FALSE(Exists(work));
      // With room the same call completes; the result is what the file's bytes give.
      EXPECT_GE(p.run(file, work), 0);
      std::string expect = *before.bytes();
      if (p.name == "cFileChangeChars") {
        // The pairs a to NUL, NUL to b, b to c, each seeing what the one before made.
        for (char& c : expect) {
          if (c == 'a') c = '\0';
          if (c == '\0') c = 'b';
          if (c == 'b') c = 'c';
        }
      } else {
        std::replace(expect.begin(), expect.end(), 'a', 'b');
      }
      EXPECT_TRUE(ReadBytes(file) == std::optional<std::string>(expect)) << "not the complete result";
      EXPECT_FALSE(Exists(work));
      DeleteFileA(file.c_str());
    }
  }
}

// A rewrite that grows File by three pages past the room its disk has left: none at all
// (the copy back would fail at its first write), one page (in the middle), two pages (at
// the end). File keeps exactly its old bytes, length and identity (another name for it
// still reaches it), and the work file goes. With room for the growth, File takes the
// complete result and stays the same file.
TEST(InPlace, CopyBackOntoAFullDiskKeepsFileWhole) {
  auto disk = FullDisk();
  if (!disk) GTEST_SKIP() << "no small file system mounted for this run (needs root)";
  if (dll().cFileSearchAndReplace.fn == nullptr) GTEST_SKIP() << "cFileSearchAndReplace is not built yet";
  std::string text;
  while (text.size() < 18000) text += "a line with an a\r\n";
  std::string expect;
  for (char c : text) expect += c == 'a' ? std::string("aaaaa") : std::string(1, c);
  const size_t growth = expect.size() - text.size();  // 12000 bytes, three pages
  std::string file = *disk + "\\grows.txt", link = *disk + "\\grows-link.txt", work = Files().dir() + "\\grows.work";
  for (size_t spare : {size_t{0}, size_t{4096}, size_t{8192}, growth + 8192}) {
    const bool fits = spare > growth;
    SCOPED_TRACE("room for " + std::to_string(spare) + " of " + std::to_string(growth) + " more bytes");
    WriteBytes(file, text);
    ASSERT_TRUE(CreateHardLinkA(link.c_str(), file.c_str(), nullptr));
    Kept before(file);
    int32_t r;
    {
      RoomFor room(*disk, spare);
      r = FAULT_CALL(cFileSearchAndReplace, file.c_str(), "a", "aaaaa", work.c_str(), -1);
    }
    Tally::Get().Fault();
    if (fits) {
      EXPECT_EQ(r, static_cast<int32_t>(expect.size() - 1000));  // each line end counts once
      EXPECT_TRUE(ReadBytes(file) == std::optional<std::string>(expect)) << "not the complete result";
    } else {
      EXPECT_TRUE(r == RC_WRITE_FAILED || r == RC_WRITE_SHORT) << r;
      EXPECT_TRUE(before.Same());
    }
    EXPECT_TRUE(ReadBytes(link) == ReadBytes(file)) << "File is no longer the file its other name reaches";
    EXPECT_FALSE(Exists(work));
    DeleteFileA(link.c_str());
    DeleteFileA(file.c_str());
  }
}

// Work files that are devices, in every spelling: refused before anything is written,
// File as it was. The pass would write into the device and the copy back would read
// nothing (or endless zeros) back over File; File sits on the small file system where
// there is one, so that a copy back of endless zeros cannot fill a real disk.
TEST(InPlace, DeviceWorkFiles) {
  TempDir d;
  auto disk = FullDisk();
  const std::string dir = disk ? *disk : d.path(), file = dir + "\\device.txt";
  for (const InPlace& p : InPlaceWriters()) {
    WriteBytes(file, ReadBytes(Files().Fresh("device.txt")).value_or("").substr(0, 30000));
    Kept before(file);
    for (const std::string& work : std::vector<std::string>{"NUL", "nul.txt", "NUL:", "Con", "aux.log", "PRN", "COM1", "lpt9.txt", "CONOUT$",
                             "\\\\.\\NUL", "//./nul", "\\\\.\\COM1", dir + "\\NUL", dir + "\\nul.tmp", dir + "\\Com3:",
                             "Z:\\dev\\null", "Z:\\dev\\zero", "Z:\\dev\\full"}) {
      SCOPED_TRACE(p.name + " with the work file " + work);
      int32_t r = p.run(file, work);
      Tally::Get().Fault();
      EXPECT_EQ(r, RC_CANT_OPEN_SECOND);
      EXPECT_TRUE(before.Same());
    }
    EXPECT_EQ(fault::FileNames(dir), (std::vector<std::string>{"device.txt"}));
    DeleteFileA(file.c_str());
  }
}

}  // namespace vnk::test
