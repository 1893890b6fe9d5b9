// File/directory templates exported end to end: template file and
// configuration in, the template's output file, the log and the security
// hand-over out; the same walk over a real local folder.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "exporters/templates/files/scan_list.h"
#include "platform/utf8_path.h"
#include "support/e2e.h"
#include "support/local_file_system.h"
#include "support/local_files_session.h"
#include "support/pe_image.h"

namespace tabulon::testing {
namespace {

// A file system whose listings of one folder break off after a number of
// items, as a server that stops answering would leave them.
class BreakingListing final : public platform::FileSystem {
 public:
  BreakingListing(platform::FileSystem& files, std::string folder, std::size_t items)
      : files_(files), folder_(std::move(folder)), items_(items) {}
  platform::DiskFreeSpaceResult GetDiskFreeSpaceEx(std::string_view directory) override {
    return files_.GetDiskFreeSpaceEx(directory);
  }
  platform::VolumeInformationResult GetVolumeInformation(std::string_view root, std::uint32_t name,
                                                         std::uint32_t type) override {
    return files_.GetVolumeInformation(root, name, type);
  }
  platform::FindFirstResult FindFirstFile(std::string_view pattern) override {
    platform::FindFirstResult first = files_.FindFirstFile(pattern);
    if (first.handle != 0 && pattern.starts_with(folder_)) left_[first.handle] = items_ - 1;
    return first;
  }
  platform::FindNextResult FindNextFile(platform::FindHandle handle) override {
    const auto it = left_.find(handle);
    if (it != left_.end() && it->second-- == 0) return {win::ERROR_UNEXP_NET_ERR, {}};
    return files_.FindNextFile(handle);
  }
  void FindClose(platform::FindHandle handle) override {
    left_.erase(handle);
    files_.FindClose(handle);
  }
  platform::ReadRangeResult ReadFileRange(std::string_view path, std::uint64_t offset,
                                          std::size_t size) override {
    return files_.ReadFileRange(path, offset, size);
  }

 private:
  platform::FileSystem& files_;
  std::string folder_;
  std::size_t items_;
  std::map<platform::FindHandle, std::size_t> left_;
};

// `failures`: the failure injection of FS01, JSON members ending in ",".
std::string Estate(const std::string& executable, const std::string& failures = "") {
  return R"({
  "computers": [
    {"name": "FS01", "default_shares": true, )" +
         failures + R"(

     "disks": [{"drive": "C", "total_bytes": 100}, {"drive": "D", "total_bytes": 100}],
     "shares": [{"name": "apps", "path": "D:\\Apps"}, {"name": "print$", "path": "C:\\Windows\\spool"},
                {"name": "Users$", "path": "D:\\Users"}, {"name": "Laser", "type": "PRINTQ"}],
     "files": {
       "C:\\Windows\\spool": [{"name": "drivers", "directory": true}],
       "D:\\Users": [{"name": "ann", "directory": true}],
       "D:\\Apps": [
         {"name": "Report.DOC", "size": 5000, "written": "2024-01-02T03:04:05Z",
          "created": "2023-12-31T23:00:00Z", "accessed": "2024-02-03T04:05:06Z"},
         {"name": "sales2020.xls", "size": 100, "attributes": ["READONLY", "HIDDEN", "ARCHIVE"]},
         {"name": "archive.tar.gz", "size": 5000, "attributes": "NORMAL"},
         {"name": "file1.txt", "size": 1},
         {"name": "ledger.exe", "bytes": ")" +
         executable + R"("},
         {"name": "mdb", "children": [
           {"name": "db.mdb", "size": 10},
           {"name": "old", "children": [
             {"name": "x.mdb", "size": 20},
             {"name": "deep", "children": [{"name": "y.mdb", "size": 30}]}]}]}]}},
    {"name": "FS02", "failures": {"NetShareEnum": "ERROR_ACCESS_DENIED"}}
  ]
})";
}

// The estate with a real executable next to it.
void SetEstate(EndToEnd& run, const std::string& failures = "") {
  run.dir().Write("ledger.exe", PeImage({false, {{0x409, VersionInfoBytes({})}}}));
  run.SetEstate(Estate(run.dir().File("ledger.exe"), failures));
}

// A template over \\FS01\apps and every folder below it.
void ScanApps(EndToEnd& run, const std::string& keys) {
  run.SetObjects({{24, "FS01", "FS01"}});
  run.dir().Write("files.cfg", "[Scan]\nOutputFileName=files.txt\nPaths=apps\nPathOptions=1\n" +
                                   keys + "[Again]\nOutputFileName=again.txt\nOutputColumns=0\n");
  run.SetConfiguration("[General]\nEnableLogging=1\nFileCfgFile=" + run.dir().File("files.cfg") +
                       "\n[Templates]\nFileTemplates=Scan;Again;\n");
}

std::string LogLine(const std::string& status, const std::string& message) {
  return "3/5/2026 14:07:09\tFS01\tFS01\t\tFILES - Scan\t" + status + "\t" + message + "\r\n";
}
const std::string kAgainLogged = "3/5/2026 14:07:09\tFS01\tFS01\t\tFILES - Again\tSUCCESS\t\r\n";

struct Case {
  const char* name;
  const char* keys;
  std::string rows;  // after the title row
};

TEST(FileTemplates, TemplatesOnAnEstate) {
  const Case cases[] = {
      {"top level through the platform's matching, sizes and extension",
       "OutputColumns=2,1,8,3\nPaths=apps\nFiles=*.doc|sales*.*|file?.txt|*.gz\n",
       Row({"Report.DOC", "5000", "4.88", "DOC"}) + Row({"sales2020.xls", "100", "0.10", "xls"}) +
           Row({"file1.txt", "1", "0.00", "txt"}) + Row({"archive.tar.gz", "5000", "4.88", "gz"})},
      {"times of the find data", "OutputColumns=0,4,5,6,7\nPaths=apps\nFiles=report.doc\n",
       Row({"\\\\FS01\\apps\\Report.DOC", "12/31/2023 23:00:00", "2/3/2024 4:05:06",
            "1/2/2024 3:04:05", "apps"})},
      {"attribute columns",
       "OutputColumns=2,9,10,11,12,13,14,15,16,17,18\nPaths=apps\nFiles=sales*.*|archive*\n",
       Row({"sales2020.xls", "NO", "YES", "NO", "NO", "YES", "NO", "NO", "YES", "NO", "NO"}) +
           Row({"archive.tar.gz", "NO", "NO", "NO", "NO", "NO", "YES", "NO", "NO", "NO", "NO"})},
      {"admin shares only: C$ and D$, not ADMIN$ or print$",
       "OutputColumns=0\nPaths=%SHARE_NAME%\nGetAdminShares=1\nGetDirsOnly=1\n",
       Row({"\\\\FS01\\c$\\Windows"}) + Row({"\\\\FS01\\d$\\Apps"}) + Row({"\\\\FS01\\d$\\Users"})},
      {"hidden shares are disk shares ending in $",
       "OutputColumns=0\nPaths=%SHARE_NAME%\nGetHiddenShares=1\nGetDirsOnly=1\n",
       Row({"\\\\FS01\\print$\\drivers"}) + Row({"\\\\FS01\\users$\\ann"})},
      {"a share pattern", "OutputColumns=0\nPaths=u*\nGetDirsOnly=1\n",
       Row({"\\\\FS01\\users$\\ann"})},
      {"directories only, every depth",
       "OutputColumns=0,7\nPaths=apps\nPathOptions=1\nGetDirsOnly=1\n",
       Row({"\\\\FS01\\apps\\mdb\\old\\deep", "apps\\mdb\\old"}) +
           Row({"\\\\FS01\\apps\\mdb\\old", "apps\\mdb"}) + Row({"\\\\FS01\\apps\\mdb", "apps"})},
      {"levels count the shared directory",
       "OutputColumns=0\nPaths=apps\\mdb\nPathOptions=2\nPathLevels=02\nFiles=*.mdb\n",
       Row({"\\\\FS01\\apps\\mdb\\db.mdb"}) + Row({"\\\\FS01\\apps\\mdb\\old\\x.mdb"})},
      {"directory totals at the top level walk one level down",
       "OutputColumns=2,19\nPaths=apps\nFiles=*.mdb|*.doc\n",
       Row({"db.mdb", ""}) + Row({"mdb", "10"}) + Row({"Report.DOC", ""})},
      {"version resource of an executable",
       "OutputColumns=2,20,21,22,23,27,26,24\nPaths=apps\nFiles=*.exe|*.doc\n",
       Row({"ledger.exe", "1.2.3.4", "5.6.7.8", "NT_Windows_32-bit", "Application", "Wendrock Ltd",
            "Ledger", ""}) +
           Row({"Report.DOC", "", "", "", "", "", "", ""})},
      {"symbols and a missing path", "OutputColumns=1003,2\nPaths=nothing:apps\nFiles=file1.txt\n",
       Row({"FS01", "file1.txt"})},
      {"no columns, no rows", "OutputColumns=\nPaths=apps\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EndToEnd run;
    SetEstate(run);
    run.SetObjects({{24, "FS01", "FS01"}});
    run.dir().Write("files.cfg", std::string("[Scan]\nOutputFileName=files.txt\n") + c.keys);
    run.SetConfiguration("[General]\nEnableLogging=1\nFileCfgFile=" + run.dir().File("files.cfg") +
                         "\n[Templates]\nFileTemplates=Scan;\n");
    run.Run();
    const std::string output = run.Output("files.txt");
    EXPECT_EQ(output.substr(output.find("\r\n") + 2), c.rows);
    EXPECT_EQ(run.Output("Export.log"),
              "3/5/2026 14:07:09\tFS01\tFS01\t\tFILES - Scan\tSUCCESS\t\r\n");
    EXPECT_EQ(run.backend().LeakedHandles(), 0u);
  }
}

// A folder whose listing fails for any reason but a denied access or a
// missing path is named on a failure row (standard error when unattended)
// and in the log, and the template is no success; the rest stays.
TEST(FileTemplates, AFolderThatCannotBeListedIsNamedAndTheRestIsKept) {
  const std::string kept = Row({"\\\\FS01\\apps\\mdb\\db.mdb"});
  const std::string failed =
      "Unable to list folder '\\\\FS01\\apps\\mdb\\old'. The specified network name is no "
      "longer available.";
  struct Failure {
    const char* status;
    std::string rows;
    std::vector<std::string> failure_rows;
    std::string log;
  };
  const Failure cases[] = {
      {"ERROR_NETNAME_DELETED",
       kept,
       {"FS01: " + failed, "FS01: Folders not listed completely: 1."},
       LogLine("ERROR", failed) + LogLine("ERROR", "Folders not listed completely: 1. ")},
      {"ERROR_ACCESS_DENIED", kept, {}, LogLine("SUCCESS", "")},
      {"ERROR_PATH_NOT_FOUND", kept, {}, LogLine("SUCCESS", "")},
  };
  for (const Failure& c : cases) {
    SCOPED_TRACE(c.status);
    EndToEnd run;
    // Listed: apps, apps\mdb; then apps\mdb\old fails.
    SetEstate(run, std::string(R"("failures": {"FindFirstFile": {"status": ")") + c.status +
                       R"(", "after_calls": 2}},)");
    ScanApps(run, "OutputColumns=0\nFiles=*.mdb\n");
    run.Run(false);
    const std::string output = run.Output("files.txt");
    EXPECT_EQ(output.substr(output.find("\r\n") + 2), c.rows);
    EXPECT_EQ(run.observer().failure_rows, c.failure_rows);
    EXPECT_EQ(run.Output("Export.log"), c.log + kAgainLogged);
  }
}

// The first Ctrl-C (the stop request) ends a walk after the listing at hand:
// no further folder, template or unit runs for the target, and the template
// says it was cut short.
TEST(FileTemplates, TheStopRequestEndsTheWalkAfterTheListingAtHand) {
  EndToEnd run;
  SetEstate(run);
  ScanApps(run, "OutputColumns=0\n");
  run.observer().on_row = [&run](const ProgressRow& row) {
    if (row.name == "FS01\\apps\\mdb") run.control().RequestStop();
  };
  const RunResult result = run.Run();
  EXPECT_TRUE(result.aborted_by_user);
  const std::string output = run.Output("files.txt");
  EXPECT_EQ(output.substr(output.find("\r\n") + 2), Row({"\\\\FS01\\apps\\archive.tar.gz"}) +
                                                        Row({"\\\\FS01\\apps\\file1.txt"}) +
                                                        Row({"\\\\FS01\\apps\\ledger.exe"}));
  EXPECT_EQ(run.Output("Export.log"), LogLine("ERROR", "Export Aborted By User."));
}

// A local folder's listing that breaks off keeps what it read; a name that
// cannot be part of a path is named and left out; links to a folder above
// are listed as what they are, never followed.
#ifndef _WIN32  // names with a backslash and links are POSIX matters
TEST(FileTemplates, ALocalListingKeepsWhatItReadAndNamesWhatItLeftOut) {
  EndToEnd run;
  const std::filesystem::path root = platform::Utf8Path(run.dir().File("share"));
  std::filesystem::create_directories(root / "big");
  for (const char* name : {"f1.txt", "f2.txt", "f3.txt"}) std::ofstream(root / "big" / name) << 1;
  std::ofstream(root / "notes.txt") << "hello";
  std::ofstream(root / "a\\b.txt") << "a Linux name";
  std::filesystem::create_directory_symlink(".", root / "self1");
  std::filesystem::create_directory_symlink(".", root / "self2");
  LocalFileSystem local;
  local.set_local_shares({{"\\\\FS01\\apps", platform::Utf8Name(root)}});
  // The listing of big breaks off after ".", ".." and f1.txt.
  BreakingListing files(local, "\\\\FS01\\apps\\big\\", 3);
  SetEstate(run);
  LocalFilesBackend sessions(*run.platform().sessions, files);
  run.platform().sessions = &sessions;
  ScanApps(run, "OutputColumns=0,9\n");
  run.Run(false);
  const std::string output = run.Output("files.txt");
  EXPECT_EQ(output.substr(output.find("\r\n") + 2),
            Row({"\\\\FS01\\apps\\big\\f1.txt", "NO"}) + Row({"\\\\FS01\\apps\\big", "YES"}) +
                Row({"\\\\FS01\\apps\\notes.txt", "NO"}) + Row({"\\\\FS01\\apps\\self1", "NO"}) +
                Row({"\\\\FS01\\apps\\self2", "NO"}));
  EXPECT_EQ(run.observer().failure_rows,
            (std::vector<std::string>{
                "FS01: Skipped an item of folder '\\\\FS01\\apps': its name 'a\\b.txt' cannot be "
                "part of a path.",
                "FS01: Unable to list folder '\\\\FS01\\apps\\big'. An unexpected network error "
                "occurred.",
                "FS01: Folders not listed completely: 2."}));
}
#endif

TEST(FileTemplates, ShareListFailureAndTitles) {
  EndToEnd run;
  SetEstate(run);
  run.SetObjects({{24, "FS02", "FS02"}});
  run.dir().Write("files.cfg",
                  "[Scan]\nOutputFileName=files.txt\nOutputColumns=0,1003\nPaths=%SHARE_NAME%\n"
                  "[Bare]\nOutputFileName=bare.txt\n");
  run.SetConfiguration("[General]\nEnableLogging=1\nFileCfgFile=" + run.dir().File("files.cfg") +
                       "\n[Templates]\nFileTemplates=Scan;Bare;\n");
  run.Run();
  EXPECT_EQ(run.Output("files.txt"), Row({"FilePath", "Object_Name"}));
  EXPECT_EQ(run.Output("bare.txt"), "\r\n") << "no column list, no titles";
  EXPECT_EQ(run.Output("Export.log"),
            "3/5/2026 14:07:09\tFS02\tFS02\t\tFILES - Scan\tERROR\tError getting shares on "
            "'FS02'. Access was denied.\r\n"
            "3/5/2026 14:07:09\tFS02\tFS02\t\tFILES - Bare\tSUCCESS\t\r\n");
}

// Files and directories go to the security export even without rows of
// their own, in the order the walk meets them.
TEST(FileTemplates, HandsItemsToTheSecurityExport) {
  EndToEnd run;
  SetEstate(run);
  run.SetObjects({{24, "FS01", "FS01"}});
  run.dir().Write("files.cfg", "[Scan]\nOutputColumns=0\nPaths=apps\\mdb\nPathOptions=1\n");
  run.SetConfiguration("[General]\nFileCfgFile=" + run.dir().File("files.cfg") +
                       "\n[Templates]\nFileTemplates=Scan;\n[Security]\nExportSecurity=1\n"
                       "SecurityOutputFile=security.txt\nExportFileSecurity=1\n"
                       "SecurityColumns=1,2\nExportServiceSecurity=0\nExportShareSecurity=0\n"
                       "ExportPrinterSecurity=0\n");
  run.Run();
  EXPECT_FALSE(std::filesystem::exists(platform::Utf8Path(run.dir().File("files.txt"))));
  std::string expected = Row({"SecurityObjectPath", "SecurityObjectType"});
  for (const auto& [path, kind] : {std::pair{"mdb\\db.mdb", "FILE"},
                                   {"mdb\\old\\deep\\y.mdb", "FILE"},
                                   {"mdb\\old\\deep", "DIRECTORY"},
                                   {"mdb\\old\\x.mdb", "FILE"},
                                   {"mdb\\old", "DIRECTORY"}}) {
    // The default descriptor of a file has three entries.
    for (int entry = 0; entry < 3; ++entry) {
      expected += Row({"\\\\FS01\\apps\\" + std::string(path), kind});
    }
  }
  EXPECT_EQ(run.Output("security.txt"), expected);
}

TEST(FileTemplates, ScanListFromPathEntries) {
  PathSettings s;
  s.paths = "data:apps\\mdb|apps\\users:x";
  s.options = "12";
  s.levels = "1103";
  const std::vector<ScanEntry> list = BuildScanList(s, {});
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0].share_path, "data");
  EXPECT_EQ(list[0].option, ScanOption::kAllLevels);
  EXPECT_EQ(list[1].share_path, "apps\\mdb");
  EXPECT_EQ(list[1].option, ScanOption::kLevels);
  EXPECT_EQ(list[1].levels, 3);
  EXPECT_EQ(list[2].levels, 3);
  EXPECT_EQ(list[3].option, ScanOption::kTopLevel) << "a missing option counts as 0";
  EXPECT_FALSE(WildcardMatch("file?.txt", "file1.txt")) << "no star: the name itself";
  EXPECT_TRUE(WildcardMatch("FILE?.TXT", "file?.txt"));
}

// The real local backend: a share that stands for a folder the test makes.
TEST(FileTemplates, ScansARealLocalFolder) {
  EndToEnd run;
  const std::filesystem::path root = platform::Utf8Path(run.dir().File("share"));
  std::filesystem::create_directories(root / "bin");
  const std::string tool = PeImage({true, {{0x409, VersionInfoBytes({})}}});
  std::ofstream(root / "bin" / "tool.exe", std::ios::binary) << tool;
  std::ofstream(root / "notes.txt") << "hello";
  LocalFileSystem local;
  local.set_local_shares({{"\\\\FS01\\apps", platform::Utf8Name(root)}});
  SetEstate(run);
  LocalFilesBackend sessions(*run.platform().sessions, local);
  run.platform().sessions = &sessions;
  run.SetObjects({{24, "FS01", "FS01"}});
  run.dir().Write("files.cfg",
                  "[Scan]\nOutputFileName=files.txt\nOutputColumns=0,1,7,20,26\nPaths=apps\n"
                  "PathOptions=1\n");
  run.SetConfiguration("[General]\nFileCfgFile=" + run.dir().File("files.cfg") +
                       "\n[Templates]\nFileTemplates=Scan;\n");
  run.Run();
  const std::string output = run.Output("files.txt");
  EXPECT_EQ(output.substr(output.find("\r\n") + 2),
            Row({"\\\\FS01\\apps\\bin\\tool.exe", std::to_string(tool.size()), "apps\\bin",
                 "1.2.3.4", "Ledger"}) +
                Row({"\\\\FS01\\apps\\bin", "0", "apps", "", ""}) +
                Row({"\\\\FS01\\apps\\notes.txt", "5", "apps", "", ""}));
}

}  // namespace
}  // namespace tabulon::testing
