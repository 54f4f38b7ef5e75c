// The pure kernels timed natively with Google Benchmark, in bytes per second over the
// blocks the DLL hands them (WORK_BLOCK bytes of realistic text, or random bytes), with
// memcpy over the same blocks as the ceiling. Run by bench/run.sh; not a test. The
// Windows builds (the DLL's own i686 and x64 code, under Wine) time the same bodies with
// the small loop of minibench.h.
#ifdef VNK_MINIBENCH
#include "bench/minibench.h"
#else
#include <benchmark/benchmark.h>
#endif

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "files/compare_kernel.h"
#include "frame/bytes_kernel.h"
#include "frame/cpu_kernel.h"
#include "scan/wildcard_kernel.h"
#include "text/count_kernel.h"
#include "text/filter_kernel.h"
#include "text/search_kernel.h"
#include "text/sort_kernel.h"
#include "text/textmode_kernel.h"
#include "text/transforms_kernel.h"
#include "text/uu_kernel.h"

namespace {

constexpr size_t kBlock = 0x8000;     // the DLL's work block
constexpr size_t kData = 64 * kBlock;  // 2 MB: past the caches' small levels, as a file is

// Lines like the benchmark's text file: prose, log records, indented code with TABs and
// blank-padded table rows, CR LF ends.
const std::vector<uint8_t>& Text() {
  static const std::vector<uint8_t> text = [] {
    static const char* words[] = {"the",     "of",     "and",     "invoice", "customer", "Berlin", "report",
                                  "payment", "Monday", "network", "the",     "amount",   "Smith",  "delivered"};
    std::mt19937 rng(7);
    std::string s;
    while (s.size() < kData) {
      switch (rng() % 4) {
        case 0:
          for (int i = 0, n = 4 + rng() % 12; i < n; ++i) (s += i ? " " : "") += words[rng() % 14];
          s += '.';
          break;
        case 1:
          s += "2024-03-01 12:34:56 INFO  user" + std::to_string(rng() % 5000) + " " + words[rng() % 14];
          break;
        case 2:
          s.append(rng() % 4, '\t');
          s += std::string("If ") + words[rng() % 14] + " > 10 Then total = total + 1";
          break;
        default:
          s += std::string(words[rng() % 14]) + "            " + std::to_string(rng() % 100000) + "      x";
      }
      s += "\r\n";
    }
    s.resize(kData);
    return std::vector<uint8_t>(s.begin(), s.end());
  }();
  return text;
}

const std::vector<uint8_t>& Random() {
  static const std::vector<uint8_t> data = [] {
    std::mt19937 rng(11);
    std::vector<uint8_t> d(kData);
    for (auto& b : d) b = static_cast<uint8_t>(rng());
    return d;
  }();
  return data;
}

// Runs body(block, n) over every block of the data and counts the bytes.
template <class Body>
void OverBlocks(benchmark::State& state, const std::vector<uint8_t>& data, Body body) {
  for (auto _ : state)
    for (size_t at = 0; at < data.size(); at += kBlock) body(data.data() + at, kBlock);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(data.size()));
}

void Memcpy(benchmark::State& state) {
  std::vector<uint8_t> out(kBlock);
  OverBlocks(state, Text(), [&](const uint8_t* b, size_t n) {
    std::memcpy(out.data(), b, n);
    benchmark::DoNotOptimize(out.data());
  });
}
BENCHMARK(Memcpy);

// The same over 64 MB, far past every cache: the machine's memory-copy speed.
void MemcpyMemory(benchmark::State& state) {
  std::vector<uint8_t> from(64 << 20, 1), to(64 << 20);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::DoNotOptimize(to.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(from.size()));
}
BENCHMARK(MemcpyMemory);

void CountCR(benchmark::State& state) {
  OverBlocks(state, Text(), [](const uint8_t* b, size_t n) { benchmark::DoNotOptimize(vnk::CountByte(b, n, '\r')); });
}
BENCHMARK(CountCR);

void WordCount(benchmark::State& state) {
  vnk::WordCounter counter;
  OverBlocks(state, Text(), [&](const uint8_t* b, size_t n) { counter.Feed(b, n); });
  benchmark::DoNotOptimize(counter.words());
}
BENCHMARK(WordCount);

// The in-place transforms work on a copy, as the DLL works on the block it just read.
template <class Body>
void InPlace(benchmark::State& state, Body body) {
  std::vector<uint8_t> work(kBlock);
  OverBlocks(state, Text(), [&](const uint8_t* b, size_t n) {
    std::memcpy(work.data(), b, n);
    body(work.data(), n);
    benchmark::DoNotOptimize(work.data());
  });
}

void ToUpper(benchmark::State& state) { InPlace(state, [](uint8_t* b, size_t n) { vnk::UpperAscii(b, n); }); }
BENCHMARK(ToUpper);
void ToLower(benchmark::State& state) { InPlace(state, [](uint8_t* b, size_t n) { vnk::LowerAscii(b, n); }); }
BENCHMARK(ToLower);

void ChangeChars(benchmark::State& state) {
  const uint8_t from[] = "abc", to[] = "xyz";
  vnk::ByteMap map = vnk::SubstitutionMap(from, to, 3);
  InPlace(state, [&](uint8_t* b, size_t n) { vnk::ApplyMap(map, b, n); });
}
BENCHMARK(ChangeChars);

void CompressTab(benchmark::State& state) {
  std::vector<uint8_t> out(kBlock);
  OverBlocks(state, Text(), [&](const uint8_t* b, size_t n) {
    benchmark::DoNotOptimize(vnk::CompressBlanks(b, n, out.data(), 8));
  });
}
BENCHMARK(CompressTab);

void ExpandTab(benchmark::State& state) {
  std::vector<uint8_t> out(vnk::EXPAND_LIMIT);
  OverBlocks(state, Text(), [&](const uint8_t* b, size_t n) {
    size_t tabs = vnk::CountTabs(b, n);
    benchmark::DoNotOptimize(vnk::ExpandTabs(b, n, tabs, out.data(), 8));
  });
}
BENCHMARK(ExpandTab);

void Filter(benchmark::State& state) {
  const uint8_t chars[] = ",.";
  vnk::ByteSet set = vnk::MakeByteSet(chars, 2);
  std::vector<uint8_t> out(kBlock);
  OverBlocks(state, Text(), [&](const uint8_t* b, size_t n) {
    benchmark::DoNotOptimize(vnk::KeepBytes(set, false, b, n, out.data()));
  });
}
BENCHMARK(Filter);

void CompareExact(benchmark::State& state) {
  std::vector<uint8_t> copy = Random();
  OverBlocks(state, Random(), [&](const uint8_t* b, size_t n) {
    benchmark::DoNotOptimize(vnk::BlocksMatch(b, copy.data() + (b - Random().data()), n, true));
  });
}
BENCHMARK(CompareExact);

void CompareNoCase(benchmark::State& state) {
  // The same text once in capitals: every word differs in case only, the slow path.
  std::vector<uint8_t> upper = Text();
  vnk::UpperAscii(upper.data(), upper.size());
  OverBlocks(state, Text(), [&](const uint8_t* b, size_t n) {
    benchmark::DoNotOptimize(vnk::BlocksMatch(b, upper.data() + (b - Text().data()), n, false));
  });
}
BENCHMARK(CompareNoCase);

void UuEncode(benchmark::State& state) {
  char line[vnk::UU_LINE_CHARS];
  std::vector<uint8_t> padded(Random());
  padded.resize(padded.size() + 3);
  for (auto _ : state)
    for (size_t at = 0; at < Random().size(); at += vnk::UU_LINE_BYTES) {
      size_t n = std::min(vnk::UU_LINE_BYTES, Random().size() - at);
      benchmark::DoNotOptimize(vnk::UuEncodeLine(padded.data() + at, n, line));
    }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(Random().size()));
}
BENCHMARK(UuEncode);

void UuDecode(benchmark::State& state) {
  // Encoded lines of the random data, decoded group by group as the DLL does.
  std::string encoded;
  {
    std::vector<uint8_t> padded(Random());
    padded.resize(padded.size() + 3);
    char line[vnk::UU_LINE_CHARS];
    for (size_t at = 0; at < Random().size(); at += vnk::UU_LINE_BYTES) {
      size_t n = std::min(vnk::UU_LINE_BYTES, Random().size() - at);
      encoded.append(line, vnk::UuEncodeLine(padded.data() + at, n, line));
    }
  }
  std::vector<uint8_t> out(Random().size() + 3);
  const auto* chars = reinterpret_cast<const uint8_t*>(encoded.data());
  for (auto _ : state) {
    size_t i = 0, o = 0;
    while (i < encoded.size()) {
      size_t due = vnk::UuValue(chars[i++]);
      o += vnk::UuDecodeLine(chars + i, due, out.data() + o);
      i += 4 * ((due + 2) / 3) + 1;
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(Random().size()));
}
BENCHMARK(UuDecode);

void TextMode(benchmark::State& state) {
  std::vector<uint8_t> work(kBlock);
  OverBlocks(state, Text(), [&](const uint8_t* b, size_t n) {
    std::memcpy(work.data(), b, n);
    benchmark::DoNotOptimize(vnk::TextModeInPlace(reinterpret_cast<char*>(work.data()), n, false).length);
  });
}
BENCHMARK(TextMode);

// The one-pass matcher: occurrences of a word in the lines of the whole text, exact and
// folded, as cFileSearchCount scans its blocks.
void Matcher(benchmark::State& state) {
  const bool fold = state.range(0) != 0;
  const char* text = reinterpret_cast<const char*>(Text().data());
  for (auto _ : state) {
    vnk::LineSearch search(fold ? "berlin" : "Berlin", 6, fold, vnk::SEARCH_PIECE, false, vnk::HasSse2());
    benchmark::DoNotOptimize(search.Scan(text, Text().size(), true));
    benchmark::DoNotOptimize(search.count());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(Text().size()));
}
BENCHMARK(Matcher)->Arg(0)->Arg(1);

// The replacement pass over the whole text into a buffer, as cFileSearchAndReplace hands
// its output to the writer.
void Replace(benchmark::State& state) {
  const char* text = reinterpret_cast<const char*>(Text().data());
  std::vector<char> out(2 * Text().size());
  struct Gather {
    char* to;
    static void Put(void* self, const char* p, size_t n) {
      auto* g = static_cast<Gather*>(self);
      std::memcpy(g->to, p, n);
      g->to += n;
    }
  };
  for (auto _ : state) {
    Gather g{out.data()};
    vnk::LineReplace pass("Berlin", 6, false, "Munich", 6, vnk::REPLACE_PIECE, vnk::HasSse2(), Gather::Put, &g);
    benchmark::DoNotOptimize(pass.Scan(text, Text().size(), true));
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(Text().size()));
}
BENCHMARK(Replace);

// The line comparators through the sort of a table of lines (as cFileSort sorts them);
// bytes per second of text sorted.
void SortLines(benchmark::State& state) {
  std::string text(reinterpret_cast<const char*>(Text().data()), Text().size());
  for (char& c : text)
    if (c == '\r') c = ' ';
  text.back() = '\n';
  std::vector<const char*> lines;
  for (size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) lines.push_back(text.data() + at);
  std::vector<const char*> work;
  for (auto _ : state) {
    work = lines;
    vnk::SortLines(work.data(), work.size(), vnk::SortOrder{false, state.range(0) != 0});
    benchmark::DoNotOptimize(work.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(SortLines)->Arg(0)->Arg(1);

void CompareLines(benchmark::State& state) {
  // Pairs of lines that share a long prefix, the costly case for a comparator.
  std::vector<std::string> lines;
  for (int i = 0; i < 1000; ++i) lines.push_back("2024-03-01 12:34:56 INFO  user" + std::to_string(i) + " Berlin\n");
  size_t bytes = 0;
  for (const auto& l : lines) bytes += l.size();
  for (auto _ : state)
    for (size_t i = 1; i < lines.size(); ++i)
      benchmark::DoNotOptimize(vnk::CompareLines(lines[i - 1].c_str(), lines[i].c_str(), state.range(0) != 0));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}
BENCHMARK(CompareLines)->Arg(0)->Arg(1);

void Wildcard(benchmark::State& state) {
  // Names as a tree walk meets them, against a pattern with both wildcards.
  std::vector<std::string> names;
  for (int i = 0; i < 1000; ++i) names.push_back("FILE" + std::to_string(i) + (i % 2 ? ".TXT" : ".DAT"));
  size_t bytes = 0;
  for (const auto& n : names) bytes += n.size();
  for (auto _ : state)
    for (const auto& n : names) benchmark::DoNotOptimize(vnk::WildcardMatch(n.c_str(), "F*1?.TXT"));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(names.size()));
}
BENCHMARK(Wildcard);

}  // namespace

BENCHMARK_MAIN();
