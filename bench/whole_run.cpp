#include "bench/whole_run.h"

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>

#include "bench/in_child.h"
#include "exporters/units.h"
#include "platform/ini_file_profile.h"
#include "platform/locale.h"

namespace tabulon::bench {

std::int64_t CountRows(const std::string& path, std::int64_t& bytes) {
  std::ifstream in(path, std::ios::binary);
  std::int64_t lines = 0;
  std::string line;
  while (std::getline(in, line)) ++lines;
  bytes += static_cast<std::int64_t>(std::filesystem::file_size(path));
  return lines - 1;  // the title row
}

void WriteObjectFile(const std::string& path, const std::vector<std::string>& lines) {
  std::string objects = "\xFF\xFE";
  for (const std::string& line : lines) {
    for (char c : line) {
      objects.push_back(c);
      objects.push_back('\0');
    }
  }
  std::ofstream(path, std::ios::binary) << objects;
}

RunFigures RunConfiguration(estate::EstateBackend& backend, const std::string& dir,
                            RunObserver& observer,
                            const std::function<void(platform::Platform&)>& adjust) {
  platform::IniFileProfile profile;
  platform::SystemClock clock;
  auto locale = platform::MakeProcessLocale();
  platform::Platform platform;
  platform.profile = &profile;
  platform.clock = &clock;
  platform.locale = locale.get();
  backend.Attach(platform);
  if (adjust) adjust(platform);
  const ExporterUnits units = StandardExporterUnits();
  RunEnvironment env{platform,        units,   format::FormatSettings{},
                     FileLocations{}, "BENCH", platform::kNoCredentials};
  RunRequest request;
  request.configuration_path = dir + "/run.ini";
  request.observer = &observer;

  RunFigures f;
  const auto start = std::chrono::steady_clock::now();
  const RunResult result = ExportRun(env, request);
  f.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  f.ok = !result.stopped_early;
  struct rusage usage {};
  ::getrusage(RUSAGE_SELF, &usage);
  f.peak_rss_kb = usage.ru_maxrss;
  return f;
}

RunFigures RunInChild(const std::function<RunFigures(const std::string& dir)>& once) {
  char pattern[] = "/tmp/tabulon-bench-XXXXXX";
  const std::string dir = ::mkdtemp(pattern);
  const std::optional<RunFigures> f = InChild<RunFigures>([&] { return once(dir); });
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  return f.value_or(RunFigures{});
}

RunFigures MeasureInChildren(benchmark::State& state,
                             const std::function<RunFigures(const std::string& dir)>& once) {
  RunFigures f;
  for (auto _ : state) {
    f = RunInChild(once);
    if (!f.ok) {
      state.SkipWithError("the run failed");
      return f;
    }
    state.SetIterationTime(f.seconds);
  }
  state.SetItemsProcessed(state.iterations() * f.rows);
  state.counters["rows"] = static_cast<double>(f.rows);
  state.counters["peak_rss_MB"] = static_cast<double>(f.peak_rss_kb) / 1024.0;
  return f;
}

}  // namespace tabulon::bench
