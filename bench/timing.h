#pragma once
// Processor time and medians for the benchmarks. Processor time of the running thread, not the wall clock:
// a run is one thread, and other work on the machine stretches the clock by a factor of two or more but
// this far less.
#include <time.h>

#include <algorithm>
#include <vector>

namespace tolvek::bench {

inline double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The whole process, for work that the platform may spread over threads of its own.
inline double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The middle value; of an even count the mean of the two middle ones; 0 for none.
inline double Median(std::vector<double> v) {
  if (v.empty()) return 0.0;
  std::sort(v.begin(), v.end());
  const std::size_t m = v.size() / 2;
  return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2.0;
}

}  // namespace tolvek::bench
