// File/directory templates against the test smbd: the computer and its
// share list come from the server over RPC; the files either from a local
// folder standing for a share or from the server itself over SMB, and both
// give the same rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/posix/file_system.h"
#include "platform/remote/remote_file_system.h"
#include "platform/samba/samba_transport.h"
#include "samba/remote_run.h"
#include "support/pe_image.h"
#include "support/samba_server.h"

namespace tabulon::testing {
namespace {

class FileTemplatesOfARealServer : public SambaServerSuite {};

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
                        TestUserLogin().credentials, &local);

  ScratchDir smb_dir;
  smb_dir.Write("files.cfg", scan);
  RecordedMessages smb_messages;
  RunAgainstRealServers(smb_dir, smb_messages, objects,
                        "FileCfgFile=" + smb_dir.File("files.cfg") + "\n" + ini,
                        TestUserLogin().credentials);

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

}  // namespace
}  // namespace tabulon::testing
