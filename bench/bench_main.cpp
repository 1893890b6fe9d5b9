// Runs every benchmark and then prints, for each benchmark that names a
// baseline, its throughput as a ratio of the baseline measured in the same
// run. A benchmark names its baseline with the counter "baseline_id", and a
// baseline marks itself with "is_baseline_id".
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      const auto bytes = run.counters.find("bytes_per_second");
      const double bps = bytes != run.counters.end() ? bytes->second.value : 0.0;
      const auto items = run.counters.find("items_per_second");
      const double ips = items != run.counters.end() ? items->second.value : 0.0;
      if (auto id = run.counters.find("is_baseline_id"); id != run.counters.end()) {
        baselines_[static_cast<int>(id->second.value)] = bps;
      }
      if (auto id = run.counters.find("baseline_id"); id != run.counters.end()) {
        measured_.push_back({run.benchmark_name(), static_cast<int>(id->second.value), bps});
      }
      if (auto id = run.counters.find("is_rows_baseline_id"); id != run.counters.end()) {
        row_baselines_[static_cast<int>(id->second.value)] = ips;
      }
      if (auto id = run.counters.find("rows_baseline_id"); id != run.counters.end()) {
        measured_rows_.push_back({run.benchmark_name(), static_cast<int>(id->second.value), ips});
      }
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    if (!measured_.empty()) std::printf("\nThroughput against the baseline of the same run:\n");
    for (const auto& m : measured_) {
      const auto base = baselines_.find(m.baseline);
      if (base == baselines_.end() || base->second <= 0) continue;
      std::printf("  %-45s %8.1f MB/s    = %.2f x baseline\n", m.name.c_str(), m.bps / 1e6,
                  m.bps / base->second);
    }
    if (!measured_rows_.empty()) std::printf("\nRows per second against the raw row writer:\n");
    for (const auto& m : measured_rows_) {
      const auto base = row_baselines_.find(m.baseline);
      if (base == row_baselines_.end() || base->second <= 0) continue;
      std::printf("  %-45s %8.0f rows/s  = %.2f x row writer\n", m.name.c_str(), m.bps,
                  m.bps / base->second);
    }
  }

 private:
  struct Measured {
    std::string name;
    int baseline;
    double bps;
  };
  std::map<int, double> baselines_;
  std::vector<Measured> measured_;
  std::map<int, double> row_baselines_;
  std::vector<Measured> measured_rows_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
