// Disk drives and network protocols exported end to end from small estates.
#include <gtest/gtest.h>

#include "exporters/server/drives/drives.h"
#include "exporters/server/protocols/protocols.h"
#include "support/e2e.h"

namespace tabulon::testing {
namespace {

constexpr std::string_view kEstate = R"({
  "computers": [
    {"name": "FS01", "default_shares": true,
     "disks": [
       {"drive": "C", "total_bytes": "500 GiB", "free_bytes": "125 GiB",
        "caller_free_bytes": "1 GiB", "label": "System", "serial": "0x1A2B3C4D"},
       {"drive": "D", "total_bytes": "200 MiB", "free_bytes": "50 MiB", "label": "Data",
        "serial": "0x9A3C19E2"},
       {"drive": "E", "removable": true, "ready": false},
       {"drive": "F", "total_bytes": "8 GiB", "free_bytes": "2 GiB", "file_system": "FAT32",
        "label": "USB", "serial": 1}
     ],
     "shares": [{"name": "D_DATA", "path": "D:\\Data"}],
     "transports": [
       {"name": "\\Device\\NetBT_Tcpip_{4D36E972}", "address": "00C04F123456", "vcs": 3},
       {"name": "\\Device\\NwlnkNb", "address": "000C29A1B2C", "wan": true,
        "quality_of_service": 7}
     ]},
    {"name": "NODISKS",
     "disks": [{"drive": "C", "total_bytes": 4096, "free_bytes": 1024},
               {"drive": "G", "total_bytes": 0, "label": "Empty"}],
     "shares": [{"name": "C$", "type": "SPECIAL", "path": "C:\\"},
                {"name": "G$", "type": "SPECIAL", "path": "G:\\"},
                {"name": "Z$", "type": "SPECIAL", "path": "Z:\\"}],
     "failures": {"NetServerDiskEnum": "ERROR_ACCESS_DENIED",
                  "NetWkstaTransportEnum": "RPC_S_SERVER_UNAVAILABLE"}},
    {"name": "LOCKED", "disks": [{"drive": "C", "total_bytes": 10, "free_bytes": 5}],
     "shares": [{"name": "C$", "type": "SPECIAL", "path": "C:\\"}],
     "failures": {"NetShareGetInfo": "ERROR_ACCESS_DENIED",
                  "GetVolumeInformation": "ERROR_ACCESS_DENIED"}}
  ]
})";

class DrivesProtocols : public ::testing::Test {
 protected:
  void SetUp() override {
    run_.SetEstate(kEstate);
    run_.SetObjects({{24, "FS01", "\\\\FS01"}});
  }
  EndToEnd run_;
};

TEST_F(DrivesProtocols, DriveLettersAndAListedShare) {
  run_.SetConfiguration(
      "[General]\nEnableLogging=1\n[Drives]\nExportDrives=1\nDrivesMask=%s$;D_DATA\n");
  run_.Run();
  // E: has no share and is skipped; FAT32 does not fit the name buffer.
  EXPECT_EQ(run_.Output("drives.txt"),
            "Object_Path\tDrive\tFormat\tTotal\tUsed\tFree\tPercentUsed\tPercentFree\tVolumeID\t"
            "Serial\tSpaceFormat\r\n"
            "\\\\FS01\tC\tNTFS\t536870912000\t402653184000\t134217728000\t75.00\t25.00\tSystem\t"
            "439041101\tbytes\r\n"
            "\\\\FS01\tD\tNTFS\t209715200\t157286400\t52428800\t75.00\t25.00\tData\t"
            "-1707337246\tbytes\r\n"
            "\\\\FS01\tF\t\t8589934592\t6442450944\t2147483648\t75.00\t25.00\t\t\tbytes\r\n"
            "\\\\FS01\tD_DATA\tNTFS\t209715200\t157286400\t52428800\t75.00\t25.00\tData\t"
            "-1707337246\tbytes\r\n");
  EXPECT_EQ(run_.Output("Export.log"), "3/5/2026 14:07:09\tFS01\tFS01\t\tDISKS\tSUCCESS\t\r\n");
  EXPECT_EQ(run_.ProgressLines()[1], "1|43|FS01|Exporting Disk Information...");
  EXPECT_EQ(run_.backend().call_log().Count("NetServerDiskEnum"), 1u);
  const auto& calls = run_.backend().call_log().Calls();
  std::vector<std::string> volume_paths;
  for (const auto& call : calls) {
    if (call.operation == "GetVolumeInformation") {
      volume_paths.push_back(call.host + " " + call.detail);
    }
  }
  EXPECT_EQ(volume_paths[0], "\\\\FS01\\C$\\ volume_name_size=30 file_system_name_size=5");
  EXPECT_EQ(volume_paths.back(), "\\\\FS01\\D_DATA\\ volume_name_size=30 file_system_name_size=5");
}

TEST_F(DrivesProtocols, SizeModes) {
  struct Case {
    int mode;
    const char* c_row;  // Total, Used, Free and SpaceFormat of C and D
    const char* d_row;
  };
  const Case cases[] = {
      {0, "500.00 GB\t375.00 GB\t125.00 GB\tMB/GB", "200.00 MB\t150.00 MB\t50.00 MB\tMB/GB"},
      {2, "512000.00\t384000.00\t128000.00\tMB", "200.00\t150.00\t50.00\tMB"},
      {3, "500.00\t375.00\t125.00\tGB", "0.20\t0.15\t0.05\tGB"},
      {4, "524288000.00\t393216000.00\t131072000.00\t", "204800.00\t153600.00\t51200.00\t"},
      {9, "\t\t\t", "\t\t\t"},
  };
  for (const Case& c : cases) {
    run_.SetConfiguration(
        "[Drives]\nExportDrives=1\nDrivesMask=C$;D$\nDrivesColumns=0,2,3,4,9\nDrivesFormat=" +
        std::to_string(c.mode) + "\n");
    run_.Run();
    EXPECT_EQ(run_.Output("drives.txt"), std::string("Drive\tTotal\tUsed\tFree\tSpaceFormat\r\n") +
                                             "C$\t" + c.c_row + "\r\nD$\t" + c.d_row + "\r\n")
        << "mode " << c.mode;
  }
}

TEST_F(DrivesProtocols, PatternWithoutLetterNeedsNoDriveList) {
  run_.SetConfiguration(
      "[Drives]\nExportDrives=1\nDrivesMask=C$\nDrivesColumns=0,1,2\nDrivesFormat=0\n");
  run_.Run();
  EXPECT_EQ(run_.Output("drives.txt"), "Drive\tFormat\tTotal\r\nC$\tNTFS\t500.00 GB\r\n");
  EXPECT_EQ(run_.backend().call_log().Count("NetServerDiskEnum"), 0u);
}

TEST_F(DrivesProtocols, RefusedDiskListProbesEveryLetter) {
  run_.SetObjects({{24, "NODISKS", "\\\\NODISKS"}});
  run_.SetConfiguration(
      "[General]\nEnableLogging=1\n[Drives]\nExportDrives=1\nDrivesColumns=0,1,5,6,7\n");
  run_.Run();
  // Z$ points at a drive the computer lacks and G: reports no size.
  EXPECT_EQ(run_.Output("drives.txt"),
            "Drive\tFormat\tPercentUsed\tPercentFree\tVolumeID\r\n"
            "C\tNTFS\t75.00\t25.00\t\r\n"
            "G\tNTFS\t\t\tEmpty\r\n");
  EXPECT_EQ(run_.backend().call_log().Count("NetShareGetInfo"), 26u);
  EXPECT_EQ(run_.backend().call_log().Count("GetDiskFreeSpaceEx"), 3u);
  EXPECT_EQ(run_.Output("Export.log"),
            "3/5/2026 14:07:09\tNODISKS\tNODISKS\t\tDISKS\tSUCCESS\t\r\n");
}

TEST_F(DrivesProtocols, OnlyAMissingShareSkipsADrive) {
  run_.SetObjects({{24, "LOCKED", "\\\\LOCKED"}});
  run_.SetConfiguration("[Drives]\nExportDrives=1\nDrivesColumns=0,1,2,8\n");
  run_.Run();
  EXPECT_EQ(run_.Output("drives.txt"), "Drive\tFormat\tTotal\tSerial\r\nC\t\t10\t\r\n");
}

TEST(DrivePatterns, CutAtSemicolons) {
  EXPECT_EQ(DrivePatterns(""), (std::vector<std::string>{"%s$"}));
  EXPECT_EQ(DrivePatterns("C$"), (std::vector<std::string>{"C$"}));
  EXPECT_EQ(DrivePatterns("%s$;D_DATA"), (std::vector<std::string>{"%s$", "D_DATA"}));
  EXPECT_EQ(DrivePatterns("%s$;"), (std::vector<std::string>{"%s$"}));
  EXPECT_EQ(DrivePatterns("A;;B"), (std::vector<std::string>{"A", "", "B"}));
}

TEST_F(DrivesProtocols, ProtocolsWithTheirAddresses) {
  run_.SetObjects({{24, "FS01", "\\\\FS01"}, {24, "NODISKS", "\\\\NODISKS"}});
  run_.SetConfiguration("[General]\nEnableLogging=1\n[Network]\nExportProtocols=1\n");
  run_.Run();
  EXPECT_EQ(run_.Output("protocols.txt"),
            "Object_Path\tProtocolName\tProtocolAddress\tProtocolVCs\tProtocolWAN\tProtocolQOS\r\n"
            "\\\\FS01\t\\Device\\NetBT_Tcpip_{4D36E972}\t00-C0-4F-12-34-56\t3\tNO\t0\r\n"
            "\\\\FS01\t\\Device\\NwlnkNb\t00-0C-29-A1-B2-C\t0\tYES\t7\r\n");
  EXPECT_EQ(run_.Output("Export.log"),
            "3/5/2026 14:07:09\tFS01\tFS01\t\tPROTOCOLS\tSUCCESS\t\r\n"
            "3/5/2026 14:07:09\tNODISKS\tNODISKS\t\tPROTOCOLS\tERROR\tThe RPC server is not "
            "available.\r\n");
  EXPECT_EQ(run_.ProgressLines()[3],
            "1|88|NODISKS|Exporting Network Protocol/MAC information...The RPC server is not "
            "available.");
}

TEST(MacAddress, PairsJoinedByDashes) {
  EXPECT_EQ(FormatMacAddress("000C29A1B2C3"), "00-0C-29-A1-B2-C3");
  EXPECT_EQ(FormatMacAddress("ABC"), "AB-C");
  EXPECT_EQ(FormatMacAddress("A"), "A");
  EXPECT_EQ(FormatMacAddress(""), "");
}

}  // namespace
}  // namespace tabulon::testing
