#include "engine/target_output.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/catalogue.h"
#include "engine/object_file.h"
#include "engine/row.h"
#include "engine/run_output.h"
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

std::vector<tagCObjects> Targets() {
  std::vector<tagCObjects> targets(3);
  const char* names[] = {"\\\\PC1", "\\\\PC2", "\\\\PC3"};
  for (std::size_t i = 0; i < targets.size(); ++i) {
    targets[i].display_name = names[i];
    targets[i].path = names[i];
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

}  // namespace
}  // namespace tabulon
