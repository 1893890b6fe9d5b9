// Exports that need a client on the test smbd and a test user the server
// treats as an administrator: drives measured over SMB, open files, sessions
// and connections, and the names and counts Samba's own tools see.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include "platform/samba/samba_transport.h"
#include "samba/remote_run.h"
#include "support/samba_server.h"
#include "support/server_required.h"

namespace tabulon::testing {
namespace {

// The values after `label` on the lines of `text` that have it, e.g. the
// share names after "netname: ".
std::multiset<std::string> ValuesAfter(const std::string& text, const std::string& label) {
  std::multiset<std::string> values;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    const std::size_t at = line.find(label);
    if (at != std::string::npos) values.insert(line.substr(at + label.size()));
  }
  return values;
}

// One column of an export file, title row left out.
std::multiset<std::string> Column(const std::string& file, std::size_t column) {
  std::multiset<std::string> values;
  std::istringstream lines(file);
  std::string line;
  std::getline(lines, line);
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream fields(line);
    std::string field;
    for (std::size_t i = 0; i <= column && std::getline(fields, field, '\t'); ++i) {
    }
    values.insert(field);
  }
  return values;
}

// The title row, then the other rows in sorted order: the server lists some
// tables in the order of its own hash table.
std::string SortedRows(const std::string& file) {
  std::istringstream lines(file);
  std::string title;
  std::getline(lines, title);
  std::multiset<std::string> rows;
  for (std::string line; std::getline(lines, line);) rows.insert(line);
  std::string sorted = title + "\n";
  for (const std::string& row : rows) sorted += row + "\n";
  return sorted;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

class FileServerExports : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const std::string& why_not = IsolateNetwork(); !why_not.empty())
      SKIP_WITHOUT_SERVER(why_not);
    // The server runs this as the connected user: a fixed volume of 1 GiB
    // with 256 MiB free, in 1024-byte blocks, whatever the real disk holds.
    ::chmod(tools_.path().c_str(), 0755);
    tools_.Write("dfree", "#!/bin/sh\necho 1048576 262144 1024\n");
    ::chmod(tools_.File("dfree").c_str(), 0755);
    std::string why_not;
    // A "C$" share as a Windows server has one, for the default drive mask.
    server_ = SambaServer::Start(why_not, {"  dfree command = " + tools_.File("dfree") + "\n",
                                           "\n[C$]\n  path = /tmp\n  read only = yes\n"});
    if (!server_) SKIP_WITHOUT_SERVER(why_not);
    tools_.Write("held.txt", "");
    ASSERT_EQ(::system(("install -m 0666 " + tools_.File("held.txt") + " " + server_->folder() +
                        "/drop/held.txt")
                           .c_str()),
              0);
    // The test user is an administrator of the server.
    const std::string admin = server_->MakeTestUserAdministrator();
    ASSERT_EQ(admin, "");
  }

  void TearDown() override {
    if (client_ != nullptr) ::pclose(client_);  // end of input ends the client
  }

  std::string Conf() const { return server_->configuration(); }
  // The server's folder as the server names it to Windows clients.
  std::string ServerFolder() const { return "C:" + ReplaceAll(server_->folder(), "/", "\\"); }
  std::string Login() const {
    return std::string(" -U ") + kSambaUser + "%" + kSambaPassword + " -s " + Conf();
  }

  // A client connected to the drop share that holds held.txt open until the
  // test ends; returns once the server lists the open file.
  void HoldFileOpen() {
    client_ = ::popen(("smbclient //127.0.0.1/drop" + Login() + " >/dev/null 2>&1").c_str(), "w");
    ASSERT_NE(client_, nullptr);
    std::fputs("open held.txt\n", client_);
    std::fflush(client_);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (CommandOutput("rpcclient 127.0.0.1 -c netfileenum" + Login()).find("held.txt") ==
           std::string::npos) {
      ASSERT_LT(std::chrono::steady_clock::now(), until) << "the client did not open the file";
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }

  RunResult Run(const std::string& ini) {
    return RunAgainstTestServer(dir_, "[Computers]\nPingEnable=0\n" + ini, messages_);
  }

  ScratchDir tools_;
  ScratchDir dir_;
  RecordedMessages messages_;
  std::unique_ptr<SambaServer> server_;
  FILE* client_ = nullptr;
};

TEST_F(FileServerExports, DrivesOfSharesMeasuredOverSmb) {
  const RunResult result =
      Run("[Drives]\nExportDrives=1\nDrivesMask=%s$;data;nope\nDrivesFormat=1\n"
          "DrivesColumns=0,1,2,3,4,5,6,7,8,9\n");
  ASSERT_FALSE(result.stopped_early) << messages_.shown;
  // The share that does not exist is left out; an SMB client learns neither
  // a share's label, serial number nor file-system name, so those stay empty.
  EXPECT_EQ(dir_.Read("drives.txt"),
            "Drive\tFormat\tTotal\tUsed\tFree\tPercentUsed\tPercentFree\tVolumeID\tSerial\t"
            "SpaceFormat\r\n"
            "C\t\t1073741824\t805306368\t268435456\t75.00\t25.00\t\t\tbytes\r\n"
            "data\t\t1073741824\t805306368\t268435456\t75.00\t25.00\t\t\tbytes\r\n");
  EXPECT_EQ(messages_.rows, "");
}

TEST_F(FileServerExports, SpaceOfMissingSharesAndFoldersAndWithAWrongPassword) {
  const platform::Credentials login{kSambaUser, platform::Secret(kSambaPassword), ""};
  platform::SessionOptions options;
  options.credentials = &login;
  options.call_timeout_ms = 20000;
  platform::samba::SambaTransport transport(options);
  EXPECT_EQ(transport.DiskSpace("\\\\127.0.0.1", "data", "").total_bytes, 1u << 30);
  EXPECT_EQ(transport.DiskSpace("127.0.0.1", "nope", "").status, win::ERROR_BAD_NET_NAME);
  EXPECT_EQ(transport.DiskSpace("127.0.0.1", "data", "missing").status, win::ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(transport.DiskSpace("127.0.0.2", "data", "").status, win::ERROR_BAD_NETPATH);
  const platform::Credentials wrong{kSambaUser, platform::Secret("wrong"), ""};
  options.credentials = &wrong;
  platform::samba::SambaTransport refused(options);
  EXPECT_EQ(refused.DiskSpace("127.0.0.1", "data", "").status, win::ERROR_ACCESS_DENIED);
}

// Other Samba clients of the machine cache the addresses they found for
// names; the share connection must go where the pipes go, to the address
// the hosts file gives now.
TEST_F(FileServerExports, SpaceOfAServerWhoseNameAnotherClientCachedElsewhere) {
  ASSERT_EQ(AddHostNames("127.0.0.1\tmovedhost\n"), "");
  CommandOutput("net cache add 'NBT/MOVEDHOST#20' '127.0.0.2:0' 600 -s /dev/null");
  ASSERT_NE(CommandOutput("net cache list -s /dev/null").find("127.0.0.2"), std::string::npos);
  const platform::Credentials login{kSambaUser, platform::Secret(kSambaPassword), ""};
  platform::SessionOptions options;
  options.credentials = &login;
  options.call_timeout_ms = 20000;
  platform::samba::SambaTransport transport(options);
  const platform::DiskFreeSpaceResult space = transport.DiskSpace("movedhost", "data", "");
  EXPECT_EQ(space.status, win::ERROR_SUCCESS);
  EXPECT_EQ(space.total_bytes, 1u << 30);
}

TEST_F(FileServerExports, OpenFilesOfAClientHoldingAFile) {
  HoldFileOpen();
  const RunResult result = Run("[OpenFiles]\nExportOpenFiles=1\nOpenFilesColumns=0,1,2,3,4\n");
  ASSERT_FALSE(result.stopped_early) << messages_.shown;
  // The server names the file by its Windows-style path on the server, which
  // lies in the server's temporary folder. The id grows with every open the
  // server has seen, the polling tool's pipes included, so only its form is
  // checked. The client opened the file for reading and writing.
  const std::string file = ReplaceAll(dir_.Read("open_files.txt"), ServerFolder(), "<server>");
  const std::regex id("\\\\held\\.txt\t[1-9][0-9]*\t");
  EXPECT_EQ(std::regex_replace(file, id, "\\held.txt\t<id>\t"),
            "OpenFilesUser\tOpenFilesPath\tOpenFilesId\tOpenFilesPerms\tOpenFilesLocks\r\n"
            "tabtest\t<server>\\drop\\held.txt\t<id>\t3\t0\r\n");
  EXPECT_EQ(messages_.rows, "");
}

TEST_F(FileServerExports, SessionsSharesAndConnectionsWithAClient) {
  HoldFileOpen();
  const RunResult result = Run(
      "[Sessions]\nExportSessions=1\nSessionsColumns=0,1,2,3\n"
      "[Shares]\nExportShares=1\nSharesColumns=0,4\n"
      "[ExportShareConnections]\nExportShareConnections=1\nShareConnectionsColumns=0,1,2,3,4\n");
  ASSERT_FALSE(result.stopped_early) << messages_.shown;
  // The export's own session and the client's with its open file. Times are
  // left out: they are seconds since the sessions began.
  EXPECT_EQ(SortedRows(dir_.Read("sessions.txt")),
            "SessionComputerName\tSessionUserName\tSessionTransport\tSessionOpens\r\n"
            "127.0.0.1\ttabtest\t\t0\r\n"
            "127.0.0.1\ttabtest\t\t1\r\n");
  EXPECT_EQ(dir_.Read("shares.txt"),
            "ShareName\tShareCurrentUsers\r\n"
            "data\t1\r\n"
            "drop\t1\r\n"
            "C$\t1\r\n"
            "IPC$\t1\r\n");
  // The server lists a share's connections with a fixed user and computer
  // name of its own.
  EXPECT_EQ(dir_.Read("share_connections.txt"),
            "ShareConnectionShareName\tShareConnectionUserName\tShareConnectionComputerName\t"
            "ShareConnectionUsers\tShareConnectionOpens\r\n"
            "drop\tdummy_user\tIPC$\t1\t1\r\n"
            "IPC$\tdummy_user\tIPC$\t1\t0\r\n");
  EXPECT_EQ(messages_.rows, "");
}

TEST_F(FileServerExports, NamesAndCountsAgreeWithSambasOwnTools) {
  HoldFileOpen();
  // Every export of this run goes over one pipe, so the server counts one
  // session for it, as it does for the tool's.
  ASSERT_FALSE(Run("[Shares]\nExportShares=1\nSharesColumns=0\n"
                   "[Sessions]\nExportSessions=1\nSessionsColumns=1\n"
                   "[OpenFiles]\nExportOpenFiles=1\nOpenFilesColumns=1\n")
                   .stopped_early)
      << messages_.shown;
  const std::string rpc = "rpcclient 127.0.0.1" + Login() + " -c ";
  EXPECT_EQ(Column(dir_.Read("shares.txt"), 0),
            ValuesAfter(CommandOutput(rpc + "netshareenumall"), "netname: "));
  const std::multiset<std::string> sessions = Column(dir_.Read("sessions.txt"), 0);
  EXPECT_EQ(ValuesAfter(CommandOutput(rpc + "netsessenum"), "Received "),
            std::multiset<std::string>{std::to_string(sessions.size()) + " entries."});
  std::multiset<std::string> open_paths;
  for (const std::string& rest : ValuesAfter(CommandOutput(rpc + "netfileenum"), ServerFolder())) {
    open_paths.insert(ServerFolder() + rest);
  }
  EXPECT_EQ(open_paths.size(), 1u);
  EXPECT_EQ(Column(dir_.Read("open_files.txt"), 0), open_paths);

  ASSERT_FALSE(Run("[Services]\nExportServices=1\nServiceColumns=0\n").stopped_early)
      << messages_.shown;
  std::multiset<std::string> listed;
  std::istringstream services(CommandOutput("net rpc service list -I 127.0.0.1" + Login()));
  for (std::string name; services >> name;) {
    listed.insert(name);
    std::getline(services, name);  // the display name
  }
  EXPECT_FALSE(listed.empty());
  EXPECT_EQ(Column(dir_.Read("services.txt"), 0), listed);
}

// The pipes of a whole run share one SMB session, as a Windows client's do:
// the server's own session list, read last by the sessions export, shows the
// run once. Reading files takes one more session, the file client's (its
// library cannot open a share on the pipes' session), whatever the number of
// shares read; it is closed before the server lists its sessions, so a run
// whose file template came first still shows once.
TEST_F(FileServerExports, ARunIsOneSessionInTheServersOwnSessionList) {
  ASSERT_EQ(CommandOutput("net registry createkey 'HKLM\\SOFTWARE\\Vendor' -s " + Conf()),
            "createkey created HKLM\\SOFTWARE\\Vendor\n");
  dir_.Write("reg.cfg",
             "[Vendor]\nOutputFileName=reg.txt\nOutputKeys=HKLM\\SOFTWARE\\Vendor\n"
             "OutputColumns=%KEY_PATH%\n");
  dir_.Write("files.cfg", "[Scan]\nOutputFileName=files.txt\nOutputColumns=0\nPaths=data:drop\n");
  // Services, the registry, shares, sessions and the names of owners:
  // svcctl, winreg, srvsvc and lsarpc.
  const std::string pipes =
      "RegistryCfgFile=" + dir_.File("reg.cfg") + "\nFileCfgFile=" + dir_.File("files.cfg") +
      "\n[Services]\nExportServices=1\nServiceColumns=0\n"
      "[Security]\nExportSecurity=1\nExportServiceSecurity=1\nExportRegistrySecurity=1\n"
      "ExportOwnerSecurity=1\n"
      "[Shares]\nExportShares=1\nSharesColumns=0\n"
      "[Sessions]\nExportSessions=1\nSessionsColumns=0,1\n[Computers]\nPingEnable=0\n";
  // Without file access, then with a file template run before the lists.
  for (const char* templates :
       {"RegistryTemplates=Vendor;\n", "RegistryTemplates=Vendor;\nFileTemplates=Scan;\n"}) {
    ASSERT_FALSE(
        RunAgainstTestServer(dir_, pipes + "[Templates]\n" + templates, messages_).stopped_early)
        << messages_.shown;
    EXPECT_EQ(messages_.rows, "") << templates;
    EXPECT_EQ(dir_.Read("sessions.txt"),
              "SessionComputerName\tSessionUserName\r\n"
              "127.0.0.1\ttabtest\r\n")
        << templates;
  }
  // Each share read on its own connection, in turn.
  EXPECT_EQ(dir_.Read("files.txt"),
            "FilePath\r\n"
            "\\\\127.0.0.1\\data\\readme.txt\r\n"
            "\\\\127.0.0.1\\drop\\held.txt\r\n");
}

}  // namespace
}  // namespace tabulon::testing
