// The security access export end to end: services, shares with their
// folders, printers, and registry keys and files handed to the sink by a
// unit of the test, with owners, deny entries, deleted and unknown
// accounts, damaged descriptors, failing queries and the trustee filter.
#include <gtest/gtest.h>

#include "exporters/security/security_access.h"
#include "exporters/toolkit/security.h"
#include "exporters/toolkit/simple_unit.h"
#include "support/e2e.h"

namespace tabulon::testing {
namespace {

constexpr std::string_view kEstate = R"json({
  "domains": [{"name": "CORP", "sid": "S-1-5-21-1-2-3", "controller": "DC1",
               "accounts": [{"name": "ann", "rid": 1105},
                            {"name": "gone", "rid": 1107, "use": "DeletedAccount"},
                            {"name": "Domain Admins", "rid": 512, "use": "Group"},
                            {"name": "Domain Users", "rid": 513, "use": "Group"}]}],
  "computers": [
    {"name": "DC1", "domain": "CORP"},
    {"name": "FS01", "domain": "CORP",
     "services": [
       {"name": "Spooler",
        "security": "O:DAG:SYD:(A;;CCLCSWRPWPDTLOCRRC;;;SY)(D;;RPWP;;;DU)(A;;GA;;;BA)(A;;CC;;;S-1-5-21-1-2-3-1107)(A;;0xF01FF;;;S-1-5-21-7-7-7-1001)"},
       {"name": "Locked", "failures": {"GetNamedSecurityInfo": "ERROR_ACCESS_DENIED"}},
       {"name": "Torn", "security": {"hex": "0100 0480 1400 0000"}},
       {"name": "Bare", "security": "O:BAD:"},
       {"name": "Patchy",
        "security": {"hex": "01000480 00000000 00000000 00000000 14000000 02003000 02000000 09001400 10000000 01010000 00000001 00000000 00001400 10000000 01010000 00000001 00000000"}}],
     "disks": [{"drive": "C"}],
     "shares": [
       {"name": "C$", "type": "SPECIAL", "path": "C:\\"},
       {"name": "Data", "path": "C:\\Data",
        "security": "D:(A;;0x1200a9;;;WD)(A;;0x1301bf;;;DU)(D;;GA;;;BG)(A;;0x10000000;;;BA)(A;;WD;;;S-1-5-21-1-2-3-1105)"},
       {"name": "Open$", "path": "C:\\Open", "security": "D:NO_ACCESS_CONTROL"},
       {"name": "Laser", "type": "PRINTQ", "path": "LPT1:"},
       {"name": "IPC$", "type": ["SPECIAL", "IPC"]}],
     "object_security": [
       {"file": "C:\\Data", "security": "O:DAD:AI(A;OICIID;0x1301bf;;;DU)(A;CIIO;FA;;;CO)(A;;0x1200a9;;;S-1-5-21-1-2-3-1105)"},
       {"file": "C:\\Data\\plan.txt", "security": "O:S-1-5-21-1-2-3-1105D:(A;;0x1200a9;;;DU)(A;;0x1f0000;;;S-1-5-21-1-2-3-1105)(A;;0x2;;;WD)"},
       {"registry": "MACHINE\\SOFTWARE\\Vendor",
        "security": "D:(A;CI;KR;;;DU)(A;;0x1;;;AU)(A;;GR;;;WD)(A;;KA;;;BA)"}],
     "printers": [
       {"name": "Laser", "security": "O:SYD:(A;OIIO;GA;;;CO)(A;;SWRC;;;WD)(A;;LCSWSDRCWDWO;;;BA)(A;;0xF000C;;;DA)"}]}
  ]
})json";

constexpr std::string_view kTitle =
    "Object_Path\tSecurityObject\tSecurityObjectPath\tSecurityObjectType\tSecurityTrustee\t"
    "SecurityAccess\tSecurityAccessFlags\tSecurityAccessType\tSecurityAccessSummary\t"
    "SecurityAccessSummaryFlags\r\n";

class SecurityAccess : public ::testing::Test {
 protected:
  void SetUp() override {
    run_.SetEstate(kEstate);
    run_.SetObjects({{24, "FS01", "FS01"}});
  }
  std::string Run(std::string_view settings) {
    run_.SetConfiguration("[Security]\nExportSecurity=1\n" + std::string(settings));
    run_.Run();
    return run_.Output("security.txt");
  }
  EndToEnd run_;
};

// Rows of the objects the registry and file exporters meet, handed to the
// sink the way those exporters do.
void HandOverKeysAndFiles(ExportContext& context, const tagCObjects& target) {
  const SecurityObject objects[] = {
      {SecurityObjectKind::kRegistryKey, "SOFTWARE\\Vendor", "FS01\\MACHINE\\SOFTWARE\\Vendor"},
      {SecurityObjectKind::kFile, "plan.txt", "\\\\FS01\\C$\\Data\\plan.txt"},
      {SecurityObjectKind::kDirectory, "Old", "\\\\FS01\\D$\\Old"},
  };
  for (const SecurityObject& object : objects) {
    if (WantsSecurity(context, object.kind)) HandToSecurityAccess(context, target, object);
  }
}

TEST_F(SecurityAccess, ServicesWithOwnersDeniesAndDamagedDescriptors) {
  EXPECT_EQ(
      Run("ExportServiceSecurity=1\nExportOwnerSecurity=1\n"),
      std::string(kTitle) +
          "FS01\tSpooler\t\\\\FS01\\Spooler\tSERVICE\tCORP\\Domain Admins\tOWNER\t\tOWNER\t\t\r\n"
          "FS01\tSpooler\t\\\\FS01\\Spooler\tSERVICE\tNT "
          "AUTHORITY\\SYSTEM\tQUERY_CONFIG^QUERY_STATUS^"
          "ENUM_DEPENDS^START^STOP^PAUSE_CONTINUE^INTERROGATE^USER_DEFINED\t\tALLOW\t\t\r\n"
          "FS01\tSpooler\t\\\\FS01\\Spooler\tSERVICE\tCORP\\Domain "
          "Users\tSTART^STOP\t\tDENY\t\t\r\n"
          "FS01\tSpooler\t\\\\FS01\\Spooler\tSERVICE\tSID_ERROR\tFULL_CONTROL\t\tALLOW\t\t\r\n"
          "FS01\tLocked\tFS01\\Locked\tSERVICE\t\tERROR\t\t\t\t\r\n"
          "FS01\tTorn\tFS01\\Torn\tSERVICE\t\tERROR\t\t\t\t\r\n"
          "FS01\tBare\t\\\\FS01\\Bare\tSERVICE\tBUILTIN\\Administrators\tOWNER\t\tOWNER\t\t\r\n"
          "FS01\tBare\tFS01\\Bare\tSERVICE\t\tNO_ACL\t\t\t\t\r\n"
          "FS01\tPatchy\t\\\\FS01\\Patchy\tSERVICE\t\tNO_OWNER\t\tOWNER\t\t\r\n"
          "FS01\tPatchy\t\\\\FS01\\Patchy\tSERVICE\t\tACE_ERROR\t\t\t\t\r\n"
          "FS01\tPatchy\t\\\\FS01\\Patchy\tSERVICE\tEveryone\tSTART\t\tALLOW\t\t\r\n");
}

TEST_F(SecurityAccess, SharesAndTheirFolders) {
  const std::string inherited = "\tCONTAINER_INHERIT^INHERITED^OBJECT_INHERIT\tALLOW\t";
  const std::string read_list = "READ_ATTRIB^READ_DATA^READ_EA^READ_PERM^SYNC^LIST^TRAVERSE";
  const auto defaults = [&](const std::string& start) {
    return start + "\tNT AUTHORITY\\SYSTEM\tFULL_CONTROL" + inherited + "FULL_CONTROL\tRWXDPO\r\n" +
           start + "\tBUILTIN\\Administrators\tFULL_CONTROL" + inherited +
           "FULL_CONTROL\tRWXDPO\r\n" + start + "\tBUILTIN\\Users\t" + read_list + inherited +
           "READ\tRX\r\n";
  };
  EXPECT_EQ(
      Run("ExportShareSecurity=1\n"),
      std::string(kTitle) + "FS01\tC$\tFS01\\C$\tSHARE\t\tNO_SD_ADMIN_ONLY\t\t\t\t\r\n" +
          defaults("FS01\tC$\t\\\\FS01\\C$\\\tDIRECTORY") +
          "FS01\tData\t\\\\FS01\\Data\tSHARE\tEveryone\tREAD\t\tALLOW\t\t\r\n"
          "FS01\tData\t\\\\FS01\\Data\tSHARE\tCORP\\Domain Users\tCHANGE\t\tALLOW\t\t\r\n"
          "FS01\tData\t\\\\FS01\\Data\tSHARE\tBUILTIN\\Guests\tNONE\t\tDENY\t\t\r\n"
          "FS01\tData\t\\\\FS01\\Data\tSHARE\tBUILTIN\\Administrators\tFULL_"
          "CONTROL\t\tALLOW\t\t\r\n"
          "FS01\tData\t\\\\FS01\\Data\tSHARE\tCORP\\ann\tFULL_CONTROL\t\tALLOW\t\t\r\n"
          "FS01\tData\t\\\\FS01\\C$\\Data\tDIRECTORY\tCORP\\Domain Users\tREAD_ATTRIB^READ_DATA^"
          "READ_EA^WRITE_ATTRIB^WRITE_EA^READ_PERM^SYNC^DELETE^ADD_SUBDIR^LIST^TRAVERSE^ADD_FILE" +
          inherited +
          "CHANGE\tRWXD\r\n"
          "FS01\tData\t\\\\FS01\\C$\\Data\tDIRECTORY\tCREATOR OWNER\tFULL_CONTROL\t"
          "CONTAINER_INHERIT^INHERIT_ONLY\tALLOW\tFULL_CONTROL\tRWXDPO\r\n"
          "FS01\tData\t\\\\FS01\\C$\\Data\tDIRECTORY\tCORP\\ann\t" +
          read_list +
          "\t\tALLOW\tREAD\tRX\r\n"
          "FS01\tOpen$\tFS01\\Open$\tSHARE\t\tNO_ACL\t\t\t\t\r\n" +
          defaults("FS01\tOpen$\t\\\\FS01\\C$\\Open\tDIRECTORY") +
          "FS01\tLaser\t\\\\FS01\\Laser\tSHARE\tEveryone\tREAD\t\tALLOW\t\t\r\n");
}

TEST_F(SecurityAccess, PrintersSkipEntriesWithoutANamedRight) {
  const std::string start = "FS01\t\\\\FS01\\Laser\t\\\\FS01\\Laser\tPRINTER\t";
  EXPECT_EQ(Run("ExportPrinterSecurity=1\n"),
            std::string(kTitle) + start + "Everyone\tPRINT\t\tALLOW\t\t\r\n" + start +
                "BUILTIN\\Administrators\tFULL_CONTROL\t\tALLOW\t\t\r\n" + start +
                "CORP\\Domain Admins\tFULL_CONTROL\t\tALLOW\t\t\r\n");
}

// Status rows pass the filter; owner and entry rows need a matching trustee.
TEST_F(SecurityAccess, TrusteeFilter) {
  run_.dir().Write("trustees.txt", "*\\Administrators\n");
  EXPECT_EQ(
      Run("ExportServiceSecurity=1\nExportOwnerSecurity=1\nExportSpecificTrustees=1\n"
          "SpecificFileName=" +
          run_.dir().File("trustees.txt") + "\n"),
      std::string(kTitle) +
          "FS01\tLocked\tFS01\\Locked\tSERVICE\t\tERROR\t\t\t\t\r\n"
          "FS01\tTorn\tFS01\\Torn\tSERVICE\t\tERROR\t\t\t\t\r\n"
          "FS01\tBare\t\\\\FS01\\Bare\tSERVICE\tBUILTIN\\Administrators\tOWNER\t\tOWNER\t\t\r\n"
          "FS01\tBare\tFS01\\Bare\tSERVICE\t\tNO_ACL\t\t\t\t\r\n");
}

TEST(SecurityAccessSink, RegistryKeysFilesAndDirectories) {
  static const ExporterUnit kUnits[] = {
      SecurityAccessUnit(),
      {.name = "keys and files",
       .types = {},
       .start = StartEnabledTypeRun<kSecurity, HandOverKeysAndFiles>}};
  EndToEnd run(kUnits);
  run.SetEstate(kEstate);
  run.SetObjects({{24, "FS01", "FS01"}});
  run.SetConfiguration(
      "[Templates]\nFileTemplates=Executables\n[Security]\nExportSecurity=1\n"
      "ExportRegistrySecurity=1\nExportFileSecurity=1\nExportOwnerSecurity=1\n");
  run.Run();
  const std::string key = "FS01\tSOFTWARE\\Vendor\t\\\\FS01\\MACHINE\\SOFTWARE\\Vendor\tREGISTRY\t";
  const std::string file = "FS01\tplan.txt\t\\\\FS01\\C$\\Data\\plan.txt\tFILE\t";
  EXPECT_EQ(
      run.Output("security.txt"),
      std::string(kTitle) + key + "\tNO_OWNER\t\tOWNER\t\t\r\n" + key +
          "CORP\\Domain Users\tQUERY_VALUE^ENUM_KEYS^NOTIFY^READ\t\tALLOW\t\t\r\n" + key +
          "NT AUTHORITY\\Authenticated Users\tQUERY_VALUE^READ\t\tALLOW\t\t\r\n" + key +
          "BUILTIN\\Administrators\tFULL_CONTROL\t\tALLOW\t\t\r\n" + file +
          "CORP\\ann\tOWNER\t\tOWNER\t\t\r\n" + file +
          "CORP\\Domain Users\tREAD_ATTRIB^READ_DATA^READ_EA^READ_PERM^SYNC^EXECUTE\t\tALLOW\t"
          "READ\tRX\r\n" +
          file +
          "CORP\\ann\tREAD_PERM^SYNC^WRITE_OWNER^WRITE_PERM^DELETE\t\tALLOW\tFULL_CONTROL\t"
          "RWXDPO\r\n" +
          file + "Everyone\tWRITE_DATA\t\tALLOW\tSPECIAL\tW\r\n" +
          "FS01\tOld\t\\\\FS01\\D$\\Old\tDIRECTORY\t\tERROR\t\t\t\t\r\n");
}

}  // namespace
}  // namespace tabulon::testing
