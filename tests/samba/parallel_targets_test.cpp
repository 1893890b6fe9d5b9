// Targets exported at once against real servers give the files of a serial
// run byte for byte: one smbd answers as several computers (by name and by
// address), mixed in the target list with targets that fail in each way a
// network fails, so that failures and successes finish out of order.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "samba/remote_run.h"
#include "support/samba_server.h"
#include "support/server_required.h"
#include "support/silent_socket.h"

namespace tabulon::testing {
namespace {

// Every computer the one smbd stands for.
const std::vector<std::string> kMoreAddresses = {"127.0.0.2", "127.0.0.3", "127.0.0.4",
                                                 "127.0.0.5"};
constexpr const char* kHosts =
    "127.0.0.2\tlive2\n127.0.0.3\tlive3\n127.0.0.4\tlive4\n127.0.0.5\tlive5\n"
    "127.0.0.30\tnobody\n127.0.0.40\tsilent\n";

// The targets in list order. A dead target fails fast or slowly, so that at
// eight at once the live targets after it finish before it does.
constexpr const char* kTargets[] = {
    "\\\\tabulontest",   // live, by its own name
    "\\\\127.0.0.2",     // live, by address
    "\\\\nobody",        // resolves to an address where nothing listens: refused at once
    "\\\\live3",         // live, by a name of the hosts file
    "\\\\silent",        // accepts the connection, never answers: fails after the time-out
    "\\\\live4",         // live
    "\\\\no-such-host",  // no resolver knows it (the name server does not listen)
    "\\\\127.0.0.31",    // an address where nothing listens
    "\\\\live2",         // live: the computer of 127.0.0.2 again, by name
    "\\\\live5",         // live
    "\\\\127.0.0.1",     // live: the first target again, by address
    "\\\\127.0.0.5",     // live: live5 again, by address
};
constexpr const char* kDeadTargets[] = {"\\\\nobody", "\\\\silent", "\\\\no-such-host",
                                        "\\\\127.0.0.31"};

// The log with the time of each line left out: each line starts with its
// time stamp.
std::string WithoutTimes(const std::string& log) {
  static const std::regex stamp("^[0-9][0-9/.:\\- ]*[0-9](\\s*[AP]M)?\\t", std::regex::multiline);
  return std::regex_replace(log, stamp, "");
}

class ParallelTargets : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    why_not_ = IsolateNetwork();
    if (!why_not_.empty()) return;
    why_not_ = AddHostNames(kHosts);
    if (!why_not_.empty()) return;
    // A fixed volume for the drives export (the real disk's free space moves
    // between runs): 1 GiB with 256 MiB free.
    tools_ = std::make_unique<ScratchDir>();
    ::chmod(tools_->path().c_str(), 0755);
    tools_->Write("dfree", "#!/bin/sh\necho 1048576 262144 1024\n");
    ::chmod(tools_->File("dfree").c_str(), 0755);
    server_ = SambaServer::Start(
        why_not_, {"  dfree command = " + tools_->File("dfree") + "\n", ""}, kMoreAddresses);
    if (!server_) return;
    // Services, the registry and drives are the administrators'.
    why_not_ = server_->MakeTestUserAdministrator();
    if (why_not_.empty()) {
      why_not_ =
          CommandOutput("net registry createkey 'HKLM\\SOFTWARE\\Vendor' -s " +
                        server_->configuration()) == "createkey created HKLM\\SOFTWARE\\Vendor\n"
              ? ""
              : "net registry createkey failed";
    }
    if (!why_not_.empty()) server_.reset();
  }
  static void TearDownTestSuite() {
    server_.reset();
    tools_.reset();
  }
  void SetUp() override {
    if (!server_) SKIP_WITHOUT_SERVER(why_not_);
  }

  struct Output {
    RunResult result;
    std::vector<std::string> files;  // in kFiles' order
    std::string log;
    std::string failure_rows;
  };
  static constexpr const char* kFiles[] = {"computers.txt", "services.txt", "shares.txt",
                                           "drives.txt",    "reg.txt",      "files.txt"};

  // Computers, services, shares, drives (one share missing on every live
  // target: a failure of an export), a registry and a file template; the
  // sessions export is left out, as targets on one server at once see each
  // other's sessions where one at a time they would not.
  static Output RunWith(int parallel) {
    // An idle smbd starts its RPC helpers on the first pipe opened: start
    // them first. Eight logons at once on a loaded machine (the sanitizer
    // build) take seconds, so the time-out is 10 s: the silent target
    // still costs it once per run, while the targets after it finish.
    const std::string warm =
        CommandOutput(std::string("rpcclient 127.0.0.1 -c srvinfo -U ") + kSambaUser + "%" +
                      kSambaPassword + " -s " + server_->configuration());
    EXPECT_NE(warm.find("TABULONTEST"), std::string::npos) << warm;
    ScratchDir dir;
    RecordedMessages messages;
    dir.Write("reg.cfg",
              "[Vendor]\nOutputFileName=reg.txt\nOutputKeys=HKLM\\SOFTWARE\\Vendor\n"
              "OutputColumns=%KEY_PATH%\n");
    dir.Write("files.cfg", "[Scan]\nOutputFileName=files.txt\nOutputColumns=0,1\nPaths=data\n");
    std::string objects;
    int line = 1;
    for (const char* path : kTargets) {
      objects += std::to_string(line++) + "\t0\t24\t1\treserved\treserved\t" +
                 std::string(path + 2) + "\t\t" + path + "\r\n";
    }
    Output out;
    out.result = RunAgainstRealServers(
        dir, messages, objects,
        "ParallelTargets=" + std::to_string(parallel) + "\nEnableLogging=1\nRegistryCfgFile=" +
            dir.File("reg.cfg") + "\nFileCfgFile=" + dir.File("files.cfg") +
            "\n[Platform]\nTimeout=10\n[Computers]\nPingEnable=0\nExportComputers=1\n"
            "ComputerColumns=0,1,4\n[Services]\nExportServices=1\nServiceColumns=0,2,3,4\n"
            "[Shares]\nExportShares=1\nSharesColumns=0,1,2\n"
            "[Drives]\nExportDrives=1\nDrivesMask=data;nope\nDrivesFormat=1\n"
            "[Templates]\nRegistryTemplates=Vendor;\nFileTemplates=Scan;\n",
        *TestUserLogin().credentials);
    for (const char* file : kFiles) out.files.push_back(dir.Read(file));
    // The configuration's own folder differs between the runs.
    out.log =
        std::regex_replace(WithoutTimes(dir.Read("Export.log")), std::regex(dir.path()), "<dir>");
    out.failure_rows = messages.rows + messages.shown;
    return out;
  }

  static std::unique_ptr<ScratchDir> tools_;
  static std::unique_ptr<SambaServer> server_;
  static std::string why_not_;
};

std::unique_ptr<ScratchDir> ParallelTargets::tools_;
std::unique_ptr<SambaServer> ParallelTargets::server_;
std::string ParallelTargets::why_not_;

TEST_F(ParallelTargets, EightAtOnceWriteWhatOneAtATimeWrites) {
  // Connections to it complete (the kernel accepts them); nothing is ever
  // read or answered.
  SilentSocket silent(SOCK_STREAM, "127.0.0.40", 445);
  ASSERT_TRUE(silent.ok());

  const Output serial = RunWith(1);
  ASSERT_FALSE(serial.result.stopped_early) << serial.failure_rows;
  // The serial run is the reference: every live target wrote its rows, every
  // dead one failed, and the missing share failed on each live one.
  EXPECT_EQ(serial.result.targets_processed, std::size(kTargets));
  for (const char* dead : kDeadTargets) {
    EXPECT_NE(serial.failure_rows.find(std::string(dead + 2) + ": "), std::string::npos)
        << dead << "\n"
        << serial.failure_rows;
  }
  const std::string& shares = serial.files[2];
  EXPECT_EQ(std::count(shares.begin(), shares.end(), '\n'),
            1 + 3 * static_cast<long>(std::size(kTargets) - std::size(kDeadTargets)))
      << shares;
  EXPECT_NE(serial.files[4].find("SOFTWARE\\Vendor"), std::string::npos) << serial.files[4];

  const Output parallel = RunWith(8);
  ASSERT_FALSE(parallel.result.stopped_early) << parallel.failure_rows;
  EXPECT_EQ(parallel.result.targets_processed, serial.result.targets_processed);
  for (std::size_t i = 0; i < std::size(kFiles); ++i) {
    EXPECT_EQ(parallel.files[i], serial.files[i]) << kFiles[i];
  }
  EXPECT_EQ(parallel.log, serial.log);
  EXPECT_EQ(parallel.failure_rows, serial.failure_rows);
}

}  // namespace
}  // namespace tabulon::testing
