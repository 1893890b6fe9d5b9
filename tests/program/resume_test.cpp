// A run killed at a committed target and resumed with /RESUME writes the
// files an uninterrupted run writes; a journal that does not fit is
// refused; the failed targets' object file reruns exactly them.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <thread>

#include "engine/object_file.h"
#include "support/fakes.h"

namespace tabulon::testing {
namespace {

constexpr int kComputers = 36;

// Every fifth computer is offline (no server information), every seventh
// cannot list its services.
bool Offline(int i) {
  return i % 5 == 3;
}
bool ServicesFail(int i) {
  return i % 7 == 5;
}
std::string Name(int i) {
  return "PC" + std::to_string(i);
}

std::string Estate() {
  std::string json = R"({"computers": [)";
  for (int i = 0; i < kComputers; ++i) {
    if (i > 0) json += ",";
    json += R"({"name": ")" + Name(i) + R"(", "latency_ms": )" + std::to_string(1 + i % 4) +
            R"(, "services": [{"name": "A)" + std::to_string(i) + R"("}, {"name": "B"}])";
    if (Offline(i)) json += R"(, "offline": true)";
    if (ServicesFail(i)) json += R"(, "failures": {"OpenSCManager": "ERROR_ACCESS_DENIED"})";
    json += "}";
  }
  return json + "]}";
}

class Resume : public ::testing::Test {
 protected:
  void Configure(int parallel_targets) {
    dir_.Write("estate.json", Estate());
    std::string names;
    for (int i = 0; i < kComputers; ++i) names += Name(i) + "\n";
    dir_.Write("objects.txt", names);
    dir_.Write("objects.dat",
               "1\t0\t52\t1\treserved\treserved\tlist\t\t" + dir_.File("objects.txt") + "\r\n");
    WriteConfiguration(dir_.File("objects.dat"), parallel_targets);
  }
  void WriteConfiguration(const std::string& object_file, int parallel_targets) {
    dir_.Write("cfg.ini", "[Platform]\nEstate=" + dir_.File("estate.json") +
                              "\n[General]\nObjectFile=" + object_file +
                              "\nDefaultOutputDirectory=" + dir_.File("out") +
                              "\nEnableLogging=1\nLogFileName=" + dir_.File("out/run.log") +
                              "\nParallelTargets=" + std::to_string(parallel_targets) +
                              "\n[Computers]\nPingEnable=0\n[Services]\nExportServices=1\n"
                              "[Shares]\nExportShares=1\n[Drives]\nExportDrives=1\n");
  }

  // Starts the program; `kill_after` > 0: kills it once its journal holds
  // that many committed targets. The exit status, -1 when killed.
  int Run(const std::string& extra, int kill_after = 0) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      if (::freopen(dir_.File("stderr").c_str(), "w", stderr) == nullptr ||
          ::freopen("/dev/null", "w", stdout) == nullptr) {
        ::_exit(126);
      }
      ::setenv("XDG_DATA_HOME", dir_.path().c_str(), 1);
      ::setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1);
      const std::string args = "/CONFIG=" + dir_.File("cfg.ini") + extra;
      ::execl(TABULON_PROGRAM, TABULON_PROGRAM, args.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    int status = 0;
    if (kill_after > 0) {
      // Record 0 is the start; each further record is a committed target.
      while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (Records() > kill_after) {
          ::kill(pid, SIGKILL);
          break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
      }
    }
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  int Records() const {
    const std::string journal = ScratchDir::ReadFile(dir_.File("out/run.log.journal"));
    int records = 0;
    for (std::size_t at = 0; (at = journal.find("\ncommitted ", at)) != std::string::npos; ++at) {
      ++records;
    }
    return records;
  }

  // Every file of the output folder; the log without its time stamps.
  std::map<std::string, std::string> Outputs() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.File("out"))) {
      std::string bytes = ScratchDir::ReadFile(entry.path().string());
      if (entry.path().filename() == "run.log") {
        std::string stripped;
        for (std::size_t at = 0; at < bytes.size();) {
          const std::size_t end = bytes.find('\n', at);
          const std::string line = bytes.substr(at, end - at);
          stripped += line.substr(line.find('\t')) + "\n";
          at = end == std::string::npos ? bytes.size() : end + 1;
        }
        bytes = stripped;
      }
      files[entry.path().filename().string()] = bytes;
    }
    return files;
  }
  void ClearOutputs() const {
    std::filesystem::remove_all(dir_.File("out"));
    std::filesystem::create_directory(dir_.File("out"));
  }

  ScratchDir dir_;
};

TEST_F(Resume, KilledAtACommittedTargetAndResumedGivesTheFilesOfAnUninterruptedRun) {
  std::mt19937 random(20261207);
  for (const int parallel : {1, 4}) {
    Configure(parallel);
    ClearOutputs();
    ASSERT_EQ(Run(""), 0) << dir_.Read("stderr");
    const std::map<std::string, std::string> expected = Outputs();
    ASSERT_EQ(expected.count("run.log.journal"), 0u) << "a completed run removes its journal";
    ASSERT_EQ(expected.count("run.log.failed.dat"), 1u);
    for (int round = 0; round < 3; ++round) {
      const int kill_after = std::uniform_int_distribution<int>(1, kComputers - 2)(random);
      ClearOutputs();
      ASSERT_EQ(Run("", kill_after), -1) << "finished before " << kill_after << " targets";
      // A resume may itself be killed and resumed again.
      if (round == 2) Run(" /RESUME", std::min(kill_after + 5, kComputers - 1));
      ASSERT_EQ(Run(" /RESUME"), 0) << dir_.Read("stderr");
      const std::map<std::string, std::string> resumed = Outputs();
      ASSERT_EQ(resumed.size(), expected.size()) << parallel << " " << kill_after;
      for (const auto& [name, bytes] : expected) {
        EXPECT_TRUE(resumed.at(name) == bytes)
            << name << " differs; ParallelTargets=" << parallel << ", killed after " << kill_after;
      }
    }
  }
}

TEST_F(Resume, RefusesAJournalThatDoesNotFit) {
  Configure(1);
  ClearOutputs();
  const std::string journal = dir_.File("out/run.log.journal");
  ASSERT_EQ(Run(" /RESUME"), 1);
  EXPECT_NE(dir_.Read("stderr").find("There is no journal " + journal), std::string::npos)
      << dir_.Read("stderr");

  ASSERT_EQ(Run("", 3), -1);
  const std::string services = dir_.Read("out/services.txt");
  dir_.Write("cfg.ini", dir_.Read("cfg.ini") + "[Drives]\nDrivesOutputFile=disks.txt\n");
  EXPECT_EQ(Run(" /RESUME"), 1);
  EXPECT_NE(dir_.Read("stderr").find("The journal " + journal +
                                     " was written by a run of "
                                     "another configuration"),
            std::string::npos)
      << dir_.Read("stderr");
  // A refused resume leaves the files as the interrupted run left them.
  EXPECT_EQ(dir_.Read("out/services.txt"), services);
  EXPECT_TRUE(std::filesystem::exists(journal));
}

TEST_F(Resume, FailedTargetsFileListsExactlyTheFailedTargetsAndRerunsThem) {
  Configure(4);
  ClearOutputs();
  ASSERT_EQ(Run(""), 0) << dir_.Read("stderr");
  std::vector<ObjectListItem> failed;
  ASSERT_EQ(ReadObjectList(dir_.File("out/run.log.failed.dat"), failed), win::ERROR_SUCCESS);
  std::vector<std::string> expected;
  for (int i = 0; i < kComputers; ++i) {
    if (Offline(i) || ServicesFail(i)) expected.push_back("\\\\" + Name(i));
  }
  std::vector<std::string> paths;
  for (const ObjectListItem& item : failed) paths.push_back(item.path);
  EXPECT_EQ(paths, expected);

  // Pointed at it, a run exports only them; they fail again.
  std::filesystem::copy_file(dir_.File("out/run.log.failed.dat"), dir_.File("failed.dat"));
  WriteConfiguration(dir_.File("failed.dat"), 1);
  ClearOutputs();
  ASSERT_EQ(Run(""), 0) << dir_.Read("stderr");
  const std::string log = dir_.Read("out/run.log");
  for (int i = 0; i < kComputers; ++i) {
    const bool listed = log.find("\t\\\\" + Name(i) + "\t") != std::string::npos ||
                        log.find("\t" + Name(i) + "\t") != std::string::npos;
    EXPECT_EQ(listed, Offline(i) || ServicesFail(i)) << Name(i);
  }
  EXPECT_EQ(dir_.Read("out/run.log.failed.dat"), dir_.Read("failed.dat"));

  // A run in which nothing fails removes the old file.
  Configure(1);
  dir_.Write("estate.json", R"({"computers": [{"name": "PC0"}]})");
  dir_.Write("objects.txt", "PC0\n");
  ASSERT_EQ(Run(""), 0) << dir_.Read("stderr");
  EXPECT_FALSE(std::filesystem::exists(dir_.File("out/run.log.failed.dat")));
}

}  // namespace
}  // namespace tabulon::testing
