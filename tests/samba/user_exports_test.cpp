// The users and user-groups exports end to end against a real standalone
// smbd and a real AD domain controller, checked against what Samba's own
// client reports for the same accounts; and what each account costs in
// round trips once a session's handles are open.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "platform/remote/remote_backend.h"
#include "platform/remote/samr_codec.h"
#include "platform/samba/samba_transport.h"
#include "samba/remote_run.h"
#include "support/samba_dc.h"
#include "support/samba_server.h"
#include "support/server_required.h"

namespace tabulon::testing {
namespace {

constexpr const char* kTarget = "\\\\127.0.0.1";

// A server of either kind, with the logon its tests use.
struct RealServer {
  std::shared_ptr<void> running;
  std::string configuration;
  platform::Credentials login;
};

struct ServerKind {
  const char* name;
  std::function<RealServer(std::string& why_not)> start;
};

const ServerKind kServers[] = {
    {"StandaloneSmbd",
     [](std::string& why_not) {
       std::shared_ptr<SambaServer> server = SambaServer::Start(why_not);
       if (!server) return RealServer{};
       return RealServer{
           server, server->configuration(), {kSambaUser, platform::Secret(kSambaPassword), ""}};
     }},
    {"DomainController",
     [](std::string& why_not) {
       std::shared_ptr<SambaDomainController> dc = SambaDomainController::Start(why_not);
       if (!dc) return RealServer{};
       return RealServer{
           dc, dc->configuration(), {kDcAdmin, platform::Secret(kDcAdminPassword), kDcDomain}};
     }},
};

// The rows of an export file in order, its header line first.
std::string SortedRows(const std::string& file) {
  std::vector<std::string> lines;
  std::istringstream in(file);
  for (std::string line; std::getline(in, line);) lines.push_back(line + "\n");
  if (lines.size() > 1) std::sort(lines.begin() + 1, lines.end());
  std::string out;
  for (const std::string& line : lines) out += line;
  return out;
}

std::vector<std::smatch> Matches(const std::string& text, const std::regex& pattern) {
  return {std::sregex_iterator(text.begin(), text.end(), pattern), std::sregex_iterator()};
}

std::string Field(const std::string& text, const std::string& label) {
  const std::regex line("\t" + label + "\\s*:\t([^\n]*)\n");
  std::smatch match;
  return std::regex_search(text, match, line) ? match[1].str() : "?";
}

// The first group of `pattern` in `text`.
std::string Group(const std::string& text, const char* pattern) {
  std::smatch match;
  return std::regex_search(text, match, std::regex(pattern)) ? match[1].str() : "?";
}

class UserExports : public ::testing::TestWithParam<ServerKind> {
 protected:
  void SetUp() override {
    if (const std::string& why_not = IsolateNetwork(); !why_not.empty())
      SKIP_WITHOUT_SERVER(why_not);
    std::string why_not;
    server_ = GetParam().start(why_not);
    if (!server_.running) SKIP_WITHOUT_SERVER(why_not);
  }

  // Samba's own client against the same server, with the same logon.
  std::string RpcClient(const std::string& commands) const {
    const platform::Credentials& c = server_.login;
    const std::string user = c.domain.empty() ? c.username : c.domain + "\\" + c.username;
    std::string out;
    RunCommand("rpcclient -s " + server_.configuration + " -U '" + user + "%" +
                   c.password.reveal() + "' --use-kerberos=off -c '" + commands + "' 127.0.0.1",
               out);
    return out;
  }

  // "name (use)" lines of samlookuprids, as names in RID order.
  std::vector<std::string> Names(const char* domain, const std::string& rids_output) {
    std::string rids;
    for (const std::smatch& m : Matches(rids_output, std::regex(R"(rid:\[(0x[0-9a-f]+)\])"))) {
      rids += " " + m[1].str();
    }
    std::vector<std::string> names;
    if (rids.empty()) return names;
    const std::string named = RpcClient(std::string("samlookuprids ") + domain + rids);
    for (const std::smatch& m : Matches(named, std::regex(R"(rid 0x[0-9a-f]+: (.*) \(\d+\)\n)"))) {
      names.push_back(m[1].str());
    }
    return names;
  }

  RealServer server_;
};

// Every account the server lists, with its names, comment, privilege level,
// RIDs and SID, and its groups: global ones (less "None") and the aliases of
// both domains.
TEST_P(UserExports, UsersAndTheirGroupsAsSambasClientReportsThem) {
  ScratchDir dir;
  RecordedMessages messages;
  const RunResult result = RunAgainstRealServers(
      dir, messages, std::string("1\t0\t24\t1\treserved\treserved\tSMB\t\t") + kTarget + "\r\n",
      "[Computers]\nPingEnable=0\n[Users]\nExportUsers=1\nExportUsersGroups=1\n"
      "UsersColumns=0,1,2,4,17,18,21\nUsersGroupsColumns=0,1,2\n",
      server_.login);
  ASSERT_FALSE(result.stopped_early) << messages.shown;
  EXPECT_EQ(messages.rows, "");

  std::string users = "UserName\tFullName\tComment\tPrivLevel\tRID\tPrimaryGroupRID\tUserSID\r\n";
  std::string groups = "UserName\tGroupName\tGroupType\r\n";
  const std::string listed = RpcClient("enumdomusers");
  const auto accounts = Matches(listed, std::regex(R"(user:\[([^\]]+)\] rid:\[(0x[0-9a-f]+)\])"));
  ASSERT_FALSE(accounts.empty()) << listed;
  for (const std::smatch& account : accounts) {
    const std::string name = account[1].str();
    const std::string rid = account[2].str();
    const std::string info = RpcClient("queryuser " + rid);
    std::smatch sid;
    const std::string looked_up = RpcClient("lookupnames " + name);
    ASSERT_TRUE(std::regex_search(looked_up, sid, std::regex(R"((S-1-5-21-[0-9-]+) \(User)")))
        << looked_up;
    // The privilege level: the built-in aliases of the account and its groups.
    const std::string member_of = RpcClient("queryusergroups " + rid);
    const std::string domain_sid = sid[1].str().substr(0, sid[1].str().rfind('-'));
    std::string sids = sid[1].str();
    for (const std::smatch& m : Matches(member_of, std::regex(R"(rid:\[(0x[0-9a-f]+)\])"))) {
      sids += " " + domain_sid + "-" + std::to_string(std::stoul(m[1].str(), nullptr, 16));
    }
    const std::string privileged = RpcClient("queryuseraliases builtin " + sids);
    const char* priv = privileged.find("rid:[0x220]") != std::string::npos   ? "ADMIN"
                       : privileged.find("rid:[0x221]") != std::string::npos ? "USER"
                                                                             : "GUEST";
    users += name + "\t" + Field(info, "Full Name") + "\t" + Field(info, "Description") + "\t" +
             priv + "\t" + std::to_string(std::stoul(rid, nullptr, 16)) + "\t" +
             std::to_string(std::stoul(Field(info, "group_rid"), nullptr, 16)) + "\t" +
             sid[1].str() + "\r\n";
    for (const std::string& group : Names("domain", member_of)) {
      if (group != "None") groups += name + "\t" + group + "\tGLOBAL\r\n";
    }
    for (const char* domain : {"domain", "builtin"}) {
      const std::string aliases =
          RpcClient(std::string("queryuseraliases ") + domain + " " + sid[1].str());
      for (const std::string& alias : Names(domain, aliases)) {
        groups += name + "\t" + alias + "\tLOCAL\r\n";
      }
    }
  }
  EXPECT_EQ(SortedRows(dir.Read("users.txt")), SortedRows(users));
  EXPECT_EQ(SortedRows(dir.Read("user_groups.txt")), SortedRows(groups));
}

// Counts the samr calls of a session by operation.
class CountingTransport final : public platform::remote::RpcTransport {
 public:
  CountingTransport(const platform::SessionOptions& options, std::map<std::uint16_t, int>& calls)
      : real_(options), calls_(calls) {}
  platform::remote::RpcReply Call(std::string_view server,
                                  const platform::remote::RpcInterface& iface, std::uint16_t opnum,
                                  std::span<const std::uint8_t> request) override {
    if (iface.pipe == "samr") ++calls_[opnum];
    return real_.Call(server, iface, opnum, request);
  }

 private:
  platform::samba::SambaTransport real_;
  std::map<std::uint16_t, int>& calls_;
};

// Once a listing has served an account, describing it costs opening,
// reading, its groups and closing: no connection, no domain, no alias and no
// name lookup of its own. Everything opened is closed when the
// session ends. The account settings agree with Samba's client.
TEST_P(UserExports, AccountsCostTheirOwnCallsAndSettingsMatch) {
  namespace samr = platform::remote::samr;
  std::map<std::uint16_t, int> calls;
  platform::remote::RemoteBackend backend(
      [&calls](const platform::SessionOptions& options) {
        return std::make_unique<CountingTransport>(options, calls);
      },
      nullptr);
  platform::SessionOptions options;
  options.credentials = &server_.login;
  options.call_timeout_ms = 30000;
  int accounts = 0;
  {
    auto session = backend.Open(kTarget, options);
    platform::UserAccounts& users = session->users();
    const platform::DisplayUsersResult page =
        users.NetQueryDisplayUsers(kTarget, 0, 100, platform::kMaxPreferredLength);
    ASSERT_EQ(page.status, win::ERROR_SUCCESS);
    for (const platform::DisplayUser& user : page.entries) {
      EXPECT_EQ(users.NetUserGetInfo(kTarget, user.name, 3).status, win::ERROR_SUCCESS);
    }
    accounts = static_cast<int>(page.entries.size());
    ASSERT_GT(accounts, 0);
    EXPECT_EQ(calls[samr::kSamrConnect2], 1);
    EXPECT_EQ(calls[samr::kSamrOpenDomain], 2);  // the account and built-in domains
    EXPECT_EQ(calls[samr::kSamrLookupNamesInDomain], 0);
    EXPECT_EQ(calls[samr::kSamrOpenUser], accounts);
    // The deciding built-in aliases are read once, not per account.
    EXPECT_EQ(calls[samr::kSamrGetAliasMembership], 0);
    EXPECT_LE(calls[samr::kSamrGetMembersInAlias], 5);

    // A name no listing served is looked up; one the server lacks is unknown.
    EXPECT_EQ(users.NetUserGetInfo(kTarget, "no-such-user", 3).status, win::NERR_UserNotFound);
    EXPECT_EQ(calls[samr::kSamrLookupNamesInDomain], 1);

    const std::string password_rules = RpcClient("getdompwinfo");
    const platform::UserModals0Result rules = session->user_modals().NetUserModalsGet0(kTarget);
    ASSERT_EQ(rules.status, win::ERROR_SUCCESS);
    EXPECT_EQ(std::to_string(rules.info.min_passwd_len),
              Group(password_rules, R"(min_password_length: (\d+))"))
        << password_rules;
    const platform::UserModals2Result domain = session->user_modals().NetUserModalsGet2(kTarget);
    ASSERT_EQ(domain.status, win::ERROR_SUCCESS);
    EXPECT_EQ(domain.domain_name,
              Group(RpcClient("enumdomains"), R"(name:\[((?!Builtin)[^\]]+)\])"));
    const std::string sid = RpcClient("lookupnames " + page.entries.front().name);
    EXPECT_NE(sid.find(domain.domain_id.ToString() + "-"), std::string::npos) << sid;
    EXPECT_EQ(session->user_modals().NetUserModalsGet3(kTarget).status, win::ERROR_SUCCESS);
  }
  // The connection, both domains, the aliases and every account opened.
  EXPECT_EQ(calls[samr::kSamrCloseHandle], 3 + calls[samr::kSamrGetMembersInAlias] + accounts);
}

INSTANTIATE_TEST_SUITE_P(RealServers, UserExports, ::testing::ValuesIn(kServers),
                         [](const auto& param_info) { return std::string(param_info.param.name); });

}  // namespace
}  // namespace tabulon::testing
