#pragma once
// What the whole-run benchmarks share: a run of a configuration on an
// estate, timed, with the process's peak memory; and running it in a child
// process so that the peak is that run's own.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/export_run.h"
#include "estate/backend.h"

namespace tabulon::bench {

struct RunFigures {
  double seconds = 0;
  std::int64_t rows = 0;
  std::int64_t bytes = 0;
  long peak_rss_kb = 0;
  bool ok = false;
};

// The data rows of an output file (its title row not counted); adds the
// file's size to `bytes`.
std::int64_t CountRows(const std::string& path, std::int64_t& bytes);

// Writes an object file of `lines` (each ending in CR LF) in UTF-16 with FF FE.
void WriteObjectFile(const std::string& path, const std::vector<std::string>& lines);

// Runs `dir`/run.ini on the estate of `backend` in this process: the run's
// time, whether it ran to the end, and the process's peak memory so far.
// `adjust`, when given, may replace parts of the platform (the sessions of
// a family) once the estate is attached.
RunFigures RunConfiguration(estate::EstateBackend& backend, const std::string& dir,
                            RunObserver& observer,
                            const std::function<void(platform::Platform&)>& adjust = {});

// Calls `once` with a fresh folder in a child process and returns what it
// measured (ok false when the child did not report).
RunFigures RunInChild(const std::function<RunFigures(const std::string& dir)>& once);

// One iteration per benchmark run, each in a child: sets the manual time,
// items processed and the rows and peak-memory counters; returns the last
// figures (ok false after reporting the error).
RunFigures MeasureInChildren(benchmark::State& state,
                             const std::function<RunFigures(const std::string& dir)>& once);

}  // namespace tabulon::bench
