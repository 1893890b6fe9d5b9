// Names a real server hands out with line breaks, TABs, the delimiter and
// formula characters in them: files made on the Linux side of a share of
// the test smbd, which passes them through (mangled names = no), a share
// comment, and an account's full name and description. Every row keeps its
// title row's columns; without KeepRowsWhole the rows break as the names
// do; with SpreadsheetSafe the formulas get their apostrophe.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "samba/remote_run.h"
#include "support/samba_server.h"

namespace tabulon::testing {
namespace {

class HostileNamesOfARealServer : public SambaServerSuite {
 protected:
  static void SetUpTestSuite() {
    why_not_ = IsolateNetwork();
    if (!why_not_.empty()) return;
    // smb.conf keeps a TAB inside a value; a line break would end it.
    server_ = SambaServer::Start(why_not_, {"  mangled names = no\n",
                                            "[hostile]\n  path = /tmp\n  read only = yes\n"
                                            "  comment = =Tab\there;semi\n"});
  }
};

// The rows of a file, the title row first and the others sorted: the
// server lists a folder in its own order.
std::vector<std::string> Rows(const std::string& file) {
  std::vector<std::string> rows;
  std::size_t from = 0;
  for (std::size_t at = file.find("\r\n"); at != std::string::npos; at = file.find("\r\n", from)) {
    rows.push_back(file.substr(from, at - from));
    from = at + 2;
  }
  if (from < file.size()) rows.push_back(file.substr(from) + "<no line end>");
  if (rows.size() > 1) std::sort(rows.begin() + 1, rows.end());
  return rows;
}

// Every row splits into as many fields as the title row.
void ExpectWholeRows(const std::vector<std::string>& rows, char delimiter) {
  ASSERT_FALSE(rows.empty());
  const auto fields = [delimiter](const std::string& row) {
    return std::count(row.begin(), row.end(), delimiter);
  };
  for (const std::string& row : rows) EXPECT_EQ(fields(row), fields(rows[0])) << row;
}

struct Case {
  const char* general;
  char delimiter;
  bool whole;
  std::vector<std::string> rows;
};

TEST_F(HostileNamesOfARealServer, FileNamesKeepTheirColumns) {
  const std::filesystem::path folder = server_->folder() + "/data/hostile";
  std::filesystem::create_directories(folder);
  for (const char* name : {"line\nbreak.txt", "cr\rname.txt", "tab\tname.txt", "semi;colon.txt",
                           "=HYPERLINK(x).txt", "+plus.txt", "-minus.txt", "@at.txt"}) {
    std::ofstream(folder / name) << "x";
  }
  const Case cases[] = {
      {"",
       '\t',
       true,
       {"FileName\tFileSizeBytes", "+plus.txt\t1", "-minus.txt\t1", "=HYPERLINK(x).txt\t1",
        "@at.txt\t1", "cr~name.txt\t1", "line~break.txt\t1", "semi;colon.txt\t1",
        "tab name.txt\t1"}},
      // As the server sent them: the TAB makes a third column, the LF ends
      // a row early (as CR LF in a text-mode file), the CR stays inside.
      {"KeepRowsWhole=0\n",
       '\t',
       false,
       {"FileName\tFileSizeBytes", "+plus.txt\t1", "-minus.txt\t1", "=HYPERLINK(x).txt\t1",
        "@at.txt\t1", "break.txt\t1", "cr\rname.txt\t1", "line", "semi;colon.txt\t1",
        "tab\tname.txt\t1"}},
      {"SpreadsheetSafe=1\nDelimiter=;\nCrLfReplacement=^^\n",
       ';',
       true,
       {"FileName;FileSizeBytes", "'+plus.txt;1", "'-minus.txt;1", "'=HYPERLINK(x).txt;1",
        "'@at.txt;1", "cr^name.txt;1", "line^break.txt;1", "semi colon.txt;1", "tab name.txt;1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.general);
    ScratchDir dir;
    dir.Write("files.cfg",
              "[Scan]\nOutputFileName=files.txt\nOutputColumns=2,1\nPaths=data\\hostile\n");
    RecordedMessages messages;
    RunAgainstTestServer(dir,
                         c.general + ("FileCfgFile=" + dir.File("files.cfg")) +
                             "\n[Computers]\nPingEnable=0\n[Templates]\nFileTemplates=Scan;\n",
                         messages);
    const std::vector<std::string> rows = Rows(dir.Read("files.txt"));
    EXPECT_EQ(rows, c.rows) << dir.Read("files.txt");
    if (c.whole) ExpectWholeRows(rows, c.delimiter);
    EXPECT_EQ(messages.rows, "");
  }
  std::filesystem::remove_all(folder);
}

// A share comment through NetShareEnum, and an account's full name and
// description through SAMR.
TEST_F(HostileNamesOfARealServer, ShareAndAccountTextsKeepTheirColumns) {
  const std::string set =
      CommandOutput("pdbedit -s " + server_->configuration() + " -u " + kSambaUser +
                    " -f '=cmd|'\"'\"' /C calc'\"'\"'!A0' -N \"$(printf 'Line one\\r\\nLine "
                    "two\\tTabbed')\" 2>&1");
  ASSERT_NE(set.find("Unix username"), std::string::npos) << set;
  const Case cases[] = {
      {"",
       '\t',
       true,
       {"ShareName\tShareComment", "=Tab here;semi",
        "tabtest\t=cmd|' /C calc'!A0\tLine "
        "one~~Line two Tabbed"}},
      {"KeepRowsWhole=0\n",
       '\t',
       false,
       {"ShareName\tShareComment", "=Tab\there;semi",
        "tabtest\t=cmd|' /C calc'!A0\tLine one\r\r\nLine two\tTabbed"}},
      {"SpreadsheetSafe=1\nDelimiter=;\n",
       ';',
       true,
       {"ShareName;ShareComment", "'=Tab here semi",
        "tabtest;'=cmd|' /C calc'!A0;Line one~~Line two Tabbed"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.general);
    ScratchDir dir;
    RecordedMessages messages;
    RunAgainstTestServer(dir,
                         c.general + std::string("[Computers]\nPingEnable=0\n"
                                                 "[Shares]\nExportShares=1\nSharesColumns=0,2\n"
                                                 "[Users]\nExportUsers=1\nUsersColumns=0,1,2\n"),
                         messages);
    const std::string shares = dir.Read("shares.txt");
    const std::string users = dir.Read("users.txt");
    const std::string d(1, c.delimiter);
    EXPECT_EQ(shares.substr(0, shares.find("\r\n")), c.rows[0]);
    EXPECT_NE(shares.find("\r\nhostile" + d + c.rows[1] + "\r\n"), std::string::npos) << shares;
    EXPECT_NE(users.find("\r\n" + c.rows[2] + "\r\n"), std::string::npos) << users;
    if (c.whole) {
      ExpectWholeRows(Rows(shares), c.delimiter);
      ExpectWholeRows(Rows(users), c.delimiter);
    }
    EXPECT_EQ(messages.rows, "");
  }
}

}  // namespace
}  // namespace tabulon::testing
