// Printers exported end to end: the printers of computers and single
// printer targets, the attribute and status names, and the failures.
#include <gtest/gtest.h>

#include "exporters/server/printers/printers.h"
#include "support/e2e.h"

namespace tabulon::testing {
namespace {

constexpr std::string_view kEstate = R"json({
  "computers": [
    {"name": "PS01", "server": {"type": ["WORKSTATION", "SERVER", "PRINTQ", "NT"]},
     "printers": [
       {"name": "Laser", "share_name": "Laser", "port": "IP_192.0.2.50",
        "driver": "Universal Laser", "comment": "Second floor\r\nnear the lifts",
        "location": "HQ/2F", "separator_file": "C:\\Windows\\System32\\pcl.sep",
        "attributes": ["DEFAULT", "SHARED", "LOCAL"], "jobs": 2, "average_ppm": 20},
       {"name": "Plotter", "share_name": "Plot", "port": "LPT1:", "driver": "Plotter Driver",
        "datatype": "NT EMF 1.008", "parameters": "-fast",
        "attributes": "0x3FFF", "status": "0x81", "priority": 99, "default_priority": 5,
        "average_ppm": 4294967295},
       {"name": "Jammed", "port": "USB001", "driver": "Inkjet",
        "attributes": ["QUEUED", "LOCAL"], "status": ["PAPER_JAM", "ERROR", "TONER_LOW"]}
     ]},
    {"name": "EMPTY"},
    {"name": "REFUSE", "printers": [{"name": "Hidden"}],
     "failures": {"EnumPrinters": "ERROR_ACCESS_DENIED"}},
    {"name": "SERVER1", "printers": [{"name": "Label", "driver": "Label Writer"}]}
  ]
})json";

const std::string kTitle =
    "Object_Path\tPrinterServer\tPrinterName\tShareName\tPortName\tDriverName\tComment\t"
    "Location\tSeparatorFile\tProcessor\tDataType\tParameters\tAttributes\tPriority\t"
    "JobPriority\tStatus\tJobs\tAveragePPM\r\n";

const std::string kLaserRow =
    "\\\\PS01\\Laser\tLaser\tIP_192.0.2.50\tUniversal Laser\tSecond floor~~near the lifts\t"
    "HQ/2F\tC:\\Windows\\System32\\pcl.sep\twinprint\tRAW\t\tDEFAULT^SHARED^LOCAL\t1\t0\t\t2\t"
    "20\r\n";

class Printers : public ::testing::Test {
 protected:
  void SetUp() override { run_.SetEstate(kEstate); }
  EndToEnd run_;
};

TEST_F(Printers, PrintersOfComputersByteForByte) {
  run_.SetObjects({{24, "PS01", "\\\\PS01"},
                   {24, "EMPTY", "\\\\EMPTY"},
                   {24, "REFUSE", "\\\\REFUSE"},
                   {24, "SERVER1", "SERVER1"}});
  run_.SetConfiguration("[General]\nEnableLogging=1\n[Printers]\nExportPrinters=1\n");
  run_.Run();
  EXPECT_EQ(
      run_.Output("printers.txt"),
      kTitle + "\\\\PS01\t\\\\PS01\t" + kLaserRow +
          "\\\\PS01\t\\\\PS01\t\\\\PS01\\Plotter\tPlot\tLPT1:\tPlotter Driver\t\t\t\twinprint\t"
          "NT EMF 1.008\t-fast\tDEFAULT^DIRECT^DO_COMPLETE_FIRST^ENABLE_BIDI^ENABLE_DEVQ^"
          "KEEP_PRINTED_JOBS^QUEUED^SHARED^WORK_OFFLINE^PUBLISHED^NETWORK^HIDDEN^LOCAL^RAW_ONLY\t"
          "99\t5\tOFFLINE^PAUSED\t0\t-1\r\n"
          "\\\\PS01\t\\\\PS01\t\\\\PS01\\Jammed\t\tUSB001\tInkjet\t\t\t\twinprint\tRAW\t\t"
          "QUEUED^LOCAL\t1\t0\tERROR^PAPER_JAM^TONER_LOW\t0\t0\r\n"
          "SERVER1\t\\\\SERVER1\t\\\\SERVER1\\Label\t\t\tLabel Writer\t\t\t\twinprint\tRAW\t\t"
          "LOCAL\t1\t0\t\t0\t0\r\n");
  const std::string refused = "Unable to get printer listing from '\\\\REFUSE'. Access was denied.";
  EXPECT_EQ(run_.Output("Export.log"),
            "3/5/2026 14:07:09\tPS01\tPS01\t\tPRINTER\tSUCCESS\t\r\n"
            "3/5/2026 14:07:09\tEMPTY\tEMPTY\t\tPRINTER\tSUCCESS\t\r\n"
            "3/5/2026 14:07:09\tREFUSE\tREFUSE\t\tPRINTER\tERROR\t" +
                refused +
                "\r\n"
                "3/5/2026 14:07:09\tSERVER1\tSERVER1\t\tPRINTER\tSUCCESS\t\r\n");
  EXPECT_EQ(run_.ProgressLines(), (std::vector<std::string>{
                                      "0|7|PS01|Exporting...",
                                      "1|9|PS01|Exporting Printer Information...",
                                      "0|7|EMPTY|Exporting...",
                                      "1|9|EMPTY|Exporting Printer Information...",
                                      "0|7|REFUSE|Exporting...",
                                      "1|88|REFUSE|Exporting Printer Information..." + refused,
                                      "0|7|SERVER1|Exporting...",
                                      "1|9|SERVER1|Exporting Printer Information...",
                                      "0|53|Export Completed.|4 Objects Processed.",
                                  }));
  // Each listing is sized by a first call without a buffer.
  const std::vector<std::string> listings = run_.Calls("EnumPrinters");
  EXPECT_EQ(listings.size(), 8u);
  EXPECT_EQ(listings[0], "\\\\PS01 flags=0x00000008 level=2 size=0");
  EXPECT_EQ(listings[6], "\\\\SERVER1 flags=0x00000008 level=2 size=0");
}

TEST_F(Printers, SinglePrinterTargets) {
  run_.SetObjects({{9, "Laser on PS01", "\\\\PS01\\Laser"},
                   {9, "Ghost", "\\\\PS01\\Ghost"},
                   {9, "Offline server", "\\\\NOWHERE\\Queue"}});
  run_.SetConfiguration(
      "[General]\nEnableLogging=1\n[Printers]\nExportPrinters=1\n"
      "PrintersColumns=1003,1,2,11,14\n");
  const RunResult result = run_.Run();
  EXPECT_EQ(result.targets_processed, 3u);
  EXPECT_EQ(run_.Output("printers.txt"),
            "Object_Name\tPrinterName\tShareName\tAttributes\tStatus\r\n"
            "Laser on PS01\t\\\\PS01\\Laser\tLaser\tDEFAULT^SHARED^LOCAL\t\r\n");
  const std::string ghost =
      "Unable to get printer information for '\\\\PS01\\Ghost'. The printer name is not valid.";
  const std::string nowhere =
      "Unable to get printer information for '\\\\NOWHERE\\Queue'. The RPC server is not "
      "available.";
  EXPECT_EQ(run_.ProgressLines(),
            (std::vector<std::string>{
                "0|9|Laser on PS01|Exporting Printer Information...",
                "0|88|Ghost|Exporting Printer Information..." + ghost,
                "0|88|Offline server|Exporting Printer Information..." + nowhere,
                "0|53|Export Completed.|3 Objects Processed.",
            }));
  EXPECT_EQ(run_.Output("Export.log"),
            "3/5/2026 14:07:09\tLaser on PS01\tPS01\\Laser\t\tPRINTER\tSUCCESS\t\r\n"
            "3/5/2026 14:07:09\tGhost\tPS01\\Ghost\t\tPRINTER\tERROR\t" +
                ghost +
                "\r\n3/5/2026 14:07:09\tOffline server\tNOWHERE\\Queue\t\tPRINTER\tERROR\t" +
                nowhere + "\r\n");
  EXPECT_EQ(run_.backend().LeakedHandles(), 0u)
      << ::testing::PrintToString(run_.backend().DescribeLeakedHandles());

  // Without verbose progress the failure gets a row of its own.
  run_.SetConfiguration("[General]\nVerboseProgress=0\n[Printers]\nExportPrinters=1\n");
  run_.SetObjects({{9, "Ghost", "\\\\PS01\\Ghost"}});
  run_.Run();
  EXPECT_EQ(run_.ProgressLines().back(), "0|53|Export Completed.|1 Objects Processed.");
  EXPECT_EQ(run_.ProgressLines()[run_.ProgressLines().size() - 2], "1|52|Ghost|" + ghost);
}

TEST_F(Printers, PrinterSecurityAloneListsComputersButWritesNoRows) {
  run_.SetObjects({{24, "PS01", "\\\\PS01"}, {9, "Laser on PS01", "\\\\PS01\\Laser"}});
  run_.SetConfiguration(
      "[General]\nEnableLogging=1\n[Security]\nExportSecurity=1\nExportPrinterSecurity=1\n");
  run_.Run();
  EXPECT_EQ(run_.backend().call_log().Count("EnumPrinters"), 2u);
  EXPECT_EQ(run_.backend().call_log().Count("OpenPrinter"), 0u);
  EXPECT_EQ(run_.Output("printers.txt"), "");
  EXPECT_EQ(run_.Output("Export.log"), "3/5/2026 14:07:09\tPS01\tPS01\t\tPRINTER\tSUCCESS\t\r\n");
}

TEST(PrinterNames, TableOrderNotBitOrder) {
  struct Case {
    std::uint32_t bits;
    const char* attributes;
    const char* statuses;
  };
  const Case cases[] = {
      {0, "", ""},
      {0x4C, "DEFAULT^SHARED^LOCAL", "PAPER_JAM^PAPER_PROBLEM^PENDING_DELETION"},
      {0x81, "ENABLE_DEVQ^QUEUED", "OFFLINE^PAUSED"},
      {0xFE000000, "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PrinterAttributeNames(c.bits, "^"), c.attributes) << c.bits;
    EXPECT_EQ(PrinterStatusNames(c.bits, "^"), c.statuses) << c.bits;
  }
  EXPECT_EQ(PrinterStatusNames(0x81, ", "), "OFFLINE, PAUSED");
}

}  // namespace
}  // namespace tabulon::testing
