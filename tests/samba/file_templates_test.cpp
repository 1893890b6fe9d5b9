// A file/directory template against the test smbd: the computer and its
// share list come from the server over RPC, the files of the share that
// stands for a local folder from that folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/posix/file_system.h"
#include "samba/remote_run.h"
#include "support/pe_image.h"
#include "support/samba_server.h"

namespace tabulon::testing {
namespace {

class LocalShareFileTemplates : public SambaServerSuite {};

TEST_F(LocalShareFileTemplates, ShareListFromTheServerFilesFromTheFolder) {
  const std::filesystem::path data = server_->folder() + "/data";
  std::filesystem::create_directories(data / "bin");
  const std::string tool = PeImage({false, {{0x409, VersionInfoBytes({})}}});
  std::ofstream(data / "bin" / "tool.exe", std::ios::binary) << tool;
  platform::PosixFileSystem local;
  local.set_local_shares({{"\\\\127.0.0.1\\data", data.string()}});
  ScratchDir dir;
  dir.Write("files.cfg",
            "[Scan]\nOutputFileName=files.txt\nOutputColumns=0,1,20,26\nPaths=%SHARE_NAME%\n"
            "GetNormalShares=1\nPathOptions=1\nFiles=*.exe|*.txt\n");
  RecordedMessages messages;
  RunAgainstRealServers(dir, messages, "1\t0\t24\t1\treserved\treserved\tSMB\t\t\\\\127.0.0.1\r\n",
                        "EnableLogging=1\nFileCfgFile=" + dir.File("files.cfg") +
                            "\n[Computers]\nPingEnable=0\n[Templates]\nFileTemplates=Scan;\n",
                        TestUserLogin().credentials, &local);
  // "drop" is listed too, but no folder stands for it.
  EXPECT_EQ(dir.Read("files.txt"),
            "FilePath\tFileSizeBytes\tFileVersion\tProductName\r\n"
            "\\\\127.0.0.1\\data\\bin\\tool.exe\t" +
                std::to_string(tool.size()) +
                "\t1.2.3.4\tLedger\r\n"
                "\\\\127.0.0.1\\data\\readme.txt\t" +
                std::to_string(std::filesystem::file_size(data / "readme.txt")) + "\t\t\r\n");
  EXPECT_NE(dir.Read("Export.log").find("FILES - Scan\tSUCCESS"), std::string::npos)
      << dir.Read("Export.log");
  EXPECT_EQ(messages.rows, "");
}

}  // namespace
}  // namespace tabulon::testing
