#include "engine/target_output.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "engine/catalogue.h"
#include "engine/object_file.h"
#include "engine/row.h"
#include "engine/run_output.h"
#include "engine/target_pipeline.h"
#include "platform/ini_file_profile.h"
#include "support/fakes.h"
#include "support/recording_observer.h"

namespace tabulon {
namespace {

using testing::RecordingObserver;
using testing::ScratchDir;

// One run's output side writing into its own folder: the services file, a
// template file and the log, open as a run opens them.
struct OutputUnderTest {
  explicit OutputUnderTest(bool window)
      : clock(testing::March5()), output(platform, observer, window) {
    platform.profile = &profile;
    platform.clock = &clock;
    platform.locale = &locale;
    output.locations().app_data_directory = dir.path();
    output.settings().default_output_directory = dir.path();
    output.settings().enable_logging = true;
    dir.Write("cfg.ini", "[T]\nOutputFileName=t.txt\n");
    const Configuration config(profile, dir.File("cfg.ini"));
    EXPECT_TRUE(output.OpenLog("run.log", false));
    EXPECT_TRUE(output.OpenTypedOutputFile(config, "Services", "ServicesOutputFile",
                                           "ServiceColumns", kServices, services));
    TemplateOutput opened;
    EXPECT_TRUE(output.OpenTemplateOutputFile(config, "T", "%object_name%,Size,", opened));
    template_file = opened.file;
  }

  // What one target produces: rows of both files, log lines, a progress
  // row with text added later, a failure row, a message, a file record.
  void Produce(const tagCObjects& target, int rows) {
    const int row = output.AddProgressRow(target.display_name, "Exporting...", 0,
                                          ProgressKindOfObject(target.type));
    Row service(output, services, &target);
    Row templated(output, *template_file, 2);
    for (int i = 0; i < rows; ++i) {
      service[0] = "Service" + std::to_string(i);
      service[2] = "Running";
      service.Write();
      templated[0] = target.display_name;
      templated[1] = std::to_string(i * 1000);
      templated.Write();
    }
    output.LogLine(&target, "SERVICES", false, "");
    output.AddProgressRow(target.display_name, "Unable to query service X.", 1,
                          ProgressKind::kFailure);
    output.GeneralFailure("No controller for " + target.domain + ".");
    output.RecordOutputFile(kRegistry, "Template T", dir.File("t.txt"));
    output.AppendProgress(row, " done", kFailureImage);
    output.LogLine(&target, "REGISTRY - T", true, "The RPC server is not available.");
  }

  void Close() { output.CloseAll({&services}); }

  ScratchDir dir;
  platform::IniFileProfile profile;
  testing::FixedClock clock;
  testing::SimpleLocale locale;
  platform::Platform platform;
  RecordingObserver observer;
  RunOutput output;
  TypedOutput services;
  OutputFile* template_file = nullptr;
};

std::vector<tagCObjects> Targets(std::size_t count = 3) {
  std::vector<tagCObjects> targets(count);
  for (std::size_t i = 0; i < targets.size(); ++i) {
    targets[i].display_name = "\\\\PC" + std::to_string(i + 1);
    targets[i].path = targets[i].display_name;
    targets[i].domain = "CORP";
    targets[i].type = kObjectWorkstation;
  }
  return targets;
}

// Parallel workers will produce targets in any order into buffered outputs
// and commit them in target order: the files, the progress rows and the
// messages must be those of a serial run that streams them.
TEST(TargetOutput, BufferedTargetsCommittedInOrderGiveTheStreamedBytes) {
  for (const bool window : {true, false}) {
    SCOPED_TRACE(window ? "with a progress window" : "unattended");
    const std::vector<tagCObjects> targets = Targets();
    const int rows[] = {3, 0, 400};

    OutputUnderTest streamed(window);
    for (std::size_t i = 0; i < targets.size(); ++i) {
      TargetOutput target = streamed.output.MakeTargetOutput(TargetOutput::Mode::kStreaming);
      streamed.output.set_target(&target);
      streamed.Produce(targets[i], rows[i]);
      streamed.output.set_target(nullptr);
      EXPECT_EQ(target.held_bytes(), 0u) << "a streaming output holds nothing";
      target.Commit();
    }
    streamed.Close();

    OutputUnderTest buffered(window);
    std::vector<TargetOutput> held;
    for (std::size_t i = 0; i < targets.size(); ++i) {
      held.push_back(buffered.output.MakeTargetOutput(TargetOutput::Mode::kBuffered));
    }
    for (const std::size_t i : {2u, 0u, 1u}) {  // produced out of order
      buffered.output.set_target(&held[i]);
      buffered.Produce(targets[i], rows[i]);
    }
    buffered.output.set_target(nullptr);
    EXPECT_TRUE(buffered.observer.rows.empty()) << "nothing reaches the run before its commit";
    EXPECT_TRUE(buffered.observer.shown.empty());
    EXPECT_TRUE(buffered.observer.failure_rows.empty());
    EXPECT_GT(held[2].held_bytes(), held[0].held_bytes());
    for (TargetOutput& target : held) target.Commit();
    EXPECT_EQ(held[2].held_bytes(), 0u) << "a commit empties the buffer";
    buffered.Close();

    for (const char* file : {"services.txt", "t.txt", "run.log"}) {
      EXPECT_EQ(buffered.dir.Read(file), streamed.dir.Read(file)) << file;
    }
    EXPECT_EQ(buffered.observer.Lines(), streamed.observer.Lines());
    EXPECT_EQ(buffered.observer.shown, streamed.observer.shown);
    EXPECT_EQ(buffered.observer.failure_rows, streamed.observer.failure_rows);
    ASSERT_EQ(buffered.output.output_files().size(), streamed.output.output_files().size());
    for (std::size_t i = 0; i < streamed.output.output_files().size(); ++i) {
      EXPECT_EQ(buffered.output.output_files()[i].display_name,
                streamed.output.output_files()[i].display_name);
    }
    // The streamed run is the reference: it holds what the targets made.
    EXPECT_NE(streamed.dir.Read("t.txt").find("PC3\t399000\r\n"), std::string::npos);
    EXPECT_EQ(streamed.observer.failure_rows.size(), 3u);
  }
}

// The same through the pipeline: several workers, each through its own view
// of the run's output, targets of very different sizes finishing in any
// order, include entries between them; with a limit small enough that the
// target next in line streams, and one that never bites. The bytes are the
// serial run's; a stop ends on a whole target.
TEST(TargetPipeline, CommitsInListOrderWhateverTheWorkersAndTheLimit) {
  std::vector<tagCObjects> targets = Targets(40);
  for (const std::size_t include : {0u, 7u, 39u}) targets[include].type = kObjectComputerInclude;
  std::mt19937 random(23);
  std::vector<int> rows(targets.size());
  std::vector<int> pause_ms(targets.size());
  for (std::size_t i = 0; i < targets.size(); ++i) {
    rows[i] = static_cast<int>(random() % 60);
    pause_ms[i] = static_cast<int>(random() % 4);
  }
  rows[3] = 3000;  // one large target: past the small limit on its own
  auto is_target = [&](std::size_t i) { return targets[i].type != kObjectComputerInclude; };

  struct Case {
    bool window;
    std::size_t workers;
    std::size_t limit;
    std::size_t stop_after;  // targets started before a stop; 0: none
  };
  for (const Case c : {Case{true, 8, kHeldOutputLimit, 0}, Case{false, 4, 2048, 0},
                       Case{true, 3, 512, 0}, Case{false, 6, kHeldOutputLimit, 10}}) {
    SCOPED_TRACE(::testing::Message() << c.workers << " workers, limit " << c.limit);
    OutputUnderTest parallel(c.window);
    std::atomic<std::size_t> begun{0};
    std::vector<std::size_t> started;
    std::vector<std::size_t> finished;
    PipelineWork work;
    work.is_target = is_target;
    work.export_target = [&](std::size_t i, TargetOutput& target_output) {
      ++begun;
      RunOutput view(parallel.output, RunOutput::WorkerView{});
      view.set_target(&target_output);
      std::this_thread::sleep_for(std::chrono::milliseconds(pause_ms[i]));
      // Produce() through the view, not through the run's own output.
      const int row = view.AddProgressRow(targets[i].display_name, "Exporting...", 0,
                                          ProgressKindOfObject(targets[i].type));
      Row service(view, parallel.services, &targets[i]);
      Row templated(view, *parallel.template_file, 2);
      for (int r = 0; r < rows[i]; ++r) {
        service[0] = "Service" + std::to_string(r);
        service[2] = "Running";
        service.Write();
        templated[0] = targets[i].display_name;
        templated[1] = std::to_string(r * 1000);
        templated.Write();
      }
      view.LogLine(&targets[i], "SERVICES", false, "");
      view.AddProgressRow(targets[i].display_name, "Unable to query service X.", 1,
                          ProgressKind::kFailure);
      view.GeneralFailure("No controller for " + targets[i].domain + ".");
      view.RecordOutputFile(kRegistry, "Template T", parallel.dir.File("t.txt"));
      view.AppendProgress(row, " done", kFailureImage);
      view.LogLine(&targets[i], "REGISTRY - T", true, "The RPC server is not available.");
      view.set_target(nullptr);
    };
    work.commit_started = [&](std::size_t i) { started.push_back(i); };
    work.committed = [&](std::size_t i, const TargetOutput& target_output) {
      EXPECT_TRUE(target_output.failed()) << "a failure row and an ERROR line were made";
      finished.push_back(i);
    };
    work.in_flight = [](std::size_t, bool) {};
    work.stop_requested = [&] { return c.stop_after != 0 && begun.load() >= c.stop_after; };
    TargetPipeline pipeline(parallel.output.destination(), c.workers, c.limit);
    const std::size_t committed = pipeline.Run(targets.size(), work);
    parallel.Close();

    // The serial reference: the same number of whole targets, streamed.
    OutputUnderTest streamed(c.window);
    std::size_t done = 0;
    for (std::size_t i = 0; i < targets.size() && done < committed; ++i) {
      if (!is_target(i)) continue;
      TargetOutput target = streamed.output.MakeTargetOutput(TargetOutput::Mode::kStreaming);
      streamed.output.set_target(&target);
      streamed.Produce(targets[i], rows[i]);
      streamed.output.set_target(nullptr);
      ++done;
    }
    streamed.Close();

    if (c.stop_after == 0) {
      EXPECT_EQ(committed, targets.size() - 3);
    } else {
      // Workers ask before they count: each may have taken one more.
      EXPECT_GE(committed, c.stop_after);
      EXPECT_LE(committed, c.stop_after + c.workers) << "no target starts after the stop";
    }
    EXPECT_EQ(started, finished) << "each commit is announced before it ends, in order";
    for (std::size_t k = 1; k < finished.size(); ++k) EXPECT_LT(finished[k - 1], finished[k]);
    for (const char* file : {"services.txt", "t.txt", "run.log"}) {
      EXPECT_EQ(parallel.dir.Read(file), streamed.dir.Read(file)) << file;
    }
    EXPECT_EQ(parallel.observer.Lines(), streamed.observer.Lines());
    EXPECT_EQ(parallel.observer.failure_rows, streamed.observer.failure_rows);
    EXPECT_EQ(parallel.observer.shown, streamed.observer.shown);
  }
}

}  // namespace
}  // namespace tabulon
