// The LDAP client against a real Active Directory domain controller: the
// Kerberos bind a domain expects and what its failures say, the refusal of
// a password over a connection TLS does not protect, the attribute syntaxes
// of a real schema, and the shipped membership queries over a domain whose
// users and groups fill many pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/directory_status.h"
#include "platform/ldap/dc_locator.h"
#include "platform/ldap/ldap_directory.h"
#include "support/e2e.h"
#include "support/ldap_search_backend.h"
#include "support/samba_dc.h"
#include "support/samba_server.h"
#include "support/server_required.h"

namespace tabulon::testing {
namespace {

using platform::DirectoryHresult;
using platform::DirectoryValueKind;

constexpr const char* kDomainDn = "DC=tabtest,DC=lan";
// Users and groups of their own units: with pages of kPageSize entries,
// each search below the domain takes more than four pages.
constexpr int kUsers = 260;
constexpr int kGroups = 220;
constexpr std::uint32_t kPageSize = 50;

std::string Numbered(const char* prefix, int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%s%03d", prefix, n);
  return text;
}
std::string UserDn(int i) {
  return "CN=" + Numbered("pu", i) + ",OU=Paged Users," + kDomainDn;
}
std::string GroupDn(int k) {
  return "CN=" + Numbered("pg", k) + ",OU=Paged Groups," + kDomainDn;
}
// The groups user `i` is a member of.
std::vector<int> GroupsOf(int i) {
  std::vector<int> groups = {(i - 1) % kGroups + 1};
  if (const int other = (3 * i) % kGroups + 1; other != groups.front()) groups.push_back(other);
  return groups;
}

// The users and groups, added offline to a copy of the provisioned domain;
// pg001 holds pg002 as well, whose members are its indirect members.
std::string MembershipLdif() {
  std::string out;
  for (const char* unit : {"Paged Users", "Paged Groups"}) {
    out +=
        std::string("dn: OU=") + unit + "," + kDomainDn + "\nobjectClass: organizationalUnit\n\n";
  }
  for (int i = 1; i <= kUsers; ++i) {
    out += "dn: " + UserDn(i) + "\nobjectClass: user\nsAMAccountName: " + Numbered("pu", i) +
           "\nuserAccountControl: 544\n\n";
  }
  std::vector<std::vector<int>> members(kGroups + 1);
  for (int i = 1; i <= kUsers; ++i) {
    for (const int k : GroupsOf(i)) members[static_cast<std::size_t>(k)].push_back(i);
  }
  for (int k = kGroups; k >= 1; --k) {  // pg002 before pg001, which holds it
    out +=
        "dn: " + GroupDn(k) + "\nobjectClass: group\nsAMAccountName: " + Numbered("pg", k) + "\n";
    for (const int i : members[static_cast<std::size_t>(k)]) out += "member: " + UserDn(i) + "\n";
    if (k == 1) out += "member: " + GroupDn(2) + "\n";
    out += "\n";
  }
  return out;
}

std::vector<std::vector<std::string>> Rows(const std::string& file) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(file);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> cells;
    std::size_t start = 0;
    for (std::size_t tab = line.find('\t'); tab != std::string::npos;
         tab = line.find('\t', start)) {
      cells.push_back(line.substr(start, tab - start));
      start = tab + 1;
    }
    cells.push_back(line.substr(start));
    rows.push_back(std::move(cells));
  }
  return rows;
}

class DirectoryOfADomain : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!IsolateNetwork().empty()) {
      why_not_ = "no isolated network: " + IsolateNetwork();
      return;
    }
    const std::string domain =
        SambaDomainController::PopulatedDomain("paged", MembershipLdif(), why_not_);
    if (!domain.empty()) dc_ = SambaDomainController::Start(why_not_, domain);
  }
  static void TearDownTestSuite() { dc_.reset(); }
  void SetUp() override {
    if (dc_ == nullptr) SKIP_WITHOUT_SERVER(why_not_);
    ::setenv("KRB5_CONFIG", dc_->kerberos_configuration().c_str(), 1);
    ::setenv("KRB5CCNAME", ("FILE:" + dc_->folder() + "/ldap-ccache").c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("KRB5_CONFIG");
    ::unsetenv("KRB5CCNAME");
  }

  static platform::DirectoryOpenOptions Options() {
    platform::DirectoryOpenOptions options;
    options.server = std::string("ldap://") + kDcHost;
    options.base = kDomainDn;
    options.timeout_ms = 30000;
    return options;
  }
  // The authority of the certificate the controller made itself.
  static std::string CaFile() { return dc_->folder() + "/private/tls/ca.pem"; }
  static const platform::Credentials* Administrator() {
    static const platform::Credentials admin{kDcAdmin, platform::Secret(kDcAdminPassword),
                                             kDcDomain};
    return &admin;
  }
  static const platform::Credentials* Tickets() {
    static const platform::Credentials tickets{"", {}, "", true};
    return &tickets;
  }
  // A ticket for the administrator in the test's own cache.
  static void Kinit() {
    std::string output;
    if (RunCommand(std::string("echo '") + kDcAdminPassword + "' | kinit " + kDcAdmin + "@" +
                       kDcKerberosRealm,
                   output) != 0) {
      SKIP_WITHOUT_SERVER("kinit failed (is krb5-user installed?): " + output);
    }
  }

  static std::unique_ptr<SambaDomainController> dc_;
  static std::string why_not_;
};
std::unique_ptr<SambaDomainController> DirectoryOfADomain::dc_;
std::string DirectoryOfADomain::why_not_;

// The controller would refuse a simple bind without TLS (strong
// authentication required), but only after it has the password: the client
// refuses first, whether the server is named or located through DNS. Over
// ldaps:// the same bind is accepted.
TEST_F(DirectoryOfADomain, PasswordsAreNotSentInTheClear) {
  auto directory = platform::ldap::MakeLdapDirectorySearch({});
  for (const auto& [server, refused_at] :
       {std::pair{std::string("ldap://") + kDcHost, std::string("ldap://") + kDcHost},
        std::pair{std::string("ldap://"), std::string("ldap://") + kDcHost + ":389"}}) {
    SCOPED_TRACE(server);
    platform::DirectoryOpenOptions options = Options();
    options.server = server;
    options.credentials = Administrator();
    const platform::DirectoryStatus status = directory->Open(options);
    EXPECT_EQ(status.status, DirectoryHresult(win::ERROR_DS_CONFIDENTIALITY_REQUIRED))
        << status.extended_text;
    EXPECT_NE(status.extended_text.find("is not sent in the clear to " + refused_at + ":"),
              std::string::npos)
        << status.extended_text;
  }
  platform::DirectoryOpenOptions options = Options();
  options.server = std::string("ldaps://") + kDcHost;
  options.ca_file = CaFile();
  options.credentials = Administrator();
  const platform::DirectoryStatus status = directory->Open(options);
  EXPECT_TRUE(status.ok()) << std::hex << status.status << " " << status.extended_text;
}

TEST_F(DirectoryOfADomain, KerberosBindReadsTheSchemaAndTheDomain) {
  Kinit();
  platform::SessionOptions session;
  session.credentials = Tickets();
  auto directory = platform::ldap::MakeLdapDirectorySearch(session);
  // No server named: the domain's controller as its DNS lists it.
  platform::DirectoryOpenOptions options = Options();
  options.server = "ldap://";
  const platform::DirectoryStatus opened = directory->Open(options);
  ASSERT_TRUE(opened.ok()) << std::hex << opened.status << " " << opened.extended_text;

  platform::AttributeKinds kinds;
  ASSERT_TRUE(platform::ReadAttributeKinds(
                  *directory, std::string("CN=Schema,CN=Configuration,") + kDomainDn, kinds)
                  .ok());
  EXPECT_GT(kinds.size(), 1000u);  // more than a page: the schema is read paged
  EXPECT_EQ(kinds["objectsid"], DirectoryValueKind::kOctetString);
  EXPECT_EQ(kinds["objectguid"], DirectoryValueKind::kOctetString);
  EXPECT_EQ(kinds["pwdlastset"], DirectoryValueKind::kLargeInteger);
  EXPECT_EQ(kinds["useraccountcontrol"], DirectoryValueKind::kInteger);
  EXPECT_EQ(kinds["member"], DirectoryValueKind::kDnString);
  EXPECT_EQ(kinds["ntsecuritydescriptor"], DirectoryValueKind::kSecurityDescriptor);
  EXPECT_EQ(kinds["whencreated"], DirectoryValueKind::kUtcTime);

  platform::SearchRequest request;
  request.filter = "(&(objectCategory=computer)(sAMAccountName=DC1$))";
  request.attributes = {"dNSHostName", "objectSid", "userAccountControl"};
  request.kinds = &kinds;
  std::vector<platform::DirectoryEntry> found;
  ASSERT_TRUE(directory
                  ->Search(request,
                           [&](platform::DirectoryEntry&& e) {
                             found.push_back(std::move(e));
                             return true;
                           })
                  .ok());
  ASSERT_EQ(found.size(), 1u);
  ASSERT_NE(found[0].Find("dnshostname"), nullptr);
  EXPECT_EQ(found[0].Find("dnshostname")->values.front(), kDcHost);
  EXPECT_EQ(found[0].Find("objectsid")->kind, DirectoryValueKind::kOctetString);
}

// Without a ticket the bind fails as a Windows logon without a logon
// session does; a server the realm has no service principal for takes no
// Kerberos logons (here the controller named by its address).
TEST_F(DirectoryOfADomain, KerberosFailuresAreNamed) {
  platform::SessionOptions session;
  session.credentials = Tickets();
  auto directory = platform::ldap::MakeLdapDirectorySearch(session);
  platform::DirectoryStatus status = directory->Open(Options());
  EXPECT_EQ(status.status, DirectoryHresult(win::ERROR_NO_SUCH_LOGON_SESSION));
  EXPECT_NE(status.extended_text.find("no Kerberos ticket in the ticket cache (kinit first)"),
            std::string::npos)
      << status.extended_text;

  Kinit();
  platform::DirectoryOpenOptions by_address = Options();
  by_address.server = "ldap://127.0.0.1";
  status = directory->Open(by_address);
  EXPECT_EQ(status.status, DirectoryHresult(win::ERROR_DS_AUTH_METHOD_NOT_SUPPORTED));
  EXPECT_NE(status.extended_text.find("the server has no Kerberos service principal"),
            std::string::npos)
      << status.extended_text;
  EXPECT_TRUE(directory->Open(Options()).ok());
}

TEST_F(DirectoryOfADomain, ControllersAreLocatedThroughDns) {
  const platform::ldap::LocatedControllers located =
      platform::ldap::LocateDomainControllers(kDcRealm);
  ASSERT_TRUE(located.status.ok()) << located.status.extended_text;
  ASSERT_EQ(located.controllers.size(), 1u);
  EXPECT_EQ(located.controllers[0].host, kDcHost);
  EXPECT_EQ(located.controllers[0].port, 389);
  EXPECT_EQ(platform::ldap::LocateDomainControllers("nowhere.invalid").status.status,
            DirectoryHresult(win::ERROR_NO_SUCH_DOMAIN));
}

// The shipped membership queries, end to end, with pages of 50: every user
// and every group of more than four pages has its rows, and nothing fails.
// The controller keeps ten paged searches per connection, so the reads and
// searches made for each object must not share the connection of the page
// loop.
TEST_F(DirectoryOfADomain, MembershipQueriesReadEveryPage) {
  EndToEnd run;
  run.SetEstate(R"({"local_computer": "ADMIN", "domains": [{"name": "TABTEST",
    "dns_name": "tabtest.lan", "controller": "DC1"}], "computers": [
    {"name": "DC1", "domain": "TABTEST"}, {"name": "ADMIN"}]})");
  std::ifstream shipped(TABULON_SOURCE_DIR "/data/directoryqueries.cfg", std::ios::binary);
  run.dir().Write("DirectoryQueries.CFG", std::string(std::istreambuf_iterator<char>(shipped), {}));
  run.SetConfiguration(
      "[General]\nWriteTitles=0\nEnableLogging=1\nLogFileName=log.txt\n"
      "[Templates]\nDirectoryTemplates=User group assignments;Groups and members;\n"
      "[Platform]\nTimeout=60\nDirectoryServer=ldaps://" +
      std::string(kDcHost) + "\nDirectoryCaFile=" + CaFile() + "\n");
  run.SetObjects({{101, "tabtest.lan", std::string("LDAP://") + kDomainDn}});
  LdapSearchBackend ldap(*run.platform().sessions, *Administrator(), kPageSize);
  run.platform().sessions = &ldap;
  run.Run(false);
  EXPECT_TRUE(run.observer().failure_rows.empty()) << run.observer().failure_rows.front();
  EXPECT_EQ(run.Output("log.txt").find("\tERROR\t"), std::string::npos) << run.Output("log.txt");

  // samaccountname, adspath, then the group's cn, grouptype, %IS_PRIMARY%.
  std::set<std::tuple<std::string, std::string, std::string>> assignments;
  for (const std::vector<std::string>& row : Rows(run.Output("ad_user_groups.txt"))) {
    ASSERT_EQ(row.size(), 5u);
    if (row[0].starts_with("pu")) assignments.emplace(row[0], row[2], row[4]);
  }
  std::set<std::tuple<std::string, std::string, std::string>> expected;
  for (int i = 1; i <= kUsers; ++i) {
    expected.emplace(Numbered("pu", i), "Domain Users", "YES");
    for (const int k : GroupsOf(i)) expected.emplace(Numbered("pu", i), Numbered("pg", k), "");
  }
  EXPECT_EQ(assignments, expected);

  // cn, grouptype, description, adspath, then the member's cn,
  // samaccountname, useraccountcontrol, %IS_PRIMARY%,
  // %INDIRECT_MEMBER_PARENT%.
  std::set<std::tuple<std::string, std::string, std::string>> members;
  std::set<std::string> primary_members;
  for (const std::vector<std::string>& row : Rows(run.Output("ad_group_members.txt"))) {
    ASSERT_EQ(row.size(), 9u);
    if (row[0].starts_with("pg")) members.emplace(row[0], row[4], row[8]);
    if (row[0] == "Domain Users" && row[7] == "YES") primary_members.insert(row[4]);
  }
  expected.clear();
  const std::string nested_parent = "LDAP://" + GroupDn(2);
  for (int i = 1; i <= kUsers; ++i) {
    for (const int k : GroupsOf(i)) {
      expected.emplace(Numbered("pg", k), Numbered("pu", i), "");
      if (k == 2) expected.emplace("pg001", Numbered("pu", i), nested_parent);
    }
  }
  expected.emplace("pg001", "pg002", "");
  EXPECT_EQ(members, expected);
  for (int i = 1; i <= kUsers; ++i) {
    EXPECT_EQ(primary_members.count(Numbered("pu", i)), 1u) << Numbered("pu", i);
  }
}

}  // namespace
}  // namespace tabulon::testing
