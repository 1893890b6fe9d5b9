// The security access export against the test smbd: the descriptors of its
// services, shares and their folders, printers, registry keys and files,
// each asked of the interface that serves it, with the names of their
// trustees looked up on the server.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "samba/print_server.h"
#include "samba/remote_run.h"
#include "support/samba_server.h"
#include "support/server_required.h"

namespace tabulon::testing {
namespace {

class RemoteSecurityAccess : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const std::string& why_not = IsolateNetwork(); !why_not.empty())
      SKIP_WITHOUT_SERVER(why_not);
    std::string why_not;
    SambaServerSetup setup = PrintServerSetup(printers_.path());
    // The drive the share folders are on, as a Windows server has it.
    setup.shares += "\n[C$]\n  path = /\n  read only = yes\n";
    server_ = SambaServer::Start(why_not, setup);
    if (!server_) SKIP_WITHOUT_SERVER(why_not);
    ASSERT_EQ(server_->MakeTestUserAdministrator(), "");
    ASSERT_EQ(RpcclientPrinterNames(*server_, 2).size(), 2u);
  }

  // The rows of one object, the server's folder written as <folder>.
  std::string RowsOf(const std::string& file, const std::string& object) const {
    std::string folder = server_->folder();
    std::replace(folder.begin(), folder.end(), '/', '\\');
    std::istringstream lines(file);
    std::string rows;
    for (std::string line; std::getline(lines, line);) {
      const std::size_t tab = line.find('\t');
      if (line.compare(tab + 1, object.size() + 1, object + "\t") != 0) continue;
      for (std::size_t at = line.find(folder); at != std::string::npos; at = line.find(folder)) {
        line.replace(at, folder.size(), "<folder>");
      }
      rows += line + "\n";
    }
    return rows;
  }

  ScratchDir printers_;
  ScratchDir dir_;
  RecordedMessages messages_;
  std::unique_ptr<SambaServer> server_;
};

TEST_F(RemoteSecurityAccess, EveryKindOfObjectFromTheInterfaceThatServesIt) {
  const std::string conf = " -s " + server_->configuration();
  ASSERT_EQ(CommandOutput("net registry createkey 'HKLM\\SOFTWARE\\Vendor'" + conf),
            "createkey created HKLM\\SOFTWARE\\Vendor\n");
  dir_.Write("reg.cfg",
             "[Vendor]\nOutputFileName=reg.txt\nOutputKeys=HKLM\\SOFTWARE\\Vendor\n"
             "OutputColumns=%KEY_PATH%\n");
  dir_.Write("files.cfg",
             "[Scan]\nOutputFileName=files.txt\nOutputColumns=0\nPaths=%SHARE_NAME%\n"
             "GetNormalShares=1\nFiles=*.txt\n");
  RunAgainstTestServer(
      dir_,
      "EnableLogging=1\nRegistryCfgFile=" + dir_.File("reg.cfg") +
          "\nFileCfgFile=" + dir_.File("files.cfg") +
          "\n[Computers]\nPingEnable=0\n[Templates]\nRegistryTemplates=Vendor;\n"
          "FileTemplates=Scan;\n[Security]\nExportSecurity=1\nExportServiceSecurity=1\n"
          "ExportShareSecurity=1\nExportPrinterSecurity=1\nExportRegistrySecurity=1\n"
          "ExportFileSecurity=1\nExportOwnerSecurity=1\n",
      messages_);
  EXPECT_EQ(messages_.rows, "");
  const std::string file = dir_.Read("security.txt");
  const std::string server = "\\\\127.0.0.1\t";
  // svcctl: Samba's services have no owner.
  const std::string spooler = server + "Spooler\t\\\\127.0.0.1\\Spooler\tSERVICE\t";
  EXPECT_EQ(RowsOf(file, "Spooler"),
            spooler + "\tNO_OWNER\t\tOWNER\t\t\r\n" + spooler +
                "Everyone\tQUERY_CONFIG^QUERY_STATUS^ENUM_DEPENDS^INTERROGATE^USER_DEFINED\t\t"
                "ALLOW\t\t\r\n" +
                spooler +
                "BUILTIN\\Power Users\tQUERY_CONFIG^QUERY_STATUS^ENUM_DEPENDS^START^STOP^PAUSE_"
                "CONTINUE^INTERROGATE^USER_DEFINED\t\tALLOW\t\t\r\n" +
                spooler + "BUILTIN\\Server Operators\tFULL_CONTROL\t\tALLOW\t\t\r\n" + spooler +
                "BUILTIN\\Administrators\tFULL_CONTROL\t\tALLOW\t\t\r\n");
  // winreg.
  const std::string key =
      server + "SOFTWARE\\Vendor\t\\\\127.0.0.1\\MACHINE\\SOFTWARE\\Vendor\tREGISTRY\t";
  EXPECT_EQ(RowsOf(file, "SOFTWARE\\Vendor"),
            key + "BUILTIN\\Administrators\tOWNER\t\tOWNER\t\t\r\n" + key +
                "Everyone\tQUERY_VALUE^ENUM_KEYS^NOTIFY^READ\t\tALLOW\t\t\r\n" + key +
                "BUILTIN\\Administrators\tFULL_CONTROL\t\tALLOW\t\t\r\n" + key +
                "NT Authority\\SYSTEM\tFULL_CONTROL\t\tALLOW\t\t\r\n");
  // SMB: the descriptor Samba makes of the file's Unix owner, group and mode
  // (0644), as smbcacls shows it: 0x12019f, 0x120089 and 0x120089.
  const std::string readme = server + "readme.txt\t\\\\127.0.0.1\\data\\readme.txt\tFILE\t";
  const std::string read = "READ_ATTRIB^READ_DATA^READ_EA^READ_PERM^SYNC";
  EXPECT_EQ(RowsOf(file, "readme.txt"),
            readme + "Unix User\\root\tOWNER\t\tOWNER\t\t\r\n" + readme +
                "Unix User\\root\tREAD_ATTRIB^READ_DATA^READ_EA^WRITE_ATTRIB^WRITE_EA^READ_PERM^"
                "SYNC^APPEND^WRITE_DATA\t\tALLOW\tSPECIAL\tRW\r\n" +
                readme + "Unix Group\\root\t" + read + "\t\tALLOW\tSPECIAL\tR\r\n" + readme +
                "Everyone\t" + read + "\t\tALLOW\tSPECIAL\tR\r\n");
  // srvsvc: a Samba server gives its shares no descriptor; the folder's
  // comes over SMB through the drive's administrative share.
  const std::string folder = server + "data\t\\\\127.0.0.1\\C$<folder>\\data\tDIRECTORY\t";
  EXPECT_EQ(RowsOf(file, "data"),
            server + "data\t\\\\127.0.0.1\\data\tSHARE\t\tNO_SD\t\t\t\t\r\n" + folder +
                "Unix User\\root\tOWNER\t\tOWNER\t\t\r\n" + folder +
                "Unix User\\root\tFULL_CONTROL\t\tALLOW\tFULL_CONTROL\tRWXDPO\r\n" + folder +
                "Unix Group\\root\t" + read + "^LIST^TRAVERSE\t\tALLOW\tREAD\tRX\r\n" + folder +
                "Everyone\t" + read + "^LIST^TRAVERSE\t\tALLOW\tREAD\tRX\r\n");
  // spoolss: the printer's and its documents' entries, which name the same
  // rights once the document bits are left out.
  const std::string laser = server + "\\\\127.0.0.1\\laser\t\\\\127.0.0.1\\laser\tPRINTER\t";
  const std::string admin = "PRINT^ADMIN_PRINTER^WRITE_DAC^WRITE_OWNER\t\tALLOW\t\t\r\n";
  EXPECT_EQ(RowsOf(file, "\\\\127.0.0.1\\laser"),
            laser + "BUILTIN\\Administrators\tOWNER\t\tOWNER\t\t\r\n" + laser +
                "Everyone\tPRINT\t\tALLOW\t\t\r\n" + laser + "BUILTIN\\Administrators\t" + admin +
                laser + "BUILTIN\\Administrators\t" + admin + laser + "BUILTIN\\Print Operators\t" +
                admin + laser + "BUILTIN\\Print Operators\t" + admin);
  const std::string log = dir_.Read("Export.log");
  for (const char* line : {"SERVICES\tSUCCESS", "REGISTRY - Vendor\tSUCCESS",
                           "FILES - Scan\tSUCCESS", "SHARES\tSUCCESS", "PRINTER\tSUCCESS"}) {
    EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
  }
  EXPECT_EQ(dir_.Read("reg.txt"), "Registry_Key_Path\r\nSOFTWARE\\Vendor\r\n");
}

}  // namespace
}  // namespace tabulon::testing
