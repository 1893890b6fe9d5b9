// The users export of an NT domain of 20,000 users: consolidated from 3
// controllers, and from 1. Each run happens in a child process so that its
// peak memory is its own.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
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

constexpr int kUsers = 20000;

struct UsersFigures {
  double seconds = 0;
  std::int64_t rows = 0;
  long peak_rss_kb = 0;
  bool ok = false;
};

std::int64_t DataRows(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::int64_t lines = 0;
  std::string line;
  while (std::getline(in, line)) ++lines;
  return lines - 1;  // the title row
}

UsersFigures RunOnce(int controllers, const std::string& dir) {
  UsersFigures f;
  const std::string estate_json =
      "{\"synthetic\": {\"seed\": 7, \"computers\": " + std::to_string(controllers) +
      ", \"services_per_computer\": 0, \"users_per_domain\": " + std::to_string(kUsers) +
      ", \"user_records\": true, \"controllers_per_domain\": " + std::to_string(controllers) +
      ", \"controller_version\": 4}}";
  estate::LoadResult loaded = estate::ParseEstate(estate_json, "bench");
  if (!loaded.ok) return f;
  estate::EstateBackend backend(std::move(loaded.estate));
  backend.call_log().SetEnabled(false);

  // The primary controller as a domain controller object.
  const std::string pdc = backend.estate().domains.front().controller;
  std::string objects = "\xFF\xFE";
  for (char c : "1\t0\t31\t1\treserved\treserved\t" + pdc + "\t\t\\\\" + pdc + "\r\n") {
    objects.push_back(c);
    objects.push_back('\0');
  }
  std::ofstream(dir + "/objects.dat", std::ios::binary) << objects;
  std::ofstream(dir + "/run.ini") << "[General]\nObjectFile=" << dir
                                  << "/objects.dat\nDefaultOutputDirectory=" << dir
                                  << "\n[Computers]\nPingEnable=0\n[Users]\nExportUsers=1\n"
                                     "GetLogonInformation=1\nLastLogonType=0\n";

  platform::IniFileProfile profile;
  platform::SystemClock clock;
  auto locale = platform::MakeProcessLocale();
  platform::Platform platform;
  platform.profile = &profile;
  platform.clock = &clock;
  platform.locale = locale.get();
  backend.Attach(platform);
  StreamMessages messages(stderr);
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
  f.rows = DataRows(dir + "/users.txt");
  f.ok = !result.stopped_early && f.rows > 0;
  struct rusage usage {};
  ::getrusage(RUSAGE_SELF, &usage);
  f.peak_rss_kb = usage.ru_maxrss;
  return f;
}

UsersFigures RunInChild(int controllers) {
  char pattern[] = "/tmp/tabulon-users-bench-XXXXXX";
  const std::string dir = ::mkdtemp(pattern);
  int fds[2];
  UsersFigures f;
  if (::pipe(fds) != 0) return f;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    const UsersFigures child = RunOnce(controllers, dir);
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

void BM_UsersExport(benchmark::State& state) {
  const int controllers = static_cast<int>(state.range(0));
  UsersFigures f;
  for (auto _ : state) {
    f = RunInChild(controllers);
    if (!f.ok) {
      state.SkipWithError("the run failed");
      return;
    }
    state.SetIterationTime(f.seconds);
  }
  state.SetItemsProcessed(state.iterations() * f.rows);
  state.counters["rows"] = static_cast<double>(f.rows);
  state.counters["peak_rss_MB"] = static_cast<double>(f.peak_rss_kb) / 1024.0;
}
BENCHMARK(BM_UsersExport)
    ->ArgName("controllers")
    ->Arg(1)
    ->Arg(3)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tabulon
