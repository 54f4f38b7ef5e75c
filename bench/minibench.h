// The part of Google Benchmark's interface that kernels_bench.cpp uses, as a small
// self-timed loop, for the Windows builds of kernels_bench (there is no Google Benchmark
// for MinGW). Each benchmark runs enough iterations to take about 0.1 s, then the best of
// five such runs is reported in bytes per second, as Google Benchmark's lines are.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace benchmark {

inline double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

template <class T>
inline void DoNotOptimize(T&& value) {
  asm volatile("" : : "r,m"(value) : "memory");
}

class State {
 public:
  State(int64_t iterations, int64_t arg) : iterations_(iterations), arg_(arg) {}

  // A value with a destructor of its own, so that `for (auto _ : state)` draws no
  // unused-variable warning.
  struct Value {
    ~Value() {}
  };
  // The clock runs from the first iteration to the end of the last: what a benchmark
  // sets up before its loop is not timed.
  struct Iterator {
    State* state;
    int64_t left;
    bool operator!=(const Iterator&) const {
      if (left == 0) state->stop_ = Now();
      return left != 0;
    }
    void operator++() { --left; }
    Value operator*() const { return {}; }
  };
  Iterator begin() {
    start_ = Now();
    return {this, iterations_};
  }
  Iterator end() { return {this, 0}; }
  double seconds() const { return stop_ - start_; }

  int64_t iterations() const { return iterations_; }
  int64_t range(int) const { return arg_; }
  void SetBytesProcessed(int64_t bytes) { bytes_ = bytes; }
  void SetItemsProcessed(int64_t items) { items_ = items; }
  int64_t bytes() const { return bytes_; }
  int64_t items() const { return items_; }

 private:
  int64_t iterations_, arg_, bytes_ = 0, items_ = 0;
  double start_ = 0, stop_ = 0;
};

namespace internal {

struct Entry {
  std::string name;
  void (*fn)(State&);
  std::vector<int64_t> args;
};

inline std::vector<Entry>& Entries() {
  static std::vector<Entry> entries;
  return entries;
}

struct Registration {
  size_t index;
  Registration* Arg(int64_t a) {
    Entries()[index].args.push_back(a);
    return this;
  }
};

inline Registration* Register(const char* name, void (*fn)(State&)) {
  Entries().push_back({name, fn, {}});
  return new Registration{Entries().size() - 1};
}

inline std::string Rate(double per_second) {
  static const char* units[] = {"", "k", "M", "G", "T"};
  int u = 0;
  while (per_second >= 1024 && u < 4) per_second /= 1024, ++u;
  char text[32];
  std::snprintf(text, sizeof text, "%.5g%s", per_second, units[u]);
  return text;
}

// One benchmark with one argument: the iteration count that lasts about 0.1 s, then the
// best of five runs of that count.
inline void Run(const Entry& e, int64_t arg, bool with_arg) {
  double took = 0;
  int64_t n = 1;
  for (;; n *= 2) {
    State s(n, arg);
    e.fn(s);
    took = s.seconds();
    if (took >= 0.1 || n >= (int64_t{1} << 40)) break;
  }
  double best = 1e300;
  State last(n, arg);
  for (int r = 0; r < 5; ++r) {
    State s(n, arg);
    e.fn(s);
    double t = s.seconds();
    if (t < best) best = t, last = s;
  }
  std::string name = e.name + (with_arg ? "/" + std::to_string(arg) : "");
  std::string line = name + std::string(name.size() < 16 ? 16 - name.size() : 1, ' ') + Rate(last.bytes() / best) + "B/s";
  if (last.items()) line += " (" + Rate(last.items() / best) + " items/s)";
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

inline int RunAll() {
  for (const Entry& e : Entries()) {
    if (e.args.empty()) Run(e, 0, false);
    for (int64_t a : e.args) Run(e, a, true);
  }
  return 0;
}

}  // namespace internal
}  // namespace benchmark

#define VNK_BENCH_JOIN2(a, b) a##b
#define VNK_BENCH_JOIN(a, b) VNK_BENCH_JOIN2(a, b)
#define BENCHMARK(fn) \
  [[maybe_unused]] static ::benchmark::internal::Registration* VNK_BENCH_JOIN(vnk_bench_, __LINE__) = ::benchmark::internal::Register(#fn, fn)
#define BENCHMARK_MAIN() \
  int main() { return ::benchmark::internal::RunAll(); }
