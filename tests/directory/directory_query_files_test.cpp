// Directory queries against a real slapd and against the estate fed the
// same LDIF: the output files must be byte-identical, over ldap:// and
// ldaps://.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/text.h"
#include "support/directory_data.h"
#include "support/e2e.h"
#include "support/ldap_search_backend.h"
#include "support/server_required.h"
#include "support/slapd_server.h"

namespace tabulon::testing {
namespace {

// The first line where two UTF-16 files differ, for the failure message.
std::string FirstDifference(const std::string& a, const std::string& b) {
  const std::string x = text::Utf16LeToUtf8(a);
  const std::string y = text::Utf16LeToUtf8(b);
  std::size_t line = 0;
  while (line < x.size() && line < y.size()) {
    const std::size_t end_x = x.find('\n', line);
    const std::size_t end_y = y.find('\n', line);
    if (x.compare(line, end_x - line, y, line, end_y - line) != 0) {
      return x.substr(line, end_x - line) + "\n  vs\n" + y.substr(line, end_y - line);
    }
    if (end_x == std::string::npos || end_x != end_y) break;
    line = end_x + 1;
  }
  return "sizes " + std::to_string(x.size()) + " and " + std::to_string(y.size());
}

constexpr std::string_view kQueries =
    "[Units]\nOutputFileName=units.txt\nFilter=0\n"
    "Attributes=ou,description,objectSid,adspath,distinguishedName,%OBJECT_NAME%\n"
    "[Staff]\nOutputFileName=staff.txt\nFilter=0\nLevel=1\n"
    "Attributes=cn,sAMAccountName,displayName,userAccountControl,objectSid,objectGUID,"
    "pwdLastSet,lastLogon,accountExpires,logonCount,description,thumbnailPhoto,memberOf\n"
    "[Members]\nOutputFileName=members.txt\nFilter=4\nLevel=1\nAttributes=cn,groupType,adspath\n"
    "GetGroupMembers=1\nGetIndirectGroupMembers=1\n";
constexpr const char* kOutputs[] = {"units.txt", "staff.txt", "members.txt"};
constexpr std::size_t kHugeValue = std::size_t{4} << 20;

class DirectoryQueryFiles : public ::testing::Test {
 protected:
  // The test directory and one account whose description is 4 MiB: a value
  // that size travels whole and lands in one cell.
  static void SetUpTestSuite() {
    const std::string big = std::string("dn: CN=Big Note,OU=Staff,") + kTestDomainDn +
                            "\nobjectClass: top\nobjectClass: person\nobjectClass: "
                            "organizationalPerson\nobjectClass: user\ncn: Big Note\nsn: Note\n"
                            "sAMAccountName: bignote\ndescription: " +
                            std::string(kHugeValue, 'x') + "\n\n";
    server_ = SlapdServer::Start(why_not_, MakeTestDirectoryLdif() + "\n" + big).release();
  }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  void SetUp() override {
    if (server_ == nullptr) SKIP_WITHOUT_SERVER(why_not_);
    run_.SetEstate(R"({"domains": [{"name": "TABULON", "dns_name": "tabulon.test",
      "controller": "DC1", "directory": {"ldif": ")" +
                   server_->folder() + R"(/data.ldif"}}],
      "computers": [{"name": "DC1", "domain": "TABULON", "address": "127.0.0.1"}]})");
    run_.dir().Write("DirectoryQueries.CFG", std::string(kQueries));
    run_.SetObjects({{101, "tabulon.test", "LDAP://DC=tabulon,DC=test"},
                     {114, "Staff", "LDAP://OU=Staff,DC=tabulon,DC=test"},
                     {114, "Groups", "LDAP://OU=Groups,DC=tabulon,DC=test"}});
  }

  // Runs the three queries through `server` and returns their files.
  std::vector<std::string> Run(const std::string& server, const std::string& ca_file) {
    run_.SetConfiguration(
        "[General]\nUnicodeOutput=1\n[Templates]\nDirectoryTemplates=Units;Staff;Members;\n"
        "[Platform]\nTimeout=30\nDirectoryServer=" +
        server + "\nDirectoryCaFile=" + ca_file + "\n");
    run_.Run();
    std::vector<std::string> files;
    for (const char* name : kOutputs) files.push_back(run_.Output(name));
    return files;
  }

  static SlapdServer* server_;
  static std::string why_not_;
  EndToEnd run_;
};
SlapdServer* DirectoryQueryFiles::server_ = nullptr;
std::string DirectoryQueryFiles::why_not_;

TEST_F(DirectoryQueryFiles, SlapdAndTheEstateWriteTheSameFiles) {
  const std::vector<std::string> estate = Run(server_->ldap_url(), "");
  ASSERT_GT(estate[1].size(), 3000u * 100) << "every user has a row";
  EXPECT_NE(estate[1].find(text::Utf8ToUtf16Le(std::string(kHugeValue, 'x') + "\t")),
            std::string::npos)
      << "the 4 MiB description is one whole cell";
  ASSERT_GT(estate[2].size(), 3000u * 100) << "the nested group's members are listed";

  LdapSearchBackend ldap(*run_.platform().sessions);
  run_.platform().sessions = &ldap;
  for (const auto& [server, ca] : {std::pair{server_->ldap_url(), std::string()},
                                   std::pair{server_->ldaps_url(), server_->ca_file()}}) {
    SCOPED_TRACE(server);
    const std::vector<std::string> real = Run(server, ca);
    for (std::size_t i = 0; i < estate.size(); ++i) {
      EXPECT_TRUE(real[i] == estate[i])
          << kOutputs[i] << " differs: " << FirstDifference(estate[i], real[i]);
    }
    for (const std::string& row : run_.ProgressLines()) {
      EXPECT_EQ(row.find("Unable"), std::string::npos) << row;
    }
  }
}

}  // namespace
}  // namespace tabulon::testing
