// The run API as a window uses it: the export runs on a worker thread, the
// window's thread watches it through the observer and stops or cancels it
// through the control.
#include "run/run.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "run/stream_observer.h"
#include "support/fakes.h"
#include "support/three_computers.h"

namespace tabulon {
namespace {

using testing::ScratchDir;

// Records what the run reported and on which thread, and lets the test
// hold the run at the start of a target.
class WindowObserver final : public RunObserver {
 public:
  void ProgressRowAdded(int number, const ProgressRow& row) override {
    Note();
    std::lock_guard lock(mutex_);
    rows_.push_back(std::to_string(number) + "|" + std::to_string(row.image) + "|" + row.name +
                    "|" + row.status);
  }
  void TargetStarted(std::size_t done, std::size_t total, const tagCObjects& target) override {
    Note();
    {
      std::lock_guard lock(mutex_);
      targets_.push_back("start " + std::to_string(done) + "/" + std::to_string(total) + " " +
                         target.display_name);
    }
    if (done == 0) {
      first_target_.set_value();
      go_on_.get_future().wait();  // the run waits, as for a question
    }
  }
  void TargetFinished(std::size_t done, std::size_t total, const tagCObjects& target) override {
    Note();
    std::lock_guard lock(mutex_);
    targets_.push_back("end " + std::to_string(done) + "/" + std::to_string(total) + " " +
                       target.display_name);
  }
  void ShowError(std::string_view text) override {
    Note();
    std::lock_guard lock(mutex_);
    errors_.emplace_back(text);
  }

  // Waits until the run has started its first target.
  void AwaitFirstTarget() { first_target_.get_future().wait(); }
  void LetTheRunGoOn() { go_on_.set_value(); }

  std::vector<std::string> rows() const {
    std::lock_guard lock(mutex_);
    return rows_;
  }
  std::vector<std::string> targets() const {
    std::lock_guard lock(mutex_);
    return targets_;
  }
  std::vector<std::string> errors() const {
    std::lock_guard lock(mutex_);
    return errors_;
  }
  // The threads the calls came from.
  std::vector<std::thread::id> threads() const {
    std::lock_guard lock(mutex_);
    return threads_;
  }

 private:
  void Note() {
    std::lock_guard lock(mutex_);
    if (threads_.empty() || threads_.back() != std::this_thread::get_id()) {
      threads_.push_back(std::this_thread::get_id());
    }
  }

  mutable std::mutex mutex_;
  std::vector<std::string> rows_;
  std::vector<std::string> targets_;
  std::vector<std::string> errors_;
  std::vector<std::thread::id> threads_;
  std::promise<void> first_target_;
  std::promise<void> go_on_;
};

class RunApi : public ::testing::Test {
 protected:
  // Three computers; PC1 answers every call after `latency_ms`.
  void Prepare(int latency_ms) {
    testing::WriteThreeComputers(dir_, latency_ms);
    dir_.Write("cfg.ini", "[General]\nObjectFile=" + dir_.File("objects.dat") +
                              "\nDefaultOutputDirectory=" + dir_.path() +
                              "\n[Platform]\nEstate=" + dir_.File("estate.json") +
                              "\n[Computers]\nPingEnable=0\n"
                              "[Services]\nExportServices=1\nServiceColumns=0\n");
  }

  // Runs the export on a thread of its own, as a window does.
  std::future<RunResult> Start(bool progress_rows = true) {
    run::Request request;
    request.configuration = dir_.File("cfg.ini");
    request.progress_rows = progress_rows;
    return std::async(std::launch::async, [this, request] {
      return run::Run(locations_, request, observer_, control_);
    });
  }

  ScratchDir dir_;
  run::Locations locations_{dir_.path(), dir_.path()};
  WindowObserver observer_;
  RunControl control_;
};

TEST_F(RunApi, AStopFromTheWindowEndsTheRunAfterTheCurrentTarget) {
  Prepare(0);
  std::future<RunResult> running = Start();
  observer_.AwaitFirstTarget();
  control_.RequestStop();
  observer_.LetTheRunGoOn();
  const RunResult result = running.get();

  EXPECT_FALSE(result.stopped_early);
  EXPECT_TRUE(result.aborted_by_user);
  EXPECT_EQ(result.targets_processed, 1u);
  EXPECT_EQ(dir_.Read("services.txt"), "ServiceName\r\nA\r\nB\r\n");
  EXPECT_EQ(observer_.targets(), (std::vector<std::string>{"start 0/3 PC1", "end 1/3 PC1"}));
  EXPECT_EQ(observer_.rows(),
            (std::vector<std::string>{"0|7|PC1|Exporting...", "1|22|PC1|Exporting Services...",
                                      "2|53|Export Aborted By User.|1 Objects Processed."}));
  // Every call came from the run's own thread.
  ASSERT_EQ(observer_.threads().size(), 1u);
  EXPECT_NE(observer_.threads()[0], std::this_thread::get_id());
  EXPECT_TRUE(observer_.errors().empty());
}

TEST_F(RunApi, ACancelFromTheWindowEndsTheCallInFlight) {
  Prepare(2000);  // every call of PC1 takes two seconds
  std::future<RunResult> running = Start(false);
  observer_.AwaitFirstTarget();
  const auto start = std::chrono::steady_clock::now();
  observer_.LetTheRunGoOn();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  control_.RequestCancel();
  const RunResult result = running.get();

  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
  EXPECT_TRUE(result.aborted_by_user);
  EXPECT_EQ(result.targets_processed, 1u);
  // The file ends after its title: the listing was cancelled.
  EXPECT_EQ(dir_.Read("services.txt"), "ServiceName\r\n");
  EXPECT_TRUE(observer_.rows().empty());  // no progress list asked for
}

TEST_F(RunApi, AConfigurationThatCannotRunIsShownAndStopsTheRun) {
  dir_.Write("cfg.ini", "[Platform]\nEstate=" + dir_.File("missing.json") + "\n");
  run::Request request;
  request.configuration = "cfg.ini";  // found in the data directory
  const RunResult result = run::Run(locations_, request, observer_, control_);
  EXPECT_TRUE(result.stopped_early);
  ASSERT_EQ(observer_.errors().size(), 1u);
  EXPECT_TRUE(observer_.errors()[0].starts_with("Unable to load the estate file: "))
      << observer_.errors()[0];
  EXPECT_NE(observer_.errors()[0].find("missing.json"), std::string::npos);
}

TEST(StreamObserver, FailureRowsAreOneEscapedLineEach) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  run::WriteFailureLine(file, "FS\x1b[2J", "Unable to access service A.\nAccess was denied.");
  std::rewind(file);
  char buffer[256] = {};
  const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, file);
  std::fclose(file);
  EXPECT_EQ(std::string(buffer, n),
            "tabulon: FS\\x1B[2J: Unable to access service A.\\x0AAccess was denied.\n");
}

}  // namespace
}  // namespace tabulon
