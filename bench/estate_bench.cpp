// The estate backend at the size benchmarks run on: generating 10,000
// computers with 150 services each, and walking their services the way the
// services export does.
#include <benchmark/benchmark.h>

#include <string>

#include "estate/backend.h"
#include "estate/loader.h"

namespace tabulon {
namespace {

constexpr const char* kLargeEstate =
    R"({"synthetic": {"seed": 1, "domains": 10, "computers": 10000,
                      "services_per_computer": 150, "offline_rate": 0.05}})";

void BM_GenerateSyntheticEstate(benchmark::State& state) {
  for (auto _ : state) {
    auto loaded = estate::ParseEstate(kLargeEstate, "bench");
    if (!loaded.ok) state.SkipWithError(loaded.error.c_str());
    benchmark::DoNotOptimize(loaded.estate.computers.data());
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_GenerateSyntheticEstate)->Unit(benchmark::kMillisecond);

// A session, the sizing call, the full call, then open and query every
// service, on computers in turn; items are services.
void BM_WalkServices(benchmark::State& state) {
  auto loaded = estate::ParseEstate(kLargeEstate, "bench");
  if (!loaded.ok) {
    state.SkipWithError(loaded.error.c_str());
    return;
  }
  estate::EstateBackend backend(std::move(loaded.estate));
  backend.call_log().SetEnabled(false);
  const auto& computers = backend.estate().computers;
  std::size_t next = 0;
  std::int64_t services = 0;
  for (auto _ : state) {
    const auto& computer = computers[next++ % computers.size()];
    // One session per computer, as a run opens them.
    const auto session = backend.Open(computer.name, {});
    platform::ServiceControl& scm = session->services();
    const auto manager = scm.OpenSCManager(computer.name, platform::kScManagerEnumerateService);
    if (manager.status != win::ERROR_SUCCESS) continue;
    const auto sizing = scm.EnumServicesStatus(manager.handle, 0x33, 3, 0, 0);
    const auto all = scm.EnumServicesStatus(manager.handle, 0x33, 3, sizing.bytes_needed, 0);
    for (const auto& s : all.services) {
      const auto service =
          scm.OpenService(manager.handle, s.service_name, platform::kServiceQueryConfig);
      auto config = scm.QueryServiceConfig(service.handle, 512);
      if (config.status == win::ERROR_INSUFFICIENT_BUFFER) {
        config = scm.QueryServiceConfig(service.handle, config.bytes_needed);
      }
      benchmark::DoNotOptimize(config.config.binary_path_name.data());
      scm.CloseServiceHandle(service.handle);
      ++services;
    }
    scm.CloseServiceHandle(manager.handle);
  }
  state.SetItemsProcessed(services);
}
BENCHMARK(BM_WalkServices)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tabulon
