#pragma once
// What the benchmarks of runs against real servers share: a run in a child
// process, timed, with its peak memory and that of its transport worker
// (the child's own children, once ended).
#include <sys/resource.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <string>

#include "bench/in_child.h"

namespace tabulon::bench {

using Clock = std::chrono::steady_clock;

struct ServerRunFigures {
  double seconds = 0;
  long rows = 0;
  long parent_peak_kb = 0;
  long worker_peak_kb = 0;
};

inline double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The data rows of an output file, its title row not counted.
inline long DataRows(const std::string& path) {
  std::ifstream in(path);
  long lines = 0;
  for (std::string line; std::getline(in, line);) ++lines;
  return lines > 0 ? lines - 1 : 0;
}

// `run` in a child process: it makes its run and returns the data rows it
// wrote. Zero figures when the child did not report.
inline ServerRunFigures MeasureServerRun(const std::function<long()>& run) {
  return InChild<ServerRunFigures>([&run] {
           ServerRunFigures measured;
           const auto start = Clock::now();
           measured.rows = run();
           measured.seconds = Since(start);
           rusage self{};
           rusage children{};
           ::getrusage(RUSAGE_SELF, &self);
           ::getrusage(RUSAGE_CHILDREN, &children);
           measured.parent_peak_kb = self.ru_maxrss;
           measured.worker_peak_kb = children.ru_maxrss;
           return measured;
         })
      .value_or(ServerRunFigures{});
}

}  // namespace tabulon::bench
