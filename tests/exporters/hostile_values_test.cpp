// What servers send is written so that rows stay whole: line breaks, TABs
// and delimiters in account fields, file names and registry names and data,
// through three exports, byte for byte; and with SpreadsheetSafe the values
// a spreadsheet would run as formulas.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include "platform/posix/file_system.h"
#endif
#include "platform/utf8_path.h"
#include "support/e2e.h"
#include "support/local_files_session.h"

namespace tabulon::testing {
namespace {

constexpr std::string_view kEstate = R"json({"computers": [
  {"name": "WS01", "sid": "S-1-5-21-1-2-3", "default_shares": true,
   "disks": [{"drive": "D", "total_bytes": 100}],
   "shares": [{"name": "data", "path": "D:\\Data"}],
   "files": {"D:\\Data": [
     {"name": "line\r\nbreak.txt", "size": 1}, {"name": "tab\tname.txt", "size": 2},
     {"name": "comma,name.txt", "size": 3}, {"name": "=HYPERLINK(\"x\")", "size": 4},
     {"name": "+plus.txt", "size": 5}, {"name": "@at.txt", "size": 6}, {"name": "-5", "size": 7}]},
   "registry": {"text": [
     "Windows Registry Editor Version 5.00",
     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Hostile\\Tab\tKey]",
     "\"Data\"=hex(1):61,00,0d,00,0a,00,62,00,09,00,3d,00,63,00,00,00",
     "\"Name\tTab\"=\"-2+3\"",
     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Hostile\\=Formula]",
     "\"Data\"=\"@SUM(1)\""]},
   "users": [
     {"name": "=cmd|' /C calc'!A0", "rid": 1001, "full_name": "Tab\tName",
      "comment": "Line one\r\nLine two"},
     {"name": "-svc", "rid": 1002, "comment": "@SUM(1)", "usr_comment": "note\nx"},
     {"name": "plain", "rid": 1003, "comment": "-5"}]}
]})json";

constexpr std::string_view kTemplates =
    "[Keys]\nOutputFileName=reg.txt\nOutputColumns=%KEY_NAME%,Data\n"
    "OutputKeys=HKLM\\SOFTWARE\\Hostile\\*\n"
    "[Values]\nOutputFileName=values.txt\nOutputColumns=%KEY_NAME%,%VALUE_NAME%,%VALUE%\n"
    "OutputKeys=HKLM\\SOFTWARE\\Hostile\\*\n";

struct Case {
  const char* name;
  const char* general;
  std::string users;
  std::string files;
  std::string keys;
  std::string values;
};

TEST(HostileValues, RowsStayWholeThroughEveryExport) {
  const Case cases[] = {
      {"kept whole by default", "",
       "-svc\t\t@SUM(1)\tnote~x\t1002\r\n"
       "=cmd|' /C calc'!A0\tTab Name\tLine one~~Line two\t\t1001\r\n"
       "plain\t\t-5\t\t1003\r\n",
       "+plus.txt\t5\r\n-5\t7\r\n=HYPERLINK(\"x\")\t4\r\n@at.txt\t6\r\n"
       "comma,name.txt\t3\r\nline~~break.txt\t1\r\ntab name.txt\t2\r\n",
       "=Formula\t@SUM(1)\r\nTab Key\ta~~b =c\r\n",
       "=Formula\tData\t@SUM(1)\r\nTab Key\tData\ta~~b =c\r\nTab Key\tName Tab\t-2+3\r\n"},
      // The values as the servers gave them; every LF of a text-mode file
      // becomes CR LF.
      {"raw", "KeepRowsWhole=0\n",
       "-svc\t\t@SUM(1)\tnote~x\t1002\r\n"
       "=cmd|' /C calc'!A0\tTab\tName\tLine one\r\r\nLine two\t\t1001\r\n"
       "plain\t\t-5\t\t1003\r\n",
       "+plus.txt\t5\r\n-5\t7\r\n=HYPERLINK(\"x\")\t4\r\n@at.txt\t6\r\n"
       "comma,name.txt\t3\r\nline\r\r\nbreak.txt\t1\r\ntab\tname.txt\t2\r\n",
       "=Formula\t@SUM(1)\r\nTab\tKey\ta\r\r\nb\t=c\r\n",
       "=Formula\tData\t@SUM(1)\r\nTab\tKey\tData\ta\r\r\nb\t=c\r\nTab\tKey\tName\tTab\t-2+3\r\n"},
      {"spreadsheet safe, comma delimited", "SpreadsheetSafe=1\nDelimiter=,\n",
       "'-svc,,'@SUM(1),note~x,1002\r\n"
       "'=cmd|' /C calc'!A0,Tab Name,Line one~~Line two,,1001\r\n"
       "plain,,-5,,1003\r\n",
       "'+plus.txt,5\r\n-5,7\r\n'=HYPERLINK(\"x\"),4\r\n'@at.txt,6\r\n"
       "comma name.txt,3\r\nline~~break.txt,1\r\ntab name.txt,2\r\n",
       "'=Formula,'@SUM(1)\r\nTab Key,a~~b =c\r\n",
       "'=Formula,Data,'@SUM(1)\r\nTab Key,Data,a~~b =c\r\nTab Key,Name Tab,'-2+3\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EndToEnd run;
    run.SetEstate(kEstate);
    run.SetObjects({{24, "WS01", "\\\\WS01"}});
    run.dir().Write("files.cfg",
                    "[Scan]\nOutputFileName=files.txt\nOutputColumns=2,1\nPaths=data\n");
    run.dir().Write("reg.cfg", std::string(kTemplates));
    run.SetConfiguration(std::string("[General]\n") + c.general +
                         "FileCfgFile=" + run.dir().File("files.cfg") +
                         "\nRegistryCfgFile=" + run.dir().File("reg.cfg") +
                         "\nWriteTitles=0\n[Templates]\nFileTemplates=Scan;\n"
                         "RegistryTemplates=Keys;Values;\n"
                         "[Users]\nExportUsers=1\nUsersColumns=0,1,2,9,17\n");
    run.Run();
    EXPECT_EQ(run.Output("users.txt"), c.users);
    EXPECT_EQ(run.Output("files.txt"), c.files);
    EXPECT_EQ(run.Output("reg.txt"), c.keys);
    EXPECT_EQ(run.Output("values.txt"), c.values);
  }
}

// Names a Linux folder holds, read through the local file system: a line
// break, a CR, a TAB, the delimiter, formula characters.
#ifndef _WIN32  // Windows names cannot hold control characters
TEST(HostileValues, LocalFileNamesKeepTheirColumns) {
  const struct {
    const char* general;
    std::vector<std::string> rows;  // sorted
  } cases[] = {
      {"",
       {"+plus.txt\t1", "=SUM(1).txt\t1", "comma,name.txt\t1", "cr~name.txt\t1",
        "line~break.txt\t1", "tab name.txt\t1"}},
      {"KeepRowsWhole=0\n",
       {"+plus.txt\t1", "=SUM(1).txt\t1", "break.txt\t1", "comma,name.txt\t1", "cr\rname.txt\t1",
        "line", "tab\tname.txt\t1"}},
      {"SpreadsheetSafe=1\nDelimiter=,\n",
       {"'+plus.txt,1", "'=SUM(1).txt,1", "comma name.txt,1", "cr~name.txt,1", "line~break.txt,1",
        "tab name.txt,1"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.general);
    EndToEnd run;
    const std::filesystem::path root = platform::Utf8Path(run.dir().File("share"));
    std::filesystem::create_directories(root);
    for (const char* name : {"line\nbreak.txt", "cr\rname.txt", "tab\tname.txt", "comma,name.txt",
                             "+plus.txt", "=SUM(1).txt"}) {
      std::ofstream(root / name) << "x";
    }
    platform::PosixFileSystem local;
    local.set_local_shares({{"\\\\WS01\\data", platform::Utf8Name(root)}});
    run.SetEstate(kEstate);
    LocalFilesBackend sessions(*run.platform().sessions, local);
    run.platform().sessions = &sessions;
    run.SetObjects({{24, "WS01", "\\\\WS01"}});
    run.dir().Write("files.cfg",
                    "[Scan]\nOutputFileName=files.txt\nOutputColumns=2,1\nPaths=data\n");
    run.SetConfiguration(std::string("[General]\n") + c.general +
                         "FileCfgFile=" + run.dir().File("files.cfg") +
                         "\nWriteTitles=0\n[Templates]\nFileTemplates=Scan;\n");
    run.Run();
    std::vector<std::string> rows;
    const std::string files = run.Output("files.txt");
    for (std::size_t from = 0, at; (at = files.find("\r\n", from)) != std::string::npos;
         from = at + 2) {
      rows.push_back(files.substr(from, at - from));
    }
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, c.rows) << files;
  }
}
#endif

}  // namespace
}  // namespace tabulon::testing
