// Whole unattended runs on synthetic estates: 1,000 and 10,000 computers
// with 150 services each, exporting services and computers; and the same
// computers as file servers, exporting shares, share connections, sessions,
// open files and drives. Each run happens
// in a child process so that its peak memory is its own; rows per second are
// compared with the row writer's raw rows per second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "bench/whole_run.h"
#include "estate/loader.h"
#include "run/stream_observer.h"

namespace tabulon {
namespace {

using bench::CountRows;
using bench::RunFigures;

enum class Workload { kServices, kFileServers };

// Each computer: the default shares of three disks, 12 shares with 4
// connections each, 40 sessions and 60 open files.
constexpr std::string_view kFileServerEstate =
    ", \"shares_per_computer\": 12, \"connections_per_share\": 4, \"sessions_per_computer\": 40, "
    "\"open_files_per_computer\": 60, \"disks_per_computer\": 3";
constexpr std::string_view kFileServerExports =
    "[Shares]\nExportShares=1\n[ExportShareConnections]\nExportShareConnections=1\n"
    "[Sessions]\nExportSessions=1\n[OpenFiles]\nExportOpenFiles=1\n[Drives]\nExportDrives=1\n"
    "DrivesFormat=0\n";
constexpr const char* kFileServerFiles[] = {"shares.txt", "share_connections.txt", "sessions.txt",
                                            "open_files.txt", "drives.txt"};

// Sets up the estate, runs the export and measures it; runs in the child.
RunFigures RunOnce(int computers, Workload workload, const std::string& dir) {
  const bool files = workload == Workload::kFileServers;
  const std::string estate_json =
      "{\"synthetic\": {\"seed\": 7, \"domains\": " + std::to_string(computers >= 5000 ? 10 : 1) +
      ", \"computers\": " + std::to_string(computers) +
      ", \"services_per_computer\": " + (files ? "0" : "150") + ", \"offline_rate\": 0.02" +
      std::string(files ? kFileServerEstate : "") + "}}";
  estate::LoadResult loaded = estate::ParseEstate(estate_json, "bench");
  if (!loaded.ok) return {};
  estate::EstateBackend backend(std::move(loaded.estate));
  backend.call_log().SetEnabled(false);

  std::vector<std::string> objects;
  for (const auto& domain : backend.estate().domains) {
    objects.push_back(std::to_string(objects.size() + 1) + "\t0\t99\t1\treserved\treserved\t" +
                      domain.name + "\t\t" + domain.name + "\r\n");
  }
  bench::WriteObjectFile(dir + "/objects.dat", objects);
  std::ofstream(dir + "/run.ini") << "[General]\nObjectFile=" << dir
                                  << "/objects.dat\nDefaultOutputDirectory=" << dir
                                  << "\n[Computers]\nPingEnable=0\n"
                                  << (files ? kFileServerExports
                                            : "ExportComputers=1\n[Services]\nExportServices=1\n");

  // Failure rows of the estate's offline computers would only slow the
  // run down with terminal output; messages still show.
  run::StreamObserver messages(stderr);
  RunFigures f = bench::RunConfiguration(backend, dir, messages);
  if (files) {
    for (const char* name : kFileServerFiles) f.rows += CountRows(dir + "/" + name, f.bytes);
  } else {
    f.rows = CountRows(dir + "/services.txt", f.bytes) + CountRows(dir + "/computers.txt", f.bytes);
  }
  return f;
}

void RunBenchmark(benchmark::State& state, Workload workload) {
  const int computers = static_cast<int>(state.range(0));
  const RunFigures f = bench::MeasureInChildren(
      state, [&](const std::string& dir) { return RunOnce(computers, workload, dir); });
  if (!f.ok) return;
  state.SetBytesProcessed(state.iterations() * f.bytes);
  state.counters["rows_baseline_id"] = 1;
}

void BM_UnattendedRun(benchmark::State& state) {
  RunBenchmark(state, Workload::kServices);
}
BENCHMARK(BM_UnattendedRun)
    ->Arg(1000)
    ->Arg(10000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_UnattendedRunFileServers(benchmark::State& state) {
  RunBenchmark(state, Workload::kFileServers);
}
BENCHMARK(BM_UnattendedRunFileServers)
    ->Arg(1000)
    ->Arg(10000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tabulon
