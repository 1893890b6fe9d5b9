// The groups, group members, rights and policies exports end to end against
// a real standalone smbd and a real AD domain controller, checked against
// what Samba's own clients report for the same server.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/remote/remote_backend.h"
#include "samba/remote_run.h"
#include "support/samba_dc.h"
#include "support/samba_server.h"
#include "support/server_process.h"
#include "support/server_required.h"

namespace tabulon::testing {
namespace {

// Every first capture of `pattern` in `text`, in order.
std::vector<std::string> Captures(const std::string& text, const std::string& pattern) {
  std::vector<std::string> found;
  const std::regex re(pattern);
  for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator();
       ++it) {
    found.push_back((*it)[1]);
  }
  return found;
}

// The local groups as rpcclient lists them: the built-in aliases, then the
// account domain's, each with its RID.
std::vector<std::pair<std::string, std::string>> ListedAliases(const std::string& builtin,
                                                               const std::string& domain) {
  std::vector<std::pair<std::string, std::string>> aliases;
  const std::regex re("group:\\[([^\\]]+)\\] rid:\\[(0x[0-9a-f]+)\\]");
  for (const std::string* text : {&builtin, &domain}) {
    for (auto it = std::sregex_iterator(text->begin(), text->end(), re);
         it != std::sregex_iterator(); ++it) {
      aliases.emplace_back((*it)[1], (*it)[2]);
    }
  }
  return aliases;
}

// "right\ttrustee" for each row of a rights file that names a trustee;
// `asked` gets every right the file has rows for.
std::set<std::string> ExportedHoldings(const std::string& rights, std::set<std::string>& asked) {
  std::set<std::string> held;
  std::istringstream lines(rights);
  std::string line;
  std::getline(lines, line);  // title
  while (std::getline(lines, line)) {
    std::vector<std::string> fields;
    std::istringstream row(line.substr(0, line.size() - 1));  // CR
    for (std::string field; std::getline(row, field, '\t');) fields.push_back(field);
    asked.insert(fields.at(0));
    const std::string& trustee = fields.at(2);
    if (trustee != "(None)" && trustee.rfind("ERROR", 0) != 0)
      held.insert(fields[0] + "\t" + trustee);
  }
  return held;
}

// The same as rpcclient reads the policy, for the rights `asked`: each SID
// holding a right, named by lookupsids.
std::set<std::string> LsaHoldings(const std::function<std::string(const std::string&)>& rpc,
                                  const std::set<std::string>& asked) {
  std::set<std::string> held;
  for (const std::string& sid : Captures(rpc("lsaenumsid"), "\n(S-1-[0-9-]+)")) {
    const std::string named = rpc("lookupsids " + sid);
    std::smatch m;
    if (!std::regex_search(named, m, std::regex(sid + " ([^\\n]+) \\([0-9]+\\)"))) continue;
    for (const std::string& right : Captures(rpc("lsaenumacctrights " + sid), "\t(Se\\w+)")) {
      if (asked.contains(right)) held.insert(right + "\t" + m[1].str());
    }
  }
  return held;
}

// A standalone server with local groups of both domains: members that are a
// user, a global group, a well-known group and SIDs nobody knows; an empty
// group; a right given to a built-in group.
class StandaloneGroupExports : public SambaServerSuite {
 protected:
  static void SetUpTestSuite() {
    SambaServerSuite::SetUpTestSuite();
    if (server_) why_not_ = server_->MakeTestUserAdministrator();
    if (!why_not_.empty()) {
      server_.reset();
      return;
    }
    std::smatch m;
    const std::string user = Rpc("lookupnames tabtest");
    if (!std::regex_search(user, m, std::regex("(S-1-5-21-[0-9-]+)-1000 "))) {
      why_not_ = "no SID for the test user: " + user;
      server_.reset();
      return;
    }
    domain_sid_ = m[1];
    const std::string conf = " -s " + server_->configuration();
    for (const std::string& command : std::vector<std::string>{
             "net groupmap add sid=S-1-5-32-545 type=local ntgroup=Users unixgroup=users",
             "net groupmap add rid=3000 type=local ntgroup=Staff unixgroup=staff "
             "'comment=Office staff'",
             "net groupmap add rid=3001 type=local ntgroup=Empty unixgroup=adm",
             "net groupmap addmem S-1-5-32-545 " + domain_sid_ + "-1000",
             "net groupmap addmem S-1-5-32-545 S-1-1-0",
             "net groupmap addmem S-1-5-32-545 " + domain_sid_ + "-513",
             "net groupmap addmem " + domain_sid_ + "-3000 " + domain_sid_ + "-7777",
             "net groupmap addmem " + domain_sid_ + "-3000 S-1-5-21-1-2-3-4",
             "net sam rights grant 'BUILTIN\\Users' SeShutdownPrivilege",
         }) {
      std::string out;
      if (RunCommand(command + conf, out) != 0) why_not_ = command + ": " + out;
    }
    if (!why_not_.empty()) server_.reset();
  }

  static std::string Rpc(const std::string& command) {
    return CommandOutput("rpcclient -s " + server_->configuration() + " -U " + kSambaUser + "%" +
                         kSambaPassword + " -c '" + command + "' 127.0.0.1");
  }
  // Run against the server by its name, so that its own accounts are local.
  RunResult Run(const std::string& ini) {
    return RunAgainstRealServers(dir_, messages_,
                                 "1\t0\t24\t1\treserved\treserved\tSMB\t\t\\\\TABULONTEST\r\n",
                                 "[Computers]\nPingEnable=0\n" + ini, *TestUserLogin().credentials);
  }

  static std::string domain_sid_;
  ScratchDir dir_;
  RecordedMessages messages_;
};
std::string StandaloneGroupExports::domain_sid_;

// Groups and members in the order the server lists them; the global group
// member is expanded, which needs a controller this server's domain lacks.
TEST_F(StandaloneGroupExports, GroupsAndMembersAsRpcclientListsThem) {
  const RunResult result =
      Run("[Groups]\nExportGroups=1\nGroupsColumns=0,1,2,3\nExportGroupMembers=1\n"
          "MembersColumns=0,1,2,3\nExportNestedGroups=1\nExportUnresolvedSids=1\n"
          "ExportEmptyGroups=1\n");
  ASSERT_FALSE(result.stopped_early) << messages_.shown;

  const std::map<std::string, std::string> comments{
      {"Users", "Local Unix group"}, {"Staff", "Office staff"}, {"Empty", "Local Unix group"}};
  const std::map<std::string, std::string> members{
      {domain_sid_ + "-1000", "TABULONTEST\\tabtest\tUSER"},
      {domain_sid_ + "-513", "TABULONTEST\\None\tGLOBAL_GROUP"},
      {"S-1-1-0", "Everyone\tWELL_KNOWN_GROUP"},
      {domain_sid_ + "-7777", domain_sid_ + "-7777\tUnknown Account"},
      {"S-1-5-21-1-2-3-4", "S-1-5-21-1-2-3-4\tUnknown Account"}};
  const auto aliases = ListedAliases(Rpc("enumalsgroups builtin"), Rpc("enumalsgroups domain"));
  ASSERT_EQ(aliases.size(), 3u);
  std::string groups = "GroupName\tGroupComment\tGroupType\tGroupSID\r\n";
  std::string listed = "GroupName\tMemberName\tMemberType\tGroupType\r\n";
  for (const auto& [name, rid] : aliases) {
    const bool builtin = name == "Users";
    const std::string sid =
        builtin ? "S-1-5-32-545" : domain_sid_ + "-" + std::to_string(std::stoul(rid, nullptr, 16));
    groups += name + "\t" + comments.at(name) + "\tLOCAL\t" + sid + "\r\n";
    const std::vector<std::string> sids =
        Captures(Rpc("queryaliasmem " + std::string(builtin ? "builtin " : "domain ") + rid),
                 "sid:\\[([^\\]]+)\\]");
    if (sids.empty()) listed += name + "\tNO_MEMBERS\t\t\r\n";
    for (const std::string& member : sids) {
      listed += name + "\t" + members.at(member) + "\tLOCAL\r\n";
    }
  }
  EXPECT_EQ(dir_.Read("groups.txt"), groups);
  EXPECT_EQ(dir_.Read("group_members.txt"), listed);
  EXPECT_EQ(messages_.rows,
            "SMB: Unable to determine server for domain 'TABULONTEST' for group 'None'\n");
}

// Samba knows no logon rights: each is one failure row, and the run goes on.
TEST_F(StandaloneGroupExports, RightsAsTheServersPolicyHoldsThem) {
  const RunResult result = Run("[Security]\nExportRights=1\nRightsColumns=0,1,2,3\n");
  ASSERT_FALSE(result.stopped_early) << messages_.shown;
  const std::string rights = dir_.Read("rights.txt");
  std::set<std::string> asked;
  const std::set<std::string> exported = ExportedHoldings(rights, asked);
  EXPECT_EQ(exported, LsaHoldings(Rpc, asked));
  for (const char* row : {"SeNetworkLogonRight\tSeNetworkLogonRight\tERROR: -1073741728\t\r\n",
                          "SeShutdownPrivilege\tShutdown the system\tBUILTIN\\Users\tALIAS\r\n"}) {
    EXPECT_NE(rights.find(row), std::string::npos) << row << rights;
  }
  EXPECT_EQ(messages_.rows, "");
}

// The audit fields against `net rpc audit list`; the account policy fields
// belong to another family and are left out.
TEST_F(StandaloneGroupExports, AuditPolicyAsNetRpcListsIt) {
  const RunResult result =
      Run("[Policy]\nExportPolicies=1\n"
          "PoliciesColumns=8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26\n");
  ASSERT_FALSE(result.stopped_early) << messages_.shown;
  const std::string listed =
      CommandOutput("net rpc audit list -s " + server_->configuration() + " -U " + kSambaUser +
                    "%" + kSambaPassword + " -I 127.0.0.1");
  ASSERT_NE(listed.find("Auditing:\t\tEnabled"), std::string::npos) << listed;
  std::string row = "TRUE";
  const std::vector<std::string> settings =
      Captures(listed, "\n\t[A-Za-z ]+?  +(Success, Failure|Success|Failure|No Auditing)");
  ASSERT_EQ(settings.size(), 7u) << listed;
  for (std::size_t category = 0; category < 9; ++category) {
    const std::string setting = category < settings.size() ? settings[category] : "";
    row += setting.rfind("Success", 0) == 0 ? "\tTRUE" : "\t";
    row += setting.find("Failure") != std::string::npos ? "\tTRUE" : "\t";
  }
  const std::string policy = dir_.Read("policy.txt");
  EXPECT_EQ(policy.substr(policy.find("\r\n") + 2), row + "\r\n");
}

class ControllerGroupExports : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (const std::string& why_not = IsolateNetwork(); !why_not.empty()) {
      why_not_ = why_not;
      return;
    }
    dc_ = SambaDomainController::Start(why_not_);
  }
  static void TearDownTestSuite() { dc_.reset(); }
  void SetUp() override {
    if (!dc_) SKIP_WITHOUT_SERVER(why_not_);
  }

  static std::string Rpc(const std::string& command) {
    return CommandOutput("rpcclient -s " + dc_->configuration() + " -U '" + kDcDomain + "\\" +
                         kDcAdmin + "%" + kDcAdminPassword + "' --use-kerberos=off -c '" + command +
                         "' 127.0.0.1");
  }
  static const platform::Credentials& Admin() {
    static const platform::Credentials admin{kDcAdmin, platform::Secret(kDcAdminPassword),
                                             kDcDomain};
    return admin;
  }
  RunResult Run(const std::string& ini) {
    return RunAgainstRealServers(
        dir_, messages_,
        std::string("1\t0\t24\t1\treserved\treserved\tDC\t\t\\\\") + kDcHost + "\r\n",
        "[Computers]\nPingEnable=0\n" + ini, Admin());
  }

  static std::unique_ptr<SambaDomainController> dc_;
  static std::string why_not_;
  ScratchDir dir_;
  RecordedMessages messages_;
};
std::unique_ptr<SambaDomainController> ControllerGroupExports::dc_;
std::string ControllerGroupExports::why_not_;

// Administrators holds two domain groups and a domain user; the groups are
// expanded into their members on the controller the domain names.
TEST_F(ControllerGroupExports, AdministratorsWithDomainGroupsExpanded) {
  dir_.Write("groups.lst", "Administrators\n");
  const RunResult result =
      Run("[Groups]\nExportGroupMembers=1\nMembersColumns=0,1,2,3\nExportNestedGroups=1\n"
          "ExportSpecificGroups=1\nSpecificFileName=" +
          dir_.File("groups.lst") + "\n");
  ASSERT_FALSE(result.stopped_early) << messages_.shown;
  // The same members as the server's own answer, in the order it gives them
  // (a freshly provisioned controller does not always give the same one).
  const std::string domain = Captures(Rpc("lsaquery"), "Domain Sid: (S-1-5-21-[0-9-]+)").at(0);
  const std::vector<std::string> members =
      Captures(Rpc("queryaliasmem builtin 0x220"), "sid:\\[([^\\]]+)\\]");
  EXPECT_EQ(std::multiset<std::string>(members.begin(), members.end()),
            (std::multiset<std::string>{domain + "-512", domain + "-519", domain + "-500"}));
  EXPECT_EQ(Captures(Rpc("querygroupmem 0x200"), "rid:\\[([^\\]]+)\\]"),
            std::vector<std::string>{"0x1f4"});
  const std::map<std::string, std::string> rows = {
      {domain + "-512",
       "Administrators\tTABTEST\\Domain Admins\tGLOBAL_GROUP\tLOCAL\r\n"
       "Administrators\tAdministrator\tDOMAIN_MEMBER (TABTEST\\Domain Admins)\tLOCAL\r\n"},
      {domain + "-519",
       "Administrators\tTABTEST\\Enterprise Admins\tGLOBAL_GROUP\tLOCAL\r\n"
       "Administrators\tAdministrator\tDOMAIN_MEMBER (TABTEST\\Enterprise Admins)\tLOCAL\r\n"},
      {domain + "-500", "Administrators\tTABTEST\\Administrator\tUSER\tLOCAL\r\n"},
  };
  std::string expected = "GroupName\tMemberName\tMemberType\tGroupType\r\n";
  for (const std::string& sid : members) {
    if (rows.count(sid) != 0) expected += rows.at(sid);
  }
  EXPECT_EQ(dir_.Read("group_members.txt"), expected);
  EXPECT_EQ(messages_.rows, "");
}

// Every local group of the controller, and the rights its policy gives,
// built-in groups holding most of them.
TEST_F(ControllerGroupExports, LocalGroupsAndRightsAsRpcclientListsThem) {
  const RunResult result =
      Run("[Groups]\nExportGroups=1\nGroupsColumns=0\n"
          "[Security]\nExportRights=1\nRightsColumns=0,1,2,3\n");
  ASSERT_FALSE(result.stopped_early) << messages_.shown;
  std::string groups = "GroupName\r\n";
  for (const auto& [name, rid] :
       ListedAliases(Rpc("enumalsgroups builtin"), Rpc("enumalsgroups domain"))) {
    groups += name + "\r\n";
  }
  EXPECT_EQ(dir_.Read("groups.txt"), groups);

  const std::string rights = dir_.Read("rights.txt");
  std::set<std::string> asked;
  const std::set<std::string> exported = ExportedHoldings(rights, asked);
  EXPECT_EQ(exported, LsaHoldings(Rpc, asked));
  for (const char* row : {"SeBackupPrivilege\tBack up files and directories\t"
                          "BUILTIN\\Backup Operators\tALIAS\r\n",
                          "SeMachineAccountPrivilege\tAdd machines to domain\t(None)\t\r\n"}) {
    EXPECT_NE(rights.find(row), std::string::npos) << row << rights;
  }
  EXPECT_EQ(messages_.rows, "");
}

// Groups are found by name whatever its case, global groups among the
// global ones only, with the texts Samba's own client shows.
TEST_F(ControllerGroupExports, GroupCallsAsTheControllerAnswersThem) {
  platform::remote::RemoteBackend backend(SambaTransports, nullptr);
  platform::SessionOptions options;
  options.credentials = &Admin();
  const std::string server = std::string("\\\\") + kDcHost;
  auto session = backend.Open(server, options);
  platform::GroupService& groups = session->groups();
  const platform::GroupInfoResult admins = groups.NetGroupGetInfo1(server, "domain admins");
  ASSERT_EQ(admins.status, win::ERROR_SUCCESS);
  EXPECT_EQ(admins.info.name, "Domain Admins");
  EXPECT_EQ(Captures(Rpc("querygroup 0x200"), "Description:\t([^\n]*)"),
            std::vector<std::string>{admins.info.comment});
  EXPECT_EQ(groups.NetLocalGroupGetInfo1(server, "ADMINISTRATORS").info.name, "Administrators");
  EXPECT_EQ(groups.NetLocalGroupGetInfo1(server, "Domain Admins").status, win::NERR_GroupNotFound);
  EXPECT_EQ(groups.NetGroupGetUsers0(server, "Administrators", 65536, 0).status,
            win::NERR_GroupNotFound);
}

}  // namespace
}  // namespace tabulon::testing
