// File/directory templates against the test smbd: the computer and its
// share list come from the server over RPC; the files either from a local
// folder standing for a share or from the server itself over SMB, and both
// give the same rows.
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <thread>

#include "engine/error_text.h"
#include "platform/posix/file_system.h"
#include "platform/remote/remote_backend.h"
#include "platform/remote/remote_file_system.h"
#include "platform/samba/samba_transport.h"
#include "samba/remote_run.h"
#include "support/pe_image.h"
#include "support/samba_server.h"
#include "support/server_process.h"

namespace tabulon::testing {
namespace {

namespace fs = std::filesystem;

// Fields joined by TABs, ended by CR LF.
std::string Row(std::initializer_list<std::string_view> fields) {
  std::string row;
  for (const std::string_view field : fields) {
    if (!row.empty()) row += '\t';
    row += field;
  }
  return row + "\r\n";
}

// Shares the share list does not show, in a folder of the test's own:
// "nomangle" passes every Linux name through as it is, "loops" holds links
// back up, "quiet" three plain folders.
std::string HostileShares(const std::string& folder) {
  std::string shares;
  for (const char* share : {"nomangle", "loops", "quiet"}) {
    shares += std::string("[") + share + "]\n  path = " + folder + "/" + share +
              "\n  browseable = no\n  read only = yes\n";
    if (std::string_view(share) == "nomangle") shares += "  mangled names = no\n";
  }
  return shares;
}

void MakeHostileFolders(const fs::path& root) {
  fs::create_directories(root / "nomangle" / "good");
  fs::create_directories(root / "nomangle" / "mixed");
  fs::create_directories(root / "nomangle" / "zlast");
  std::ofstream(root / "nomangle" / "top.txt") << 1;
  std::ofstream(root / "nomangle" / "good" / "plain.txt") << 1;
  std::ofstream(root / "nomangle" / "good" / "tab\tname.dat") << 1;
  std::ofstream(root / "nomangle" / "good" / "new\nline.dat") << 1;
  std::ofstream(root / "nomangle" / "mixed" / "c.txt") << 1;
  std::ofstream(root / "nomangle" / "mixed" / "a\\b.txt") << 1;
  std::ofstream(root / "nomangle" / "zlast" / "z.txt") << 1;
  fs::create_directories(root / "loops" / "sub");
  std::ofstream(root / "loops" / "f.txt") << 1;
  std::ofstream(root / "loops" / "sub" / "g.txt") << 1;
  fs::create_directory_symlink(".", root / "loops" / "self1");
  fs::create_directory_symlink(".", root / "loops" / "self2");
  fs::create_directory_symlink("..", root / "loops" / "sub" / "up");
  for (const char* name : {"a", "b", "c"}) {
    fs::create_directories(root / "quiet" / name);
    std::ofstream(root / "quiet" / name / (std::string(name) + "1.txt")) << 1;
  }
}

class FileTemplatesOfARealServer : public SambaServerSuite {
 protected:
  static void SetUpTestSuite() {
    why_not_ = IsolateNetwork();
    if (!why_not_.empty()) return;
    hostile_ = MakeTempFolder("tabulon-hostile");
    // The share's services run as the test user.
    fs::permissions(hostile_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
    MakeHostileFolders(hostile_);
    server_ = SambaServer::Start(why_not_, {"", HostileShares(hostile_)});
    if (!server_) return;
    // The first call starts the server's RPC helpers (seconds), which no
    // test's timeout need allow for.
    platform::remote::RemoteBackend backend(SambaTransports, nullptr);
    backend.Open("\\\\127.0.0.1", TestUserLogin())->server().NetServerGetInfo101("\\\\127.0.0.1");
  }
  static void TearDownTestSuite() {
    SambaServerSuite::TearDownTestSuite();
    std::error_code ignored;
    if (!hostile_.empty()) fs::remove_all(hostile_, ignored);
  }

  // One template over a share of the test smbd, every level; the rows after
  // the title row. `hooks` come with a timeout of 5 s.
  std::string Scan(const std::string& paths, const std::string& keys, RecordedMessages& messages,
                   const RunHooks& hooks = {}) {
    dir_.Write("files.cfg",
               "[Scan]\nOutputFileName=files.txt\nPathOptions=1\nPaths=" + paths + "\n" + keys);
    RunAgainstRealServers(dir_, messages, kObjects,
                          "EnableLogging=1\nAppendLog=0\nFileCfgFile=" + dir_.File("files.cfg") +
                              "\n[Computers]\nPingEnable=0\n[Templates]\nFileTemplates=Scan;\n" +
                              (hooks.transports ? "[Platform]\nTimeout=5\n" : ""),
                          *TestUserLogin().credentials, nullptr, hooks);
    const std::string rows = dir_.Read("files.txt");
    return rows.substr(rows.find("\r\n") + 2);
  }
  std::string Log() const { return dir_.Read("Export.log"); }

  static constexpr const char* kObjects =
      "1\t0\t24\t1\treserved\treserved\tSMB\t\t\\\\127.0.0.1\r\n";
  static std::string hostile_;
  ScratchDir dir_;
};

std::string FileTemplatesOfARealServer::hostile_;

TEST_F(FileTemplatesOfARealServer, FilesReadOverSmbGiveTheRowsTheFolderGives) {
  const std::filesystem::path data = server_->folder() + "/data";
  std::filesystem::create_directories(data / "bin");
  std::filesystem::create_directories(data / "many");
  std::ofstream(data / "bin" / "tool.exe", std::ios::binary)
      << PeImage({false, {{0x409, VersionInfoBytes({})}}});
  std::ofstream(data / "bin" / "\xc3\x84rger & Co #1.txt") << "blanks, an umlaut, & and #";
  // More items than one reply of the worker carries.
  for (int i = 0; i < 16000; ++i) {
    char name[48];
    std::snprintf(name, sizeof name, "an item with a longer name %05d.txt", i);
    std::ofstream(data / "many" / name) << i;
  }
  const std::string objects = "1\t0\t24\t1\treserved\treserved\tSMB\t\t\\\\127.0.0.1\r\n";
  // Name, size, extension, last write, directory flag, versions; per level.
  const std::string ini =
      "EnableLogging=1\n[Computers]\nPingEnable=0\n[Templates]\nFileTemplates=Scan;\n";
  const std::string scan =
      "[Scan]\nOutputFileName=files.txt\nOutputColumns=0,1,2,3,6,9,20,21\nPaths=%SHARE_NAME%\n"
      "GetNormalShares=1\nPathOptions=1\nFiles=*.exe|*.txt\n";

  ScratchDir local_dir;
  local_dir.Write("files.cfg", scan);
  platform::PosixFileSystem local;
  local.set_local_shares({{"\\\\127.0.0.1\\data", data.string()}});
  RecordedMessages local_messages;
  RunAgainstRealServers(local_dir, local_messages, objects,
                        "FileCfgFile=" + local_dir.File("files.cfg") + "\n" + ini,
                        *TestUserLogin().credentials, &local);

  ScratchDir smb_dir;
  smb_dir.Write("files.cfg", scan);
  RecordedMessages smb_messages;
  RunAgainstRealServers(smb_dir, smb_messages, objects,
                        "FileCfgFile=" + smb_dir.File("files.cfg") + "\n" + ini,
                        *TestUserLogin().credentials);

  const std::string rows = smb_dir.Read("files.txt");
  EXPECT_EQ(rows, local_dir.Read("files.txt"));
  EXPECT_NE(rows.find("\\\\127.0.0.1\\data\\bin\\tool.exe\t"), std::string::npos) << rows;
  EXPECT_NE(rows.find("\t1.2.3.4\t"), std::string::npos);
  // Files are written in the Windows code page.
  EXPECT_NE(rows.find("\\bin\\\xc4rger & Co #1.txt\t26\t"), std::string::npos);
  EXPECT_NE(rows.find("\\many\\an item with a longer name 15999.txt\t5\t"), std::string::npos);
  EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 1 + 3 + 16000);
  EXPECT_NE(smb_dir.Read("Export.log").find("FILES - Scan\tSUCCESS"), std::string::npos)
      << smb_dir.Read("Export.log");
  EXPECT_EQ(smb_messages.rows, "");
  std::filesystem::remove_all(data / "many");
  std::filesystem::remove(data / "bin" / "\xc3\x84rger & Co #1.txt");
}

TEST_F(FileTemplatesOfARealServer, AMissingShareOrPathOverSmbIsTheStatusAWindowsClientSees) {
  platform::samba::SambaTransport transport(TestUserLogin());
  platform::remote::RemoteFileSystem files(&transport, nullptr);
  EXPECT_EQ(files.FindFirstFile("\\\\127.0.0.1\\nope\\*").status, win::ERROR_BAD_NET_NAME);
  EXPECT_EQ(files.FindFirstFile("\\\\127.0.0.1\\data\\missing\\*").status,
            win::ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(files.FindFirstFile("\\\\127.0.0.1\\data\\*.none").status, win::ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(files.ReadFileRange("\\\\127.0.0.1\\data\\missing.exe", 0, 64).status,
            win::ERROR_FILE_NOT_FOUND);
  const platform::ReadRangeResult tail =
      files.ReadFileRange("\\\\127.0.0.1\\data\\readme.txt", 10, 4096);
  EXPECT_EQ(tail.status, win::ERROR_SUCCESS);
  EXPECT_EQ(std::string(tail.bytes.begin(), tail.bytes.end()), "the test smbd\n");
  EXPECT_EQ(files.FindFirstFile("\\\\127.0.0.2\\data\\*").status, win::ERROR_BAD_NETPATH);
}

// A name with a backslash from a server that does not mangle names: the
// client library refuses the whole listing of its folder (and drops the
// connection), so that folder is named as a failure and the walk goes on
// with the next. Blanks, a TAB or a line break in a name pass.
TEST_F(FileTemplatesOfARealServer, ANameTheClientLibraryRefusesFailsItsFolderOnly) {
  RecordedMessages messages;
  EXPECT_EQ(Scan("nomangle", "OutputColumns=0\nFiles=*.txt\n", messages),
            Row({"\\\\127.0.0.1\\nomangle\\good\\plain.txt"}) +
                Row({"\\\\127.0.0.1\\nomangle\\top.txt"}) +
                Row({"\\\\127.0.0.1\\nomangle\\zlast\\z.txt"}));
  const std::string failed = "Unable to list folder '\\\\127.0.0.1\\nomangle\\mixed'. " +
                             WindowsErrorText(win::ERROR_INVALID_NAME);
  EXPECT_NE(messages.rows.find(failed), std::string::npos) << messages.rows;
  EXPECT_NE(Log().find("FILES - Scan\tERROR\t" + failed), std::string::npos) << Log();
  EXPECT_NE(Log().find("FILES - Scan\tERROR\tFolders not listed completely: 1. "),
            std::string::npos);

  platform::samba::SambaTransport transport(TestUserLogin());
  platform::remote::RemoteFileSystem files(&transport, nullptr);
  platform::FindFirstResult first = files.FindFirstFile("\\\\127.0.0.1\\nomangle\\good\\*.dat");
  ASSERT_EQ(first.status, win::ERROR_SUCCESS);
  EXPECT_EQ(first.data.name, "new\nline.dat");
  EXPECT_EQ(files.FindNextFile(first.handle).data.name, "tab\tname.dat");
  files.FindClose(first.handle);
}

// Two links to "." and one to ".." make no endless walk: a folder that is
// one on the path from the root (by the file id the server gives) is listed
// as an item but not entered, and named once.
TEST_F(FileTemplatesOfARealServer, LinksBackUpAreListedButNotEntered) {
  RecordedMessages messages;
  EXPECT_EQ(Scan("loops", "OutputColumns=0,9\n", messages),
            Row({"\\\\127.0.0.1\\loops\\f.txt", "NO"}) +
                Row({"\\\\127.0.0.1\\loops\\self1", "YES"}) +
                Row({"\\\\127.0.0.1\\loops\\self2", "YES"}) +
                Row({"\\\\127.0.0.1\\loops\\sub\\g.txt", "NO"}) +
                Row({"\\\\127.0.0.1\\loops\\sub\\up", "YES"}) +
                Row({"\\\\127.0.0.1\\loops\\sub", "YES"}));
  for (const char* link : {"self1", "self2", "sub\\up"}) {
    const std::string named = "Not descending into folder '\\\\127.0.0.1\\loops\\" +
                              std::string(link) +
                              "': it leads back to '\\\\127.0.0.1\\loops', a folder above it.";
    EXPECT_NE(messages.rows.find(named), std::string::npos) << messages.rows;
  }
  EXPECT_NE(Log().find("FILES - Scan\tERROR\tFolders not listed completely: 3. "),
            std::string::npos);
}

// The test smbd's transport, but the server falls silent while the folder
// "b" of the share "quiet" is listed, and `trouble` (if any) befalls the
// worker or the run after 300 ms.
class SilentWhileListing final : public platform::remote::RpcTransport,
                                 public platform::remote::RemoteFileCalls {
 public:
  SilentWhileListing(const platform::SessionOptions& options, SambaServer& server,
                     std::function<void(pid_t worker)> trouble)
      : real_(options), server_(server), trouble_(std::move(trouble)) {}
  platform::remote::RemoteFileCalls* file_calls() override { return this; }
  platform::remote::RpcReply Call(std::string_view server,
                                  const platform::remote::RpcInterface& iface, std::uint16_t opnum,
                                  std::span<const std::uint8_t> request) override {
    return real_.Call(server, iface, opnum, request);
  }
  platform::DiskFreeSpaceResult DiskSpace(std::string_view server, std::string_view share,
                                          std::string_view directory) override {
    return real_.DiskSpace(server, share, directory);
  }
  platform::remote::RemoteListing ListDirectory(std::string_view server, std::string_view share,
                                                std::string_view directory) override {
    if (share != "quiet" || directory != "b") return real_.ListDirectory(server, share, directory);
    if (real_.worker() <= 0) real_.DiskSpace(server, share, "");  // a worker to act on
    const pid_t worker = real_.worker();
    server_.Freeze(true);
    std::thread trouble([this, worker] {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      if (trouble_ && worker > 0) trouble_(worker);
    });
    platform::remote::RemoteListing listing = real_.ListDirectory(server, share, directory);
    trouble.join();
    server_.Freeze(false);
    return listing;
  }
  platform::ReadRangeResult ReadRange(std::string_view server, std::string_view share,
                                      std::string_view path, std::uint64_t offset,
                                      std::size_t size) override {
    return real_.ReadRange(server, share, path, offset, size);
  }
  platform::remote::RemoteSecurityText Security(std::string_view server, std::string_view share,
                                                std::string_view path) override {
    return real_.Security(server, share, path);
  }

 private:
  platform::samba::SambaTransport real_;
  SambaServer& server_;
  std::function<void(pid_t worker)> trouble_;
};

// A server that falls silent, a worker that dies and a cancel while a folder
// is listed: the folder is named with the status, and what was listed
// before stays.
TEST_F(FileTemplatesOfARealServer, AFolderWhoseListingBreaksOffIsNamedAndTheRestIsKept) {
  std::unique_ptr<RunControl> control;
  struct Trouble {
    const char* name;
    std::function<void(pid_t)> befall;
    std::string status;  // the text after the folder
    bool cancelled;
  };
  const Trouble cases[] = {
      {"the server falls silent", {}, WindowsErrorText(win::ERROR_TIMEOUT), false},
      {"the worker dies", [](pid_t worker) { ::kill(worker, SIGKILL); }, "", false},
      {"the second Ctrl-C", [&control](pid_t) { control->RequestCancel(); },
       WindowsErrorText(win::ERROR_CANCELLED), true},
  };
  for (const Trouble& c : cases) {
    SCOPED_TRACE(c.name);
    control = std::make_unique<RunControl>();
    RunHooks hooks;
    hooks.control = control.get();
    hooks.transports = [&c](const platform::SessionOptions& options) {
      return std::make_unique<SilentWhileListing>(options, *server_, c.befall);
    };
    RecordedMessages messages;
    const std::string rows = Scan("quiet", "OutputColumns=0\n", messages, hooks);
    std::string kept = Row({"\\\\127.0.0.1\\quiet\\a\\a1.txt"}) + Row({"\\\\127.0.0.1\\quiet\\a"});
    if (!c.cancelled) {
      kept += Row({"\\\\127.0.0.1\\quiet\\b"}) + Row({"\\\\127.0.0.1\\quiet\\c\\c1.txt"}) +
              Row({"\\\\127.0.0.1\\quiet\\c"});
    }
    EXPECT_EQ(rows, kept);
    const std::string failed = "Unable to list folder '\\\\127.0.0.1\\quiet\\b'. " + c.status;
    EXPECT_NE(Log().find("FILES - Scan\tERROR\t" + failed), std::string::npos) << Log();
    EXPECT_NE(messages.rows.find(failed), std::string::npos) << messages.rows;
    EXPECT_NE(
        Log().find(c.cancelled ? "\tFolders not listed completely: 1. Export Aborted By User.\r\n"
                               : "\tFolders not listed completely: 1. \r\n"),
        std::string::npos)
        << Log();
  }
}

}  // namespace
}  // namespace tabulon::testing
