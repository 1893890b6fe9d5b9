// How long the window's thread is kept from its events while a run's
// progress rows pour in: 100,000 rows through the run observer from a
// worker thread into a shown progress list, while a 5 ms timer ticks on the
// window's thread. The longest gap between two ticks is measured, and the
// same loop with no rows in the same run is the baseline. The second case
// adds what a run exporting 32 targets at once reports besides its rows: a
// target's work starting and ending every ten rows, 10,000 targets in all.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "ui/progress_list.h"
#include "ui/run_worker.h"

namespace tabulon::ui {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kTickMs = 5;
// Every loop runs at least this long, so that the baseline sees as many
// ticks as a loop with rows.
constexpr auto kMinimumLoop = std::chrono::milliseconds(500);
constexpr int kRowsPerTarget = 10;
constexpr std::size_t kTargetsAtOnce = 32;

// The longest gap between two ticks, in milliseconds, while `rows` rows go
// through the observer, with targets starting and ending among them when
// `in_flight`.
double LongestGapMs(int rows, bool in_flight) {
  ProgressList list;
  list.resize(500, 400);
  list.show();
  RunWorker worker(list.model_rows(), &list);
  QEventLoop loop;
  QTimer tick;
  tick.setInterval(kTickMs);
  Clock::time_point last = Clock::now();
  const Clock::time_point start = last;
  Clock::duration longest{};
  bool ended = false;
  QObject::connect(&tick, &QTimer::timeout, [&] {
    const Clock::time_point now = Clock::now();
    longest = std::max(longest, now - last);
    last = now;
    if (ended && now - start >= kMinimumLoop) loop.quit();
  });
  QObject::connect(&worker, &RunWorker::finished, [&] { ended = true; });
  tick.start();
  worker.StartRun([rows, in_flight](RunObserver& observer, const RunControl&) {
    ProgressRow row{ProgressKind::kWorkstation, 7, 1, "WORKSTATION-0001", "Exporting..."};
    tagCObjects target;
    target.display_name = "WORKSTATION-0001";
    for (int i = 0; i < rows; ++i) {
      if (in_flight && i % kRowsPerTarget == 0) {
        const auto index = static_cast<std::size_t>(i / kRowsPerTarget);
        observer.TargetWorkStarted(index, target);
        if (index >= kTargetsAtOnce) observer.TargetWorkEnded(index - kTargetsAtOnce, target);
      }
      observer.ProgressRowAdded(i, row);
    }
    return RunResult{};
  });
  loop.exec();
  return std::chrono::duration<double, std::milli>(longest).count();
}

void BM_ProgressRowsIntoTheWindow(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  const bool in_flight = state.range(1) != 0;
  double busy = 0;
  double idle = 0;
  for (auto _ : state) {
    idle = std::max(idle, LongestGapMs(0, false));
    busy = std::max(busy, LongestGapMs(rows, in_flight));
  }
  state.counters["longest_gap_ms"] = busy;
  state.counters["idle_longest_gap_ms"] = idle;
  state.counters["gap_ratio"] = idle > 0 ? busy / idle : 0;
  state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_ProgressRowsIntoTheWindow)
    ->ArgNames({"rows", "in_flight"})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace tabulon::ui

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
