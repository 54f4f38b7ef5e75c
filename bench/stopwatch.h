// The clock and memory readings of the benchmark's Windows programs (vnkbench.exe,
// vnkfloor.exe): QueryPerformanceCounter around the timed work, and the working set
// before it and at its peak, printed as " peak_mb=<m> base_mb=<m>".
#pragma once

#include <windows.h>
#include <psapi.h>

#include <cstdio>

class Stopwatch {
 public:
  // Starts the clock.
  Stopwatch() {
    before_.cb = after_.cb = sizeof before_;
    GetProcessMemoryInfo(GetCurrentProcess(), &before_, sizeof before_);
    QueryPerformanceFrequency(&freq_);
    QueryPerformanceCounter(&t0_);
  }

  void Stop() {
    QueryPerformanceCounter(&t1_);
    GetProcessMemoryInfo(GetCurrentProcess(), &after_, sizeof after_);
  }

  double Seconds() const {
    return static_cast<double>(t1_.QuadPart - t0_.QuadPart) / static_cast<double>(freq_.QuadPart);
  }

  // Ends the line.
  void PrintMemory() const {
    std::printf(" peak_mb=%.1f base_mb=%.1f\n", MegaBytes(after_.PeakWorkingSetSize), MegaBytes(before_.WorkingSetSize));
  }

 private:
  static double MegaBytes(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

  PROCESS_MEMORY_COUNTERS before_{}, after_{};
  LARGE_INTEGER freq_{}, t0_{}, t1_{};
};
