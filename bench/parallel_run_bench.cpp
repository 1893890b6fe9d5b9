// Targets exported at once on an estate whose every call takes 2 ms, as a
// network would: 1,000 computers, their services, shares and drives, run
// one at a time and then 8, 32 and 64 at once in the same benchmark run.
// Each run happens in a child process so that its peak memory is its own;
// the times are reported against the serial run's, and the runs must write
// the same bytes.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "bench/in_child.h"
#include "bench/whole_run.h"
#include "estate/backend.h"
#include "estate/loader.h"

namespace tabulon {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kLatencyMs = 2;

// 1,000 computers, each with 10 services, 4 shares and 2 disks; 2 % of them
// offline, so that failures are among the rows.
constexpr const char* kEstate =
    R"({"latency_ms": 2, "synthetic": {"seed": 11, "domains": 1, "computers": 1000,
        "services_per_computer": 10, "offline_rate": 0.02, "shares_per_computer": 4,
        "disks_per_computer": 2}})";
constexpr const char* kExports =
    "[Computers]\nPingEnable=0\n[Services]\nExportServices=1\n[Shares]\nExportShares=1\n"
    "[Drives]\nExportDrives=1\nDrivesFormat=0\n";
constexpr const char* kFiles[] = {"services.txt", "shares.txt", "drives.txt"};

struct Figures {
  double seconds = 0;
  long peak_rss_kb = 0;
  std::int64_t rows = 0;
  std::uint64_t digest = 0;  // of every output file's bytes, in order
  bool ok = false;
};

// FNV-1a: equal digests for equal files is all the comparison needs.
void Digest(const std::string& path, std::uint64_t& digest) {
  std::ifstream in(path, std::ios::binary);
  for (std::istreambuf_iterator<char> it(in), end; it != end; ++it) {
    digest = (digest ^ static_cast<unsigned char>(*it)) * 1099511628211ULL;
  }
}

// Sets up the estate, runs the export with `parallel` targets at once and
// measures it; runs in the child.
Figures RunOnce(int parallel, const std::string& dir) {
  estate::LoadResult loaded = estate::ParseEstate(kEstate, "bench");
  if (!loaded.ok) return {};
  estate::EstateBackend backend(std::move(loaded.estate));
  backend.call_log().SetEnabled(false);
  // One target per computer, so that the run's targets are the computers.
  std::vector<std::string> objects;
  for (const auto& computer : backend.estate().computers) {
    objects.push_back(std::to_string(objects.size() + 1) + "\t0\t24\t1\treserved\treserved\t" +
                      computer.name + "\t\t\\\\" + computer.name + "\r\n");
  }
  bench::WriteObjectFile(dir + "/objects.dat", objects);
  std::ofstream(dir + "/run.ini") << "[General]\nObjectFile=" << dir
                                  << "/objects.dat\nDefaultOutputDirectory=" << dir
                                  << "\nParallelTargets=" << parallel << "\n"
                                  << kExports;
  RunObserver quiet;  // the offline computers' failure rows are expected
  const bench::RunFigures run = bench::RunConfiguration(backend, dir, quiet);
  Figures f;
  f.ok = run.ok;
  f.seconds = run.seconds;
  f.peak_rss_kb = run.peak_rss_kb;
  f.digest = 14695981039346656037ULL;
  std::int64_t bytes = 0;
  for (const char* name : kFiles) {
    f.rows += bench::CountRows(dir + "/" + name, bytes);
    Digest(dir + "/" + name, f.digest);
  }
  return f;
}

Figures RunInChild(int parallel) {
  char pattern[] = "/tmp/tabulon-bench-XXXXXX";
  const std::string dir = ::mkdtemp(pattern);
  const auto f = bench::InChild<Figures>([&] { return RunOnce(parallel, dir); });
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
  return f.value_or(Figures{});
}

// Serial, then 8, 32 and 64 at once. The iteration's time is the serial
// run's; the counters give each parallel run's speed-up over it
// (speedup_N, goal at 32: 20 or more), every run's seconds and peak memory
// (peak_MB_N, goal: under 64), and whether every run wrote the serial run's
// bytes (same_bytes, 1 when all did).
void BM_ParallelTargets(benchmark::State& state) {
  for (auto _ : state) {
    const Figures serial = RunInChild(1);
    if (!serial.ok) {
      state.SkipWithError("the serial run failed");
      return;
    }
    state.SetIterationTime(serial.seconds);
    state.counters["rows"] = static_cast<double>(serial.rows);
    state.counters["seconds_1"] = serial.seconds;
    state.counters["peak_MB_1"] = static_cast<double>(serial.peak_rss_kb) / 1024.0;
    bool same = true;
    for (const int parallel : {8, 32, 64}) {
      const Figures f = RunInChild(parallel);
      if (!f.ok) {
        state.SkipWithError("a parallel run failed");
        return;
      }
      const std::string n = std::to_string(parallel);
      state.counters["seconds_" + n] = f.seconds;
      state.counters["speedup_" + n] = serial.seconds / f.seconds;
      state.counters["peak_MB_" + n] = static_cast<double>(f.peak_rss_kb) / 1024.0;
      same = same && f.digest == serial.digest && f.rows == serial.rows;
    }
    state.counters["same_bytes"] = same ? 1 : 0;
  }
}
BENCHMARK(BM_ParallelTargets)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// The estate's latency from many threads at once: each thread opens its own
// session to a computer of its own and makes 50 calls. A shared lock around
// the wait would make the wall time grow with the threads;
// wait_per_call_ms should stay near 2 at every count.
void BM_EstateLatencyAcrossThreads(benchmark::State& state) {
  const int threads = static_cast<int>(state.range(0));
  constexpr int kCalls = 50;
  estate::LoadResult loaded = estate::ParseEstate(kEstate, "bench");
  if (!loaded.ok) {
    state.SkipWithError(loaded.error.c_str());
    return;
  }
  estate::EstateBackend backend(std::move(loaded.estate));
  backend.call_log().SetEnabled(false);
  const auto& computers = backend.estate().computers;
  double seconds = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
      workers.emplace_back([&, t] {
        const auto& computer = computers[static_cast<std::size_t>(t)];
        const auto session = backend.Open(computer.name, {});
        for (int i = 0; i < kCalls; ++i) {
          benchmark::DoNotOptimize(
              session->server().NetServerGetInfo101("\\\\" + computer.name).status);
        }
      });
    }
    for (std::thread& worker : workers) worker.join();
    seconds = std::chrono::duration<double>(Clock::now() - start).count();
    state.SetIterationTime(seconds);
  }
  state.counters["wait_per_call_ms"] = seconds * 1000.0 / kCalls;
  state.counters["latency_ms"] = kLatencyMs;
}
BENCHMARK(BM_EstateLatencyAcrossThreads)
    ->Arg(1)
    ->Arg(8)
    ->Arg(64)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tabulon
