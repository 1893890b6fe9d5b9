// The users export of an NT domain of 20,000 users: consolidated from 3
// controllers, and from 1. Each run happens in a child process so that its
// peak memory is its own.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "bench/whole_run.h"
#include "estate/loader.h"
#include "run/stream_observer.h"

namespace tabulon {
namespace {

using bench::RunFigures;

constexpr int kUsers = 20000;

// Messages and failure rows on standard error, as the command line shows them.
class FailuresShown final : public run::StreamObserver {
 public:
  FailuresShown() : StreamObserver(stderr) {}
  void FailureRow(std::string_view name, std::string_view status) override {
    run::WriteFailureLine(stderr, name, status);
  }
};

RunFigures RunOnce(int controllers, const std::string& dir) {
  const std::string estate_json =
      "{\"synthetic\": {\"seed\": 7, \"computers\": " + std::to_string(controllers) +
      ", \"services_per_computer\": 0, \"users_per_domain\": " + std::to_string(kUsers) +
      ", \"user_records\": true, \"controllers_per_domain\": " + std::to_string(controllers) +
      ", \"controller_version\": 4}}";
  estate::LoadResult loaded = estate::ParseEstate(estate_json, "bench");
  if (!loaded.ok) return {};
  estate::EstateBackend backend(std::move(loaded.estate));
  backend.call_log().SetEnabled(false);

  // The primary controller as a domain controller object.
  const std::string pdc = backend.estate().domains.front().controller;
  bench::WriteObjectFile(dir + "/objects.dat",
                         {"1\t0\t31\t1\treserved\treserved\t" + pdc + "\t\t\\\\" + pdc + "\r\n"});
  std::ofstream(dir + "/run.ini") << "[General]\nObjectFile=" << dir
                                  << "/objects.dat\nDefaultOutputDirectory=" << dir
                                  << "\n[Computers]\nPingEnable=0\n[Users]\nExportUsers=1\n"
                                     "GetLogonInformation=1\nLastLogonType=0\n";

  FailuresShown messages;
  RunFigures f = bench::RunConfiguration(backend, dir, messages);
  f.rows = bench::CountRows(dir + "/users.txt", f.bytes);
  f.ok = f.ok && f.rows > 0;
  return f;
}

void BM_UsersExport(benchmark::State& state) {
  const int controllers = static_cast<int>(state.range(0));
  bench::MeasureInChildren(
      state, [controllers](const std::string& dir) { return RunOnce(controllers, dir); });
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
