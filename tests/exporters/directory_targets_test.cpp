// Containers, directory domains and directory computers of the object file
// become targets through the estate's directory, end to end.
#include <gtest/gtest.h>

#include "support/e2e.h"

namespace tabulon::testing {
namespace {

constexpr std::string_view kLdif = R"(dn: DC=corp,DC=test
dc: corp

dn: OU=Desks,DC=corp,DC=test
ou: Desks

dn: CN=PC1,OU=Desks,DC=corp,DC=test
objectCategory: CN=Computer,CN=Schema,CN=Configuration,DC=corp,DC=test
cn: PC1
name: PC1
dnsHostName: pc1.corp.test
userAccountControl: 4096

dn: CN=Jo,OU=Desks,DC=corp,DC=test
objectCategory: CN=Person,CN=Schema,CN=Configuration,DC=corp,DC=test
cn: Jo
name: Jo

dn: CN=PC2,OU=Desks,DC=corp,DC=test
objectCategory: CN=Computer,CN=Schema,CN=Configuration,DC=corp,DC=test
cn: PC2
name: PC2
userAccountControl: 4098

dn: OU=Servers,DC=corp,DC=test
ou: Servers

dn: CN=FS1,OU=Servers,DC=corp,DC=test
objectCategory: CN=Computer,CN=Schema,CN=Configuration,DC=corp,DC=test
cn: FS1
name: FS1
dnsHostName: fs1.corp.test
userAccountControl: 532480
)";

constexpr std::string_view kComputers = R"(
  "computers": [
    {"name": "DC1", "dns_name": "dc1.corp.test", "domain": "CORP",
     "server": {"type": ["SERVER", "PDC", "NT"], "version_major": 10}},
    {"name": "PC1", "dns_name": "pc1.corp.test", "domain": "CORP",
     "server": {"type": ["WORKSTATION", "NT"], "comment": "desk", "version_major": 6,
                "version_minor": 1}},
    {"name": "FS1", "dns_name": "fs1.corp.test", "domain": "CORP",
     "server": {"type": ["SERVER", "NT"], "comment": "files"}},
    {"name": "BUSYDC", "domain": "CORP", "failures": {"LdapSearch": "ERROR_DS_BUSY"}},
    {"name": "ADMIN"}
  ]})";

constexpr std::string_view kDesks = "LDAP://OU=Desks,DC=corp,DC=test";
// Path, name, type, domain, comment, major version, server type.
constexpr std::string_view kColumns = "ComputerColumns=1002,0,1005,1006,1004,1012,1014\n";

class DirectoryTargets : public ::testing::Test {
 protected:
  void SetUp() override {
    run_.dir().Write("corp.ldif", std::string(kLdif));
    run_.SetEstate(R"({"local_computer": "ADMIN", "domains": [{"name": "CORP",
      "dns_name": "corp.test", "controller": "DC1", "directory": {"ldif": ")" +
                   run_.dir().File("corp.ldif") + "\"}}]," + std::string(kComputers));
  }
  // `computers`: more keys of the section the computer list is in.
  void Configure(std::string_view computers, std::string_view general = {}) {
    run_.SetConfiguration("[General]\n" + std::string(general) +
                          "[Computers]\nExportComputers=1\n" + std::string(kColumns) +
                          std::string(computers));
  }
  EndToEnd run_;
};

TEST_F(DirectoryTargets, ContainersAndDomainsListTheirComputers) {
  // PC2 is a disabled account without a DNS host name and no computer
  // answers to it; FS1 is in another unit.
  const std::string pc2 = "\\\\PC2\tPC2\t24\tDesks\t\t0\t\r\n";
  const struct {
    const char* name;
    EndToEnd::Object object;
    std::string general;
    std::string computers;
    std::string rows;  // after the title row
  } cases[] = {
      {"container by DNS host name, merged with the browse list",
       {114, "Desks", std::string(kDesks)},
       "",
       "",
       "\\\\pc1.corp.test\tPC1\t24\tDesks\tdesk\t6\tWORKSTATION^NT\r\n" + pc2},
      {"by NetBIOS name",
       {114, "Desks", std::string(kDesks)},
       "",
       "UseNetbiosName=1\n",
       "\\\\PC1\tPC1\t24\tDesks\tdesk\t6\tWORKSTATION^NT\r\n" + pc2},
      {"without merging the comment stays empty; versions come from the computer",
       {114, "Desks", std::string(kDesks)},
       "MergeBrowseList=0\n",
       "",
       "\\\\pc1.corp.test\tPC1\t24\tDesks\t\t6\tWORKSTATION^NT\r\n" + pc2},
      {"a directory domain with ComputerSource 0 lists its whole subtree",
       {101, "corp.test", "LDAP://DC=corp,DC=test"},
       "ComputerSource=0\n",
       "",
       "\\\\pc1.corp.test\tPC1\t24\tcorp.test\tdesk\t6\tWORKSTATION^NT\r\n"
       "\\\\PC2\tPC2\t24\tcorp.test\t\t0\t\r\n"
       "\\\\fs1.corp.test\tFS1\t24\tcorp.test\tfiles\t10\tSERVER^NT\r\n"},
      {"a server in the path; a disabled account skipped on request",
       {114, "Desks", "LDAP://dc1/OU=Desks,DC=corp,DC=test"},
       "",
       "SkipDisabled=1\n",
       "\\\\pc1.corp.test\tPC1\t24\tDesks\tdesk\t6\tWORKSTATION^NT\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    run_.SetObjects({c.object});
    Configure(c.computers, c.general);
    run_.Run();
    const std::string file = run_.Output("computers.txt");
    EXPECT_EQ(file.substr(file.find("\r\n") + 2), c.rows);
  }
  const std::vector<std::string> rows = run_.ProgressLines();
  EXPECT_EQ(rows[rows.size() - 2],
            "0|53|PC2|Skipping 'PC2' due to General Settings; Computer is disabled in Active "
            "Directory.");
}

TEST_F(DirectoryTargets, DirectoryComputersTakeTheirAccessNameOrAreLeftOut) {
  run_.SetObjects({{112, "PC1 entry", "LDAP://CN=PC1,OU=Desks,DC=corp,DC=test"},
                   {112, "Gone", "LDAP://CN=GONE,OU=Desks,DC=corp,DC=test"},
                   {112, "FS1 entry", "LDAP://dc1/CN=FS1,OU=Servers,DC=corp,DC=test"}});
  for (const auto& [settings, rows] :
       {std::pair<std::string, std::string>{"",
                                            "pc1.corp.test\tPC1\t112\t\t\t6\tWORKSTATION^NT\r\n"
                                            "fs1.corp.test\tFS1\t112\t\t\t10\tSERVER^NT\r\n"},
        {"UseNetbiosName=1\n",
         "PC1\tPC1\t112\t\t\t6\tWORKSTATION^NT\r\n"
         "FS1\tFS1\t112\t\t\t10\tSERVER^NT\r\n"}}) {
    Configure(settings);
    const RunResult result = run_.Run();
    const std::string file = run_.Output("computers.txt");
    EXPECT_EQ(file.substr(file.find("\r\n") + 2), rows);
    EXPECT_EQ(result.targets_processed, 2u) << "the missing computer is left out";
    EXPECT_EQ(run_.ProgressLines()[0],
              "0|52|LDAP://CN=GONE,OU=Desks,DC=corp,DC=test|Unable to retrieve AD computer name "
              "information for 'LDAP://CN=GONE,OU=Desks,DC=corp,DC=test'. There is no such "
              "object on the server.  -- Extended Error --- LDAP Provider : LDAP result 32");
  }
}

TEST_F(DirectoryTargets, FailingDirectoryIsReportedAndTheRunGoesOn) {
  run_.SetObjects({{114, "Busy", "LDAP://BUSYDC/OU=Desks,DC=corp,DC=test"},
                   {114, "Nowhere", "LDAP://NOSUCH/OU=Desks,DC=corp,DC=test"},
                   {24, "FS1", "\\\\FS1"}});
  Configure("", "MergeBrowseList=0\n");
  const RunResult result = run_.Run();
  const std::vector<std::string> rows = run_.ProgressLines();
  ASSERT_GE(rows.size(), 2u);
  EXPECT_EQ(rows[0],
            "0|52|LDAP://BUSYDC/OU=Desks,DC=corp,DC=test|Unable to execute directory search "
            "using filter '(&(objectCategory=computer))'. The directory service is busy.  -- "
            "Extended Error --- LDAP Provider : The directory service is busy.");
  EXPECT_EQ(rows[1],
            "0|52|LDAP://NOSUCH/OU=Desks,DC=corp,DC=test|Unable to open directory object "
            "'LDAP://NOSUCH/OU=Desks,DC=corp,DC=test'. The server is not operational.  -- "
            "Extended Error --- LDAP Provider : no directory server answers at 'ldap://NOSUCH'");
  EXPECT_EQ(result.targets_processed, 3u) << "the containers themselves stay in the list";
  const std::string file = run_.Output("computers.txt");
  EXPECT_EQ(file.substr(file.find("\r\n") + 2), "\\\\FS1\tFS1\t24\t\t\t10\tSERVER^NT\r\n");

  // The configured server wins over the one a path names.
  run_.SetConfiguration(
      "[Platform]\nDirectoryServer=ldap://dc1.corp.test\n[Computers]\nExportComputers=1\n"
      "ComputerColumns=1002\n");
  run_.Run();
  EXPECT_EQ(run_.Output("computers.txt"),
            "Object_Path\r\n\\\\pc1.corp.test\r\n\\\\PC2\r\n\\\\pc1.corp.test\r\n\\\\PC2\r\n"
            "\\\\FS1\r\n");
}

}  // namespace
}  // namespace tabulon::testing
