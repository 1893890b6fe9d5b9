// Whole unattended runs on synthetic estates: 1,000 and 10,000 computers
// with 150 services each, exporting services and computers; and the same
// computers as file servers, exporting shares, share connections, sessions,
// open files and drives. Each run happens
// in a child process so that its peak memory is its own; rows per second are
// compared with the row writer's raw rows per second.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/export_run.h"
#include "estate/backend.h"
#include "estate/loader.h"
#include "exporters/units.h"
#include "platform/ini_file_profile.h"
#include "platform/locale.h"

namespace tabulon {
namespace {

struct RunFigures {
  double seconds = 0;
  std::int64_t rows = 0;
  std::int64_t bytes = 0;
  long peak_rss_kb = 0;
  bool ok = false;
};

std::int64_t CountLines(const std::string& path, std::int64_t& bytes) {
  std::ifstream in(path, std::ios::binary);
  std::int64_t lines = 0;
  std::string line;
  while (std::getline(in, line)) ++lines;
  bytes += static_cast<std::int64_t>(std::filesystem::file_size(path));
  return lines - 1;  // the title row
}

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
class QuietFailureRows final : public MessageSink {
 public:
  void ShowError(std::string_view text) override { stream_.ShowError(text); }
  bool AskYesNo(std::string_view text, bool answer) override {
    return stream_.AskYesNo(text, answer);
  }

 private:
  StreamMessages stream_{stderr};
};

RunFigures RunOnce(int computers, Workload workload, const std::string& dir) {
  RunFigures f;
  const bool files = workload == Workload::kFileServers;
  const std::string estate_json =
      "{\"synthetic\": {\"seed\": 7, \"domains\": " + std::to_string(computers >= 5000 ? 10 : 1) +
      ", \"computers\": " + std::to_string(computers) +
      ", \"services_per_computer\": " + (files ? "0" : "150") + ", \"offline_rate\": 0.02" +
      std::string(files ? kFileServerEstate : "") + "}}";
  estate::LoadResult loaded = estate::ParseEstate(estate_json, "bench");
  if (!loaded.ok) return f;
  estate::EstateBackend backend(std::move(loaded.estate));
  backend.call_log().SetEnabled(false);

  std::string objects = "\xFF\xFE";
  int line = 1;
  for (const auto& domain : backend.estate().domains) {
    const std::string text = std::to_string(line++) + "\t0\t99\t1\treserved\treserved\t" +
                             domain.name + "\t\t" + domain.name + "\r\n";
    for (char c : text) {
      objects.push_back(c);
      objects.push_back('\0');
    }
  }
  std::ofstream(dir + "/objects.dat", std::ios::binary) << objects;
  std::ofstream(dir + "/run.ini") << "[General]\nObjectFile=" << dir
                                  << "/objects.dat\nDefaultOutputDirectory=" << dir
                                  << "\n[Computers]\nPingEnable=0\n"
                                  << (files ? kFileServerExports
                                            : "ExportComputers=1\n[Services]\nExportServices=1\n");

  platform::IniFileProfile profile;
  platform::SystemClock clock;
  auto locale = platform::MakeProcessLocale();
  platform::Platform platform;
  platform.profile = &profile;
  platform.clock = &clock;
  platform.locale = locale.get();
  backend.Attach(platform);
  // Failure rows of the estate's offline computers would only slow the
  // run down with terminal output; messages still show.
  QuietFailureRows messages;
  const ExporterUnits units = StandardExporterUnits();
  ExporterProgramStates unit_states(units);
  RunEnvironment env{platform,
                     messages,
                     units,
                     unit_states,
                     format::FormatSettings{},
                     FileLocations{},
                     "BENCH",
                     platform::Credentials{}};
  RunRequest request;
  request.configuration_path = dir + "/run.ini";

  const auto start = std::chrono::steady_clock::now();
  const RunResult result = ExportRun(env, request);
  f.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  f.ok = !result.stopped_early;
  if (files) {
    for (const char* name : kFileServerFiles) f.rows += CountLines(dir + "/" + name, f.bytes);
  } else {
    f.rows =
        CountLines(dir + "/services.txt", f.bytes) + CountLines(dir + "/computers.txt", f.bytes);
  }
  struct rusage usage {};
  ::getrusage(RUSAGE_SELF, &usage);
  f.peak_rss_kb = usage.ru_maxrss;
  return f;
}

RunFigures RunInChild(int computers, Workload workload) {
  char pattern[] = "/tmp/tabulon-run-bench-XXXXXX";
  const std::string dir = ::mkdtemp(pattern);
  int fds[2];
  RunFigures f;
  if (::pipe(fds) != 0) return f;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    const RunFigures child = RunOnce(computers, workload, dir);
    const ssize_t written = ::write(fds[1], &child, sizeof child);
    ::_exit(written == sizeof child ? 0 : 1);
  }
  ::close(fds[1]);
  const ssize_t got = ::read(fds[0], &f, sizeof f);
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  if (got != sizeof f) f.ok = false;
  return f;
}

void RunBenchmark(benchmark::State& state, Workload workload) {
  const int computers = static_cast<int>(state.range(0));
  RunFigures f;
  for (auto _ : state) {
    f = RunInChild(computers, workload);
    if (!f.ok) {
      state.SkipWithError("the run failed");
      return;
    }
    state.SetIterationTime(f.seconds);
  }
  state.SetItemsProcessed(state.iterations() * f.rows);
  state.SetBytesProcessed(state.iterations() * f.bytes);
  state.counters["rows"] = static_cast<double>(f.rows);
  state.counters["peak_rss_MB"] = static_cast<double>(f.peak_rss_kb) / 1024.0;
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
