// The SAM and LSA calls of the account exports against real servers, through
// the transport alone: what the decoders read is compared with what Samba's
// own client reads from the same server, or with the policy the test set.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "platform/remote/lsarpc_codec.h"
#include "platform/remote/lsarpc_policy_codec.h"
#include "platform/remote/remote_call.h"
#include "platform/remote/samr_codec.h"
#include "platform/remote/samr_domain_codec.h"
#include "platform/remote/samr_group_codec.h"
#include "platform/remote/samr_user_codec.h"
#include "platform/samba/samba_transport.h"
#include "support/samba_dc.h"
#include "support/samba_server.h"

namespace tabulon::testing {
namespace {

namespace remote = platform::remote;
namespace samr = remote::samr;
namespace lsarpc = remote::lsarpc;
using platform::Sid;
using remote::ndr::ContextHandle;

constexpr const char* kHost = "\\\\127.0.0.1";
// The account domain of the standalone server.
constexpr const char* kStandaloneDomain = "TABULONTEST";
constexpr std::uint32_t kWhole = 0xFFFF;
// USER_NORMAL_ACCOUNT: the users rpcclient enumdomusers lists.
constexpr std::uint32_t kNormalAccount = 0x10;

std::string Shell(const std::string& command) {
  std::string output;
  RunCommand(command + " 2>&1", output);
  return output;
}

// Every match of `pattern`'s first group, and its second when it has one.
std::map<std::string, std::string> Matches(const std::string& text, const std::string& pattern) {
  std::map<std::string, std::string> found;
  const std::regex re(pattern);
  for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator();
       ++it) {
    found[(*it)[1]] = it->size() > 2 ? (*it)[2].str() : "";
  }
  return found;
}

// A line "Label   :\tvalue" (perhaps indented by a tab) of rpcclient.
std::string Field(const std::string& text, const std::string& label) {
  std::smatch m;
  const std::regex line("(?:^|\n)\t?" + label + " *:\t([^\n]*)");
  return std::regex_search(text, m, line) ? m[1].str() : "?";
}

std::string Hex(std::uint32_t value, int width = 0) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*x", width, value);
  return text;
}

// The calls of one session, each reply decoded.
class Wire {
 public:
  explicit Wire(const platform::SessionOptions& options) : transport_(options) {}

  template <class Decode>
  auto Call(const remote::RpcInterface& iface, std::uint16_t opnum,
            const std::vector<std::uint8_t>& request, Decode decode) {
    using Reply = decltype(decode(std::span<const std::uint8_t>()));
    return remote::CallAndDecode<Reply>(transport_, kHost, iface, opnum, request, decode);
  }
  template <class Decode>
  auto Sam(std::uint16_t opnum, const std::vector<std::uint8_t>& request, Decode decode) {
    return Call(samr::kInterface, opnum, request, decode);
  }
  ContextHandle SamOpen(std::uint16_t opnum, const std::vector<std::uint8_t>& request) {
    const remote::HandleStatusReply reply = Sam(opnum, request, remote::DecodeHandleStatusReply);
    EXPECT_EQ(reply.status, win::ERROR_SUCCESS) << "opnum " << opnum;
    return reply.handle;
  }
  // A domain of the SAM server by name (and its SID), with every right the
  // caller has.
  ContextHandle Domain(std::string_view name, Sid* sid = nullptr) {
    if (server_.IsNull()) {
      server_ = SamOpen(samr::kSamrConnect2, samr::EncodeConnect2("", samr::kMaximumAllowed));
    }
    const samr::LookupDomainReply found =
        Sam(samr::kSamrLookupDomainInSamServer, samr::EncodeLookupDomain(server_, name),
            samr::DecodeLookupDomain);
    EXPECT_EQ(found.status, win::ERROR_SUCCESS) << name;
    if (sid != nullptr) *sid = found.domain;
    return SamOpen(samr::kSamrOpenDomain,
                   samr::EncodeOpenDomain(server_, samr::kMaximumAllowed, found.domain));
  }
  template <class Decode>
  auto DomainInformation(const ContextHandle& domain,
                         samr::DomainInformationClass information_class, Decode decode) {
    return Sam(samr::kSamrQueryInformationDomain2,
               samr::EncodeQueryDomainInformation2(domain, information_class), decode);
  }
  lsarpc::AccountsWithRightReply Holders(const ContextHandle& policy, std::string_view right) {
    return Call(lsarpc::kInterface, lsarpc::kLsarEnumerateAccountsWithUserRight,
                lsarpc::EncodeEnumerateAccountsWithUserRight(policy, right),
                lsarpc::DecodeEnumerateAccountsWithUserRight);
  }
  lsarpc::PrivilegeDisplayNameReply DisplayName(const ContextHandle& policy,
                                                std::string_view privilege) {
    return Call(lsarpc::kInterface, lsarpc::kLsarLookupPrivilegeDisplayName,
                lsarpc::EncodeLookupPrivilegeDisplayName(policy, privilege, 0x409, 0x409),
                lsarpc::DecodeLookupPrivilegeDisplayName);
  }
  ContextHandle Policy(std::uint32_t access) {
    const remote::HandleStatusReply reply =
        Call(lsarpc::kInterface, lsarpc::kLsarOpenPolicy2, lsarpc::EncodeOpenPolicy2("", access),
             remote::DecodeHandleStatusReply);
    EXPECT_EQ(reply.status, win::ERROR_SUCCESS);
    return reply.handle;
  }

 private:
  platform::samba::SambaTransport transport_;
  ContextHandle server_;
};

// Name to RID as the SAM enumerations give them ("0x3e8").
template <class Reply>
std::map<std::string, std::string> NamesAndRids(const Reply& reply) {
  EXPECT_EQ(reply.status, win::ERROR_SUCCESS);
  std::map<std::string, std::string> found;
  for (const remote::RidName& e : reply.entries) found[e.name] = Hex(e.rid);
  return found;
}

// A user as the decoders read it, against rpcclient's queryuser.
void ExpectUserAsQueried(Wire& wire, const ContextHandle& domain, std::uint32_t rid,
                         const std::string& queried) {
  const ContextHandle user =
      wire.SamOpen(samr::kSamrOpenUser, samr::EncodeOpenUser(domain, samr::kMaximumAllowed, rid));
  const samr::UserInformationReply all =
      wire.Sam(samr::kSamrQueryInformationUser2, samr::EncodeQueryUserAllInformation(user),
               samr::DecodeQueryUserAllInformation);
  ASSERT_EQ(all.status, win::ERROR_SUCCESS);
  const samr::UserAllInformation& u = all.info;
  EXPECT_EQ(u.user_name, Field(queried, "User Name"));
  EXPECT_EQ(u.full_name, Field(queried, "Full Name"));
  EXPECT_EQ(u.home_directory, Field(queried, "Home Drive"));
  EXPECT_EQ(u.profile_path, Field(queried, "Profile Path"));
  EXPECT_EQ(u.admin_comment, Field(queried, "Description"));
  EXPECT_EQ(Hex(u.user_id), Field(queried, "user_rid"));
  EXPECT_EQ(Hex(u.primary_group_id), Field(queried, "group_rid"));
  EXPECT_EQ(Hex(u.user_account_control, 8), Field(queried, "acb_info"));
  EXPECT_EQ(std::to_string(u.logon_hours.units_per_week), Field(queried, "logon_divs"));
  EXPECT_EQ(u.logon_hours.bits, std::vector<std::uint8_t>(21, 0xFF));
  EXPECT_GT(u.password_last_set, 0);

  const samr::GroupsForUserReply groups =
      wire.Sam(samr::kSamrGetGroupsForUser, samr::EncodeGetGroupsForUser(user),
               samr::DecodeGetGroupsForUser);
  ASSERT_EQ(groups.status, win::ERROR_SUCCESS);
  std::map<std::string, std::string> ours;
  for (const samr::GroupMembership& g : groups.groups) ours[Hex(g.rid)] = Hex(g.attributes);
  EXPECT_EQ(ours, Matches(queried, "group rid:\\[(0x[0-9a-f]+)\\] attr:\\[(0x[0-9a-f]+)\\]"));
}

using RpcClientFn = std::function<std::string(const std::string&)>;

// The holders of `right` are the SIDs that rpcclient lists with the right;
// how many.
std::size_t ExpectHoldersAsListed(Wire& wire, const ContextHandle& policy, const std::string& right,
                                  const RpcClientFn& rpcclient) {
  const lsarpc::AccountsWithRightReply holders = wire.Holders(policy, right);
  EXPECT_EQ(holders.status, win::ERROR_SUCCESS) << right;
  std::set<std::string> ours;
  for (const Sid& sid : holders.accounts) ours.insert(sid.ToString());
  std::set<std::string> listed;
  for (const auto& [sid, unused] : Matches(rpcclient("lsaenumsid"), "\n(S-1-[0-9-]+)")) {
    if (rpcclient("lsaenumacctrights " + sid).find("\t" + right + "\n") != std::string::npos) {
      listed.insert(sid);
    }
  }
  EXPECT_EQ(ours, listed) << right;
  return ours.size();
}

// The audit events and the domains of the policy as lsaquery shows them.
void ExpectPolicyAsListed(Wire& wire, const ContextHandle& policy, const RpcClientFn& rpcclient) {
  const lsarpc::AuditEventsReply audit = wire.Call(
      lsarpc::kInterface, lsarpc::kLsarQueryInformationPolicy,
      lsarpc::EncodeQueryInformationPolicy(policy, lsarpc::PolicyInformationClass::kAuditEvents),
      lsarpc::DecodeAuditEvents);
  ASSERT_EQ(audit.status, win::ERROR_SUCCESS);
  const std::string listed = rpcclient("lsaquery 2");
  EXPECT_EQ(Field(listed, "Auditing enabled"), audit.info.auditing_mode ? "1" : "0");
  EXPECT_EQ(Field(listed, "Auditing categories"),
            std::to_string(audit.info.event_auditing_options.size()));
  // Samba audits everything or nothing.
  const std::size_t both = Matches(listed, "\n([^\n]*):\tSuccess, Failure").size();
  EXPECT_EQ(both, audit.info.event_auditing_options.size());
  for (const std::uint32_t option : audit.info.event_auditing_options) {
    EXPECT_EQ(option, lsarpc::kAuditEventSuccess | lsarpc::kAuditEventFailure) << listed;
  }

  for (const auto information_class : {lsarpc::PolicyInformationClass::kPrimaryDomain,
                                       lsarpc::PolicyInformationClass::kAccountDomain}) {
    const lsarpc::PolicyDomainReply domain =
        wire.Call(lsarpc::kInterface, lsarpc::kLsarQueryInformationPolicy,
                  lsarpc::EncodeQueryInformationPolicy(policy, information_class),
                  [information_class](std::span<const std::uint8_t> stub) {
                    return lsarpc::DecodePolicyDomain(stub, information_class);
                  });
    ASSERT_EQ(domain.status, win::ERROR_SUCCESS);
    const std::string sid = domain.has_sid ? domain.sid.ToString() : "(NULL SID)";
    EXPECT_NE(rpcclient("lsaquery " + std::to_string(static_cast<int>(information_class)))
                  .find("Domain Name: " + domain.name + "\nDomain Sid: " + sid + "\n"),
              std::string::npos)
        << domain.name << " " << sid;
  }
}

class StandaloneSam : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (const std::string& why_not = IsolateNetwork(); !why_not.empty()) {
      why_not_ = why_not;
      return;
    }
    server_ = SambaServer::Start(why_not_);
    if (!server_) return;
    why_not_ = server_->MakeTestUserAdministrator();
    // A policy other than the defaults, and a right granted to the user.
    const std::string pdbedit = "pdbedit -s " + server_->configuration() + " -P ";
    Shell(pdbedit + "'min password length' -C 9;" + pdbedit + "'password history' -C 5;" + pdbedit +
          "'maximum password age' -C 3628800;" + pdbedit + "'disconnect time' -C 3600;" + pdbedit +
          "'lockout duration' -C 45;" + pdbedit + "'bad lockout attempt' -C 4;" + pdbedit +
          "'reset count minutes' -C 20;" + "net -s " + server_->configuration() +
          " sam rights grant " + kSambaUser + " SeBackupPrivilege");
  }
  static void TearDownTestSuite() { server_.reset(); }
  void SetUp() override {
    if (!server_ || !why_not_.empty()) GTEST_SKIP() << why_not_;
  }

  static platform::SessionOptions Login() {
    platform::SessionOptions login;
    login.credentials.username = kSambaUser;
    login.credentials.password = kSambaPassword;
    return login;
  }
  static std::string RpcClient(const std::string& command) {
    return Shell("rpcclient -s " + server_->configuration() + " -U " + kSambaUser + "%" +
                 kSambaPassword + " -c '" + command + "' 127.0.0.1");
  }

  static std::unique_ptr<SambaServer> server_;
  static std::string why_not_;
  Wire wire_{Login()};
};
std::unique_ptr<SambaServer> StandaloneSam::server_;
std::string StandaloneSam::why_not_;

TEST_F(StandaloneSam, UsersAsRpcclientReadsThem) {
  const ContextHandle domain = wire_.Domain(kStandaloneDomain);
  const samr::DisplayUsersReply shown = wire_.Sam(
      samr::kSamrQueryDisplayInformation3,
      samr::EncodeQueryDisplayInformation3(domain, samr::DisplayClass::kUser, 0, 100, kWhole),
      samr::DecodeQueryDisplayUsers);
  std::map<std::string, std::string> ours;
  for (const samr::DisplayUser& u : shown.entries) ours[Hex(u.user_id)] = u.name;
  EXPECT_EQ(ours, Matches(RpcClient("querydispinfo"), "RID: (0x[0-9a-f]+) .* Account: ([^\t]+)"));

  ExpectUserAsQueried(wire_, domain, 0x3e8, RpcClient("queryuser 0x3e8; queryusergroups 0x3e8"));

  // "rid 0x3e8: tabtest (1)", one of them unknown.
  const std::uint32_t rids[] = {0x3e8, 0x201, 0x9999};
  const samr::LookupIdsReply names = wire_.Sam(
      samr::kSamrLookupIdsInDomain, samr::EncodeLookupIds(domain, rids), samr::DecodeLookupIds);
  ASSERT_EQ(names.status, win::ERROR_SUCCESS);
  std::map<std::string, std::string> translated;
  for (std::size_t i = 0; i < names.entries.size(); ++i) {
    const bool known = names.entries[i].use != platform::SidNameUse::kUnknown;
    translated[Hex(rids[i])] = (known ? names.entries[i].name : "(null)") + " (" +
                               std::to_string(static_cast<int>(names.entries[i].use)) + ")";
  }
  EXPECT_EQ(translated, Matches(RpcClient("samlookuprids domain 0x3e8 0x201 0x9999"),
                                "rid (0x[0-9a-f]+): ([^\n]*)"));
}

TEST_F(StandaloneSam, DomainPolicyAsSet) {
  const ContextHandle domain = wire_.Domain(kStandaloneDomain);
  const samr::DomainPasswordReply password = wire_.DomainInformation(
      domain, samr::DomainInformationClass::kPassword, samr::DecodeDomainPassword);
  ASSERT_EQ(password.status, win::ERROR_SUCCESS);
  EXPECT_EQ(password.info.min_password_length, 9);
  EXPECT_EQ(password.info.password_history_length, 5);
  EXPECT_EQ(samr::NetSecondsOfInterval(password.info.max_password_age), 3628800u);
  EXPECT_NE(RpcClient("getdompwinfo").find("min_password_length: 9\n"), std::string::npos);

  const samr::DomainLogoffReply logoff = wire_.DomainInformation(
      domain, samr::DomainInformationClass::kLogoff, samr::DecodeDomainLogoff);
  ASSERT_EQ(logoff.status, win::ERROR_SUCCESS);
  EXPECT_EQ(samr::NetSecondsOfInterval(logoff.force_logoff), 3600u);

  const samr::DomainLockoutReply lockout = wire_.DomainInformation(
      domain, samr::DomainInformationClass::kLockout, samr::DecodeDomainLockout);
  ASSERT_EQ(lockout.status, win::ERROR_SUCCESS);
  EXPECT_EQ(samr::NetSecondsOfInterval(lockout.info.lockout_duration), 45u * 60);
  EXPECT_EQ(samr::NetSecondsOfInterval(lockout.info.lockout_observation_window), 20u * 60);
  EXPECT_EQ(lockout.info.lockout_threshold, 4);
}

class DcSam : public ::testing::Test {
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
    if (!dc_) GTEST_SKIP() << why_not_;
  }

  static platform::SessionOptions Login() {
    platform::SessionOptions login;
    login.credentials.username = kDcAdmin;
    login.credentials.password = kDcAdminPassword;
    login.credentials.domain = kDcDomain;
    login.call_timeout_ms = 30000;
    return login;
  }
  static std::string RpcClient(const std::string& command) {
    return Shell("rpcclient -s " + dc_->configuration() + " -U '" + kDcDomain + "\\" + kDcAdmin +
                 "%" + kDcAdminPassword + "' --use-kerberos=off -c '" + command + "' 127.0.0.1");
  }

  static std::unique_ptr<SambaDomainController> dc_;
  static std::string why_not_;
  Wire wire_{Login()};
};
std::unique_ptr<SambaDomainController> DcSam::dc_;
std::string DcSam::why_not_;

TEST_F(DcSam, GroupsAliasesAndAdministratorAsRpcclientReadsThem) {
  Sid domain_sid;
  const ContextHandle domain = wire_.Domain(kDcDomain, &domain_sid);
  EXPECT_EQ(NamesAndRids(wire_.Sam(samr::kSamrEnumerateGroupsInDomain,
                                   samr::EncodeEnumerateGroups(domain, 0, kWhole),
                                   remote::DecodeRidEnumeration)),
            Matches(RpcClient("enumdomgroups"), "group:\\[([^\\]]+)\\] rid:\\[(0x[0-9a-f]+)\\]"));
  EXPECT_EQ(NamesAndRids(wire_.Sam(samr::kSamrEnumerateUsersInDomain,
                                   samr::EncodeEnumerateUsers(domain, 0, kNormalAccount, kWhole),
                                   remote::DecodeRidEnumeration)),
            Matches(RpcClient("enumdomusers"), "user:\\[([^\\]]+)\\] rid:\\[(0x[0-9a-f]+)\\]"));

  // Domain Admins.
  const ContextHandle group = wire_.SamOpen(
      samr::kSamrOpenGroup, samr::EncodeOpenGroup(domain, samr::kMaximumAllowed, 0x200));
  const samr::GroupInformationReply info =
      wire_.Sam(samr::kSamrQueryInformationGroup, samr::EncodeQueryGroupGeneral(group),
                samr::DecodeQueryGroupGeneral);
  ASSERT_EQ(info.status, win::ERROR_SUCCESS);
  const std::string queried = RpcClient("querygroup 0x200");
  EXPECT_EQ(info.info.name, Field(queried, "Group Name"));
  EXPECT_EQ(info.info.admin_comment, Field(queried, "Description"));
  EXPECT_NE(queried.find("Group Attribute:" + std::to_string(info.info.attributes) +
                         "\n\tNum Members:" + std::to_string(info.info.member_count) + "\n"),
            std::string::npos)
      << queried;
  const samr::GroupMembersReply members =
      wire_.Sam(samr::kSamrGetMembersInGroup, samr::EncodeGetMembersInGroup(group),
                samr::DecodeGetMembersInGroup);
  ASSERT_EQ(members.status, win::ERROR_SUCCESS);
  std::map<std::string, std::string> ours;
  for (std::size_t i = 0; i < members.rids.size(); ++i) {
    ours[Hex(members.rids[i])] = Hex(members.attributes[i]);
  }
  EXPECT_EQ(ours, Matches(RpcClient("querygroupmem 0x200"),
                          "rid:\\[(0x[0-9a-f]+)\\] attr:\\[(0x[0-9a-f]+)\\]"));
  const samr::LookupIdsReply names =
      wire_.Sam(samr::kSamrLookupIdsInDomain, samr::EncodeLookupIds(domain, members.rids),
                samr::DecodeLookupIds);
  ASSERT_EQ(names.entries.size(), 1u);
  EXPECT_EQ(names.entries[0].name, kDcAdmin);
  EXPECT_EQ(names.entries[0].use, platform::SidNameUse::kUser);

  ExpectUserAsQueried(wire_, domain, 0x1f4, RpcClient("queryuser 0x1f4; queryusergroups 0x1f4"));

  // Builtin\Administrators: listed, described and with its members.
  const ContextHandle builtin = wire_.Domain(samr::kBuiltinDomainName);
  EXPECT_EQ(
      NamesAndRids(wire_.Sam(samr::kSamrEnumerateAliasesInDomain,
                             samr::EncodeEnumerateAliases(builtin, 0, kWhole),
                             remote::DecodeRidEnumeration)),
      Matches(RpcClient("enumalsgroups builtin"), "group:\\[([^\\]]+)\\] rid:\\[(0x[0-9a-f]+)\\]"));
  const ContextHandle alias = wire_.SamOpen(
      samr::kSamrOpenAlias, samr::EncodeOpenAlias(builtin, samr::kMaximumAllowed, 0x220));
  const samr::AliasMembersReply alias_members =
      wire_.Sam(samr::kSamrGetMembersInAlias, samr::EncodeGetMembersInAlias(alias),
                samr::DecodeGetMembersInAlias);
  ASSERT_EQ(alias_members.status, win::ERROR_SUCCESS);
  std::map<std::string, std::string> sids;
  for (const Sid& sid : alias_members.members) sids[sid.ToString()] = "";
  EXPECT_EQ(sids, Matches(RpcClient("queryaliasmem builtin 0x220"), "sid:\\[(S-1-[0-9-]+)\\]"));
  const samr::AliasInformationReply alias_info =
      wire_.Sam(samr::kSamrQueryInformationAlias, samr::EncodeQueryAliasGeneral(alias),
                samr::DecodeQueryAliasGeneral);
  ASSERT_EQ(alias_info.status, win::ERROR_SUCCESS);
  // (Samba's controller counts no members here.)
  EXPECT_EQ(alias_info.info.name, "Administrators");
  EXPECT_NE(alias_info.info.admin_comment, "");

  Sid administrator = domain_sid;
  administrator.sub_authorities.push_back(0x1f4);
  const samr::AliasMembershipReply membership = wire_.Sam(
      samr::kSamrGetAliasMembership, samr::EncodeGetAliasMembership(builtin, {&administrator, 1}),
      samr::DecodeGetAliasMembership);
  ASSERT_EQ(membership.status, win::ERROR_SUCCESS);
  EXPECT_EQ(membership.alias_rids, std::vector<std::uint32_t>{0x220});
}

TEST_F(DcSam, PolicyAndRightsAsRpcclientReadsThem) {
  const ContextHandle domain = wire_.Domain(kDcDomain);
  const samr::DomainPasswordReply password = wire_.DomainInformation(
      domain, samr::DomainInformationClass::kPassword, samr::DecodeDomainPassword);
  ASSERT_EQ(password.status, win::ERROR_SUCCESS);
  const std::string listed = RpcClient("querydominfo 1; querydominfo 12");
  EXPECT_EQ(Matches(listed, "Minimum password length:\\t+([0-9]+)"),
            (std::map<std::string, std::string>{
                {std::to_string(password.info.min_password_length), ""}}));
  EXPECT_EQ(Matches(listed, "remember x passwords\\):\\t+([0-9]+)"),
            (std::map<std::string, std::string>{
                {std::to_string(password.info.password_history_length), ""}}));
  EXPECT_EQ(Matches(listed, "password_properties: (0x[0-9a-f]+)"),
            (std::map<std::string, std::string>{{Hex(password.info.password_properties, 8), ""}}));
  const samr::DomainLockoutReply lockout = wire_.DomainInformation(
      domain, samr::DomainInformationClass::kLockout, samr::DecodeDomainLockout);
  ASSERT_EQ(lockout.status, win::ERROR_SUCCESS);
  EXPECT_EQ(
      Matches(listed, "Lockout after bad attempts: +([0-9]+)"),
      (std::map<std::string, std::string>{{std::to_string(lockout.info.lockout_threshold), ""}}));

  const ContextHandle policy = wire_.Policy(0xA0000801);
  EXPECT_GE(ExpectHoldersAsListed(wire_, policy, "SeBackupPrivilege", RpcClient), 1u);
  EXPECT_GE(ExpectHoldersAsListed(wire_, policy, "SeNetworkLogonRight", RpcClient), 1u);
  const lsarpc::AccountsWithRightReply nobody = wire_.Holders(policy, "SeMachineAccountPrivilege");
  EXPECT_EQ(nobody.status, win::ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(nobody.ntstatus, 0x8000001Au);
  ExpectPolicyAsListed(wire_, policy, RpcClient);
}

}  // namespace
}  // namespace tabulon::testing
