// A run that exports several targets at once writes what a serial run
// writes: every output file byte for byte, the log but for its time stamps,
// the same progress rows, messages and target count. Run on the sample and
// on an estate generated from a fixed seed, with latency that differs per
// computer so that targets finish out of order, and injected failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "run/run.h"
#include "support/fakes.h"
#include "support/recording_observer.h"

namespace tabulon::testing {
namespace {

namespace fs = std::filesystem;

// What a run leaves behind, in the form two runs are compared in.
struct RunRecord {
  std::size_t targets = 0;
  bool stopped_early = true;
  std::map<std::string, std::string> files;  // by path below the output folder
  std::vector<std::string> progress;
  std::vector<std::string> messages;
  std::vector<std::string> failure_rows;
};

// Each log line without its leading date and time, which is all before the
// first tab.
std::string WithoutTimeStamps(const std::string& log) {
  std::string out;
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);) {
    const std::size_t tab = line.find('\t');
    out += (tab == std::string::npos ? line : line.substr(tab)) + "\n";
  }
  return out;
}

std::string ReadWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Stops the run once `stop_at` targets are finished (0: never).
class StoppingObserver final : public RunObserver {
 public:
  StoppingObserver(RecordingObserver& record, RunControl& control, std::size_t stop_at)
      : record_(record), control_(control), stop_at_(stop_at) {}
  void ProgressRowAdded(int number, const ProgressRow& row) override {
    record_.ProgressRowAdded(number, row);
  }
  void ProgressTextAppended(int number, std::string_view text, std::uint32_t image) override {
    record_.ProgressTextAppended(number, text, image);
  }
  void FailureRow(std::string_view name, std::string_view status) override {
    record_.FailureRow(name, status);
  }
  void TargetFinished(std::size_t done, std::size_t, const tagCObjects&) override {
    if (stop_at_ != 0 && done >= stop_at_) control_.RequestStop();
  }
  void ShowError(std::string_view text) override { record_.ShowError(text); }
  bool AskYesNo(std::string_view text, bool unattended_answer) override {
    return record_.AskYesNo(text, unattended_answer);
  }

 private:
  RecordingObserver& record_;
  RunControl& control_;
  std::size_t stop_at_;
};

// How one run of RunFrom goes.
struct RunShape {
  std::size_t stop_at = 0;  // stop after this many list entries (0: never)
  bool resume = false;      // /RESUME
};

// Runs `ini_text` with ParallelTargets=`parallel` from `folder`, which holds
// every file the configuration names by a relative path, writing into the
// folder's "out<parallel>".
RunRecord RunFrom(const fs::path& folder, std::string ini_text, int parallel, RunShape shape = {}) {
  const std::string out = "out" + std::to_string(parallel);
  const auto set = [&ini_text](const std::string& key, const std::string& value) {
    const std::size_t at = ini_text.find("\n" + key + "=");
    if (at == std::string::npos) {
      ini_text.insert(ini_text.find("[General]\n") + 10, key + "=" + value + "\n");
    } else {
      ini_text.replace(at + 1, ini_text.find('\n', at + 1) - at - 1, key + "=" + value);
    }
  };
  set("DefaultOutputDirectory", out);
  set("ParallelTargets", std::to_string(parallel));
  const fs::path ini = folder / ("run" + std::to_string(parallel) + ".ini");
  std::ofstream(ini, std::ios::binary) << ini_text;
  fs::create_directories(folder / out);

  // The configuration names its files relative to where the run starts.
  const fs::path was = fs::current_path();
  fs::current_path(folder);
  RecordingObserver observer;
  RunControl control;
  StoppingObserver stopping(observer, control, shape.stop_at);
  run::Request request;
  request.configuration = ini.string();
  request.progress_rows = true;
  request.resume = shape.resume;
  const RunResult result =
      run::Run(run::Locations{folder.string(), folder.string()}, request, stopping, control);
  fs::current_path(was);

  RunRecord record;
  record.targets = result.targets_processed;
  record.stopped_early = result.stopped_early;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder / out)) {
    if (!entry.is_regular_file()) continue;
    const std::string name = fs::relative(entry.path(), folder / out).string();
    const std::string bytes = ReadWhole(entry.path());
    record.files[name] = entry.path().extension() == ".log" ? WithoutTimeStamps(bytes) : bytes;
  }
  record.progress = observer.Lines();
  record.messages = observer.shown;
  record.failure_rows = observer.failure_rows;
  return record;
}

void ExpectSameRun(const RunRecord& serial, const RunRecord& parallel) {
  EXPECT_FALSE(serial.stopped_early);
  EXPECT_GT(serial.targets, 0u);
  EXPECT_EQ(parallel.targets, serial.targets);
  EXPECT_EQ(parallel.stopped_early, serial.stopped_early);
  std::vector<std::string> serial_names;
  std::vector<std::string> parallel_names;
  for (const auto& [name, bytes] : serial.files) serial_names.push_back(name);
  for (const auto& [name, bytes] : parallel.files) parallel_names.push_back(name);
  ASSERT_EQ(parallel_names, serial_names);
  for (const auto& [name, bytes] : serial.files) {
    // A mismatch names the file; the bytes themselves would drown the report.
    EXPECT_TRUE(parallel.files.at(name) == bytes) << name << " differs";
  }
  EXPECT_EQ(parallel.progress, serial.progress);
  EXPECT_EQ(parallel.messages, serial.messages);
  EXPECT_EQ(parallel.failure_rows, serial.failure_rows);
}

// A copy of the sample's folders, run from there as the README runs it.
fs::path CopySample(const ScratchDir& dir) {
  const fs::path source(TABULON_SOURCE_DIR);
  for (const char* folder : {"examples", "data"}) {
    fs::copy(source / folder, fs::path(dir.path()) / folder, fs::copy_options::recursive);
  }
  return dir.path();
}

// An estate from `seed`: two generated domains with controllers, users,
// groups, shares, sessions, open files, disks and transports, and six
// computers of their own that join the first domain, each with a latency of
// 0 to 5 ms and some with a failure: no ping answer, no server
// information, or one call of an export. The computer running the program
// lacks the terminal-services library, so the question about it is asked.
std::string GeneratedEstate(std::uint32_t seed) {
  std::mt19937 random(seed);
  const auto pick = [&random](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
  };
  // Each run has a computer that does not answer its ping and one that
  // does not give its server information; the others draw from the rest.
  std::vector<std::string> kinds = {R"("ping": {"answers": false},)",
                                    R"("failures": {"NetServerGetInfo": "ERROR_ACCESS_DENIED"},)"};
  static constexpr const char* kOthers[] = {
      "",
      "",
      R"("offline": true,)",
      R"("failures": {"OpenSCManager": "ERROR_ACCESS_DENIED"},)",
      R"("failures": {"NetShareEnum": "ERROR_ACCESS_DENIED"},)",
      R"("failures": {"NetSessionEnum": "RPC_S_SERVER_UNAVAILABLE"},)",
      R"("failures": {"RegConnectRegistry": "RPC_S_SERVER_UNAVAILABLE"},)",
      R"("failures": {"ConnectServer": "ERROR_ACCESS_DENIED"},)",
      R"("failures": {"NetLocalGroupEnum": "ERROR_ACCESS_DENIED"},)",
      // No "after_calls": its count spans every session, so a computer
      // listed twice would fail in whichever visit came second in time.
      R"("failures": {"NetQueryDisplayInformation": "RPC_S_CALL_FAILED"},)",
  };
  while (kinds.size() < 6) kinds.push_back(kOthers[pick(std::size(kOthers))]);
  std::shuffle(kinds.begin(), kinds.end(), random);
  std::string computers;
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    if (!computers.empty()) computers += ",\n";
    const std::string name = "PC" + std::to_string(100 + i);
    computers += R"({"name": ")" + name + R"(", "domain": "DOMAIN01", )" + kinds[i] +
                 R"( "latency_ms": )" + std::to_string(pick(6)) +
                 R"(, "services": [{"name": "Spooler"}, {"name": "W32Time", "state": "STOPPED"}]})";
  }
  return R"({"local_computer": "PC100", "libraries": {"terminal_services": false},
  "synthetic": {"seed": )" +
         std::to_string(seed) +
         R"(, "domains": 2, "computers": 24, "services_per_computer": 12,
    "service_profiles": 3, "offline_rate": 0.1, "server_rate": 0.25,
    "shares_per_computer": 2, "connections_per_share": 1, "sessions_per_computer": 1,
    "open_files_per_computer": 1, "disks_per_computer": 2, "transports_per_computer": 1,
    "local_groups_per_computer": 2, "users_per_domain": 6, "user_records": true,
    "controllers_per_domain": 2},
  "computers": [
)" + computers +
         "]}\n";
}

// The generated estate's configuration: the sample's, with every export
// and template kind, on the estate's two domains and a few computers named
// on their own.
fs::path WriteGeneratedEstate(const ScratchDir& dir, std::uint32_t seed, std::string& ini) {
  const fs::path folder = CopySample(dir);
  std::ofstream(folder / "generated.json", std::ios::binary) << GeneratedEstate(seed);
  std::ofstream(folder / "generated.dat", std::ios::binary)
      << "1\t0\t99\t1\treserved\treserved\tDOMAIN01\t\tDOMAIN01\n"
         "2\t0\t99\t1\treserved\treserved\tDOMAIN02\t\tDOMAIN02\n"
         "3\t0\t24\t1\treserved\treserved\tPC103\t\t\\\\PC103\n"
         "4\t0\t24\t1\treserved\treserved\tPC100\t\t\\\\PC100\n";
  ini = ReadWhole(folder / "examples" / "sample.ini");
  ini.replace(ini.find("examples/sample-objects.dat"), 27, "generated.dat");
  ini.replace(ini.find("examples/sample.estate.json"), 27, "generated.json");
  return folder;
}

TEST(ConcurrentParallelRun, TheSampleWritesWhatASerialRunWrites) {
  ScratchDir dir;
  const fs::path folder = CopySample(dir);
  const std::string ini = ReadWhole(folder / "examples" / "sample.ini");
  const RunRecord serial = RunFrom(folder, ini, 1);
  ExpectSameRun(serial, RunFrom(folder, ini, 8));
}

TEST(ConcurrentParallelRun, AGeneratedEstateWritesWhatASerialRunWrites) {
  ScratchDir dir;
  std::string ini;
  const fs::path folder = WriteGeneratedEstate(dir, 7, ini);
  const RunRecord serial = RunFrom(folder, ini, 1);
  // By each target whose exports need the missing terminal-services
  // library: a parallel run must ask the same questions in the same order.
  EXPECT_FALSE(serial.messages.empty()) << "the terminal-services question was not asked";
  const std::string& log = serial.files.at("sample.log");
  EXPECT_NE(log.find("\tPING\t"), std::string::npos) << "every computer answered its ping";
  EXPECT_NE(log.find("\tREMOTE_ACCESS\t"), std::string::npos)
      << "every computer gave its server information";
  for (const int parallel : {3, 8}) {
    SCOPED_TRACE("ParallelTargets=" + std::to_string(parallel));
    ExpectSameRun(serial, RunFrom(folder, ini, parallel));
  }
}

// A run stopped after some targets and resumed (/RESUME) ends with the files
// of a run never stopped, the failed targets' file among them, serial and
// with several targets at once.
TEST(ConcurrentParallelRun, AStoppedRunResumedWritesTheFilesOfOneNeverStopped) {
  ScratchDir dir;
  std::string ini;
  const fs::path folder = WriteGeneratedEstate(dir, 11, ini);
  const RunRecord whole = RunFrom(folder, ini, 1);
  ASSERT_TRUE(whole.files.count("sample.log.failed.dat")) << "the estate has failing targets";
  for (const int parallel : {2, 6}) {
    SCOPED_TRACE("ParallelTargets=" + std::to_string(parallel));
    const RunRecord stopped = RunFrom(folder, ini, parallel, {.stop_at = 5});
    EXPECT_LT(stopped.targets, whole.targets);
    ASSERT_TRUE(stopped.files.count("sample.log.journal")) << "a stopped run keeps its journal";
    const RunRecord resumed = RunFrom(folder, ini, parallel, {.resume = true});
    EXPECT_EQ(resumed.targets, whole.targets) << "the count covers the stopped run's targets";
    EXPECT_FALSE(resumed.files.count("sample.log.journal")) << "a completed run removes it";
    ASSERT_EQ(resumed.files.size(), whole.files.size());
    for (const auto& [name, bytes] : whole.files) {
      EXPECT_TRUE(resumed.files.count(name) && resumed.files.at(name) == bytes) << name;
    }
  }
}

}  // namespace
}  // namespace tabulon::testing
