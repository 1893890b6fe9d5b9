// Runs that meet hostile surroundings: files that cannot be written, paths
// that name one file twice, inputs that never end, stops while a call is in
// flight, and failures that nobody watches.
#include <sys/mount.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/text.h"
#include "support/e2e.h"

namespace tabulon::testing {
namespace {

std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\n";
  return out;
}

TEST(RunSafety, AFailedWriteIsReportedOncePerFile) {
  struct Case {
    const char* settings;
    const char* label;
    const char* path;
  } cases[] = {
      {"[General]\nEnableLogging=1\nLogFileName=/dev/full\n", "Log File", "/dev/full"},
      {"ServicesOutputFile=/dev/full\n", "Output File", "/dev/full"},
  };
  for (const Case& c : cases) {
    EndToEnd run;
    run.SetEstate(R"({"synthetic": {"computers": 3, "services_per_computer": 300}})");
    run.SetConfiguration(std::string("[Services]\nExportServices=1\n") + c.settings);
    run.SetObjects({{24, "DC00001", "\\\\DC00001"}, {24, "WS00002", "\\\\WS00002"}});
    const RunResult result = run.Run(false);
    ASSERT_EQ(result.write_failures.size(), 1u) << c.settings;
    EXPECT_EQ(result.write_failures[0].label, c.label);
    EXPECT_EQ(result.write_failures[0].path, c.path);
    EXPECT_EQ(result.write_failures[0].status, win::ERROR_DISK_FULL);
    EXPECT_EQ(Joined(run.Messages()), std::string("Unable to write '") + c.label + "' file " +
                                          c.path +
                                          "; the file is incomplete. There is not enough space "
                                          "on the disk.\n");
  }
}

// A 64 KiB file system that fills during the run; it needs the right to
// mount, which the CI runs have.
TEST(RunSafety, AFullFileSystemIsNoticedAndLogged) {
  EndToEnd run;
  const std::string small = run.dir().File("small");
  std::filesystem::create_directory(small);
  if (::mount("tabulon-test", small.c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "cannot mount a small tmpfs here (needs privileges)";
  }
  run.SetEstate(R"({"synthetic": {"computers": 1, "services_per_computer": 2000}})");
  run.SetConfiguration(
      "[General]\nEnableLogging=1\n[Services]\nExportServices=1\n"
      "ServicesOutputFile=" +
      small + "/services.txt\n");
  run.SetObjects({{24, "DC00001", "\\\\DC00001"}});
  const RunResult result = run.Run(false);
  ::umount2(small.c_str(), MNT_DETACH);
  ASSERT_EQ(result.write_failures.size(), 1u);
  EXPECT_EQ(result.write_failures[0].path, small + "/services.txt");
  EXPECT_NE(run.Output("Export.log")
                .find(text::Utf8ToLatin1("MSG\tERROR\tUnable to write 'Output File' file " +
                                         small + "/services.txt; the file is incomplete.")),
            std::string::npos);
}

TEST(RunSafety, CollidingPathsStopBeforeAnythingIsOpened) {
  struct Case {
    const char* settings;  // "@" stands for the scratch directory
    const char* message;
  } cases[] = {
      {"ServicesOutputFile=@/objects.dat\n",
       "The Object File @/objects.dat and the Output File (Services) @/objects.dat"},
      {"[General]\nEnableLogging=1\nLogFileName=@/cfg.ini\n",
       "The Configuration File @/cfg.ini and the Log File @/cfg.ini"},
      {"ServicesOutputFile=same.txt\n[Computers]\nExportComputers=1\n"
       "ComputersOutputFile=@/./same.txt\n",
       "The Output File (Services) @/same.txt and the Output File (Computers) @/./same.txt"},
      {"ServicesOutputFile=@/skip.txt\n[Computers]\nSkipEnable=1\nSkipFileName=@/skip.txt\n",
       "The Exception List @/skip.txt and the Output File (Services) @/skip.txt"},
      {"ServicesOutputFile=@/include.txt\n",
       "The Include File @/include.txt and the Output File (Services) @/include.txt"},
  };
  for (const Case& c : cases) {
    EndToEnd run;
    const std::string dir = run.dir().path();
    auto fill = [&dir](std::string text) {
      for (std::size_t at; (at = text.find('@')) != std::string::npos;) text.replace(at, 1, dir);
      return text;
    };
    run.SetConfiguration(fill(std::string("[Services]\nExportServices=1\n") + c.settings));
    run.SetObjects({{24, "PC1", "\\\\PC1"}, {52, "more", dir + "/include.txt"}});
    run.dir().Write("skip.txt", "PC9\n");
    run.dir().Write("include.txt", "PC2\n");
    const std::string config = run.dir().Read("cfg.ini");
    const std::string objects = run.dir().Read("objects.dat");
    const RunResult result = run.Run();
    EXPECT_TRUE(result.stopped_early) << c.settings;
    EXPECT_EQ(Joined(run.Messages()),
              fill(c.message) + " are the same file. Give each its own file.\n");
    EXPECT_EQ(run.dir().Read("cfg.ini"), config);
    EXPECT_EQ(run.dir().Read("objects.dat"), objects);
    EXPECT_EQ(run.dir().Read("skip.txt"), "PC9\n");
    EXPECT_EQ(run.dir().Read("include.txt"), "PC2\n");
  }
}

TEST(RunSafety, DevicesMayTakeSeveralOutputs) {
  EndToEnd run;
  run.SetConfiguration(
      "[Services]\nExportServices=1\nServicesOutputFile=/dev/null\n[Computers]\n"
      "ExportComputers=1\nComputersOutputFile=/dev/null\n");
  run.SetObjects({{24, "PC1", "\\\\PC1"}});
  EXPECT_FALSE(run.Run().stopped_early);
  EXPECT_TRUE(run.Messages().empty());
}

TEST(RunSafety, InputsThatAreNotRegularFilesAreRefused) {
  struct Case {
    const char* settings;
    const char* object;  // an include file when set
    const char* message;
  } cases[] = {
      {"[General]\nObjectFile=/dev/zero\n", nullptr,
       "Unable to open 'Object File' file /dev/zero."},
      {"", "/dev/zero", "Unable to open 'Include File' file /dev/zero."},
      {"", "@", "Unable to open 'Include File' file @."},
      {"", "@/fifo", "Unable to open 'Include File' file @/fifo."},
      {"[Computers]\nSkipEnable=1\nSkipFileName=/dev/zero\n", nullptr,
       "Unable to open 'Exception List' file /dev/zero."},
  };
  for (const Case& c : cases) {
    EndToEnd run;
    const std::string dir = run.dir().path();
    ASSERT_EQ(::mkfifo(run.dir().File("fifo").c_str(), 0600), 0);
    auto fill = [&dir](std::string text) {
      for (std::size_t at; (at = text.find('@')) != std::string::npos;) text.replace(at, 1, dir);
      return text;
    };
    run.SetConfiguration(std::string("[Services]\nExportServices=1\n") + c.settings);
    if (c.object != nullptr) {
      run.SetObjects({{52, "more", fill(c.object)}});
    } else {
      run.SetObjects({{24, "PC1", "\\\\PC1"}});
    }
    EXPECT_TRUE(run.Run().stopped_early) << c.settings;
    ASSERT_EQ(run.Messages().size(), 1u) << c.settings;
    EXPECT_EQ(run.Messages()[0], fill(c.message) +
                                     " Check access permissions to this file on the account "
                                     "being used. Access was denied.");
  }
}

TEST(RunSafety, UnattendedRunsShowTheirFailureRows) {
  EndToEnd run;
  run.SetEstate(R"({"computers": [
      {"name": "QUIET", "ping": {"answers": false}},
      {"name": "FS\u001b[2J", "services": [
          {"name": "Alpha", "failures": {"OpenService": "ERROR_ACCESS_DENIED"}},
          {"name": "Beta", "failures": {"QueryServiceConfig": "ERROR_ACCESS_DENIED"}},
          {"name": "Gamma"}]}]})");
  run.SetConfiguration("[Services]\nExportServices=1\n[Computers]\nPingEnable=1\nPingType=1\n");
  run.SetObjects({{24, "QUIET", "\\\\QUIET"}, {24, "FS\x1b[2J", "\\\\FS\x1b[2J"}});
  run.Run(false);
  EXPECT_EQ(Joined(run.observer().failure_rows),
            "QUIET: Ping failed.\n"
            "FS\x1b[2J: Unable to access service Alpha. Access was denied.\n"
            "FS\x1b[2J: Unable to query service Beta. Access was denied.\n");
}

// The first stop lets the target in progress finish; a second one cancels
// the call in flight, and the run ends between two rows.
TEST(RunSafety, FirstStopFinishesTheTargetSecondCancelsTheCall) {
  for (const bool cancel : {false, true}) {
    EndToEnd run;
    run.SetEstate(R"({"computers": [
        {"name": "PC1", "latency_ms": 150, "services": [{"name": "A"}, {"name": "B"}]},
        {"name": "PC2"}]})");
    run.SetConfiguration("[Services]\nExportServices=1\nServiceColumns=0\n");
    run.SetObjects({{24, "PC1", "\\\\PC1"}, {24, "PC2", "\\\\PC2"}});
    RunControl& control = run.control();
    std::thread stopper([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      control.Escalate();
      if (cancel) control.Escalate();
    });
    const auto start = std::chrono::steady_clock::now();
    const RunResult result = run.Run();
    stopper.join();
    EXPECT_TRUE(result.aborted_by_user);
    EXPECT_EQ(result.targets_processed, 1u);
    const std::string services = run.Output("services.txt");
    if (cancel) {
      EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
      EXPECT_EQ(services.find("B\r\n"), std::string::npos) << services;
    } else {
      EXPECT_EQ(services, "ServiceName\r\nA\r\nB\r\n");
    }
    EXPECT_TRUE(services.ends_with("\r\n"));
  }
}

}  // namespace
}  // namespace tabulon::testing
