#include "platform/remote/remote_user_accounts.h"

#include <algorithm>
#include <vector>

#include "platform/remote/remote_call.h"
#include "platform/remote/samr_codec.h"
#include "platform/remote/samr_names_codec.h"
#include "platform/remote/samr_user_codec.h"
#include "platform/remote/samr_user_info.h"
#include "platform/text.h"
#include "platform/user_info_levels.h"

namespace tabulon::platform::remote {
namespace {

// NetQueryDisplayInformation never returns more per call.
constexpr std::uint32_t kMaxDisplayEntries = 100;
// NetUserGetLocalGroups: also the aliases of the account's groups.
constexpr std::uint32_t kLgIncludeIndirect = 1;
// Everything the user calls read.
constexpr std::uint32_t kUserAccess = samr::kUserReadGeneral | samr::kUserReadPreferences |
                                      samr::kUserReadLogon | samr::kUserReadAccount |
                                      samr::kUserListGroups;

// The network management calls name an unknown account their own way.
win::Status UserStatus(win::Status status) {
  return status == win::ERROR_NONE_MAPPED || status == win::ERROR_NO_SUCH_USER
             ? win::NERR_UserNotFound
             : status;
}

Sid WithRid(const Sid& domain, std::uint32_t rid) {
  Sid sid = domain;
  sid.sub_authorities.push_back(rid);
  return sid;
}

std::string RidKey(const std::string& host, std::string_view user) {
  return host + '\\' + text::ToUpper(user);
}

FileTime Now() {
  SystemClock clock;
  return SystemTimeToFileTime(clock.UtcNow()).value_or(0);
}

// A user opened on the server, closed when it goes out of scope.
class OpenUser {
 public:
  OpenUser(RpcTransport& transport, const SamrDomain& domain, std::uint32_t rid)
      : transport_(transport), host_(domain.host) {
    const HandleStatusReply opened = CallAndDecode<HandleStatusReply>(
        transport_, host_, samr::kInterface, samr::kSamrOpenUser,
        samr::EncodeOpenUser(domain.handle, kUserAccess, rid), DecodeHandleStatusReply);
    status_ = opened.status;
    if (status_ == win::ERROR_SUCCESS && opened.handle.IsNull()) status_ = win::RPC_X_BAD_STUB_DATA;
    if (status_ == win::ERROR_SUCCESS) handle_ = opened.handle;
  }
  ~OpenUser() {
    if (!handle_.IsNull()) {
      transport_.Call(host_, samr::kInterface, samr::kSamrCloseHandle,
                      samr::EncodeCloseHandle(handle_));
    }
  }
  OpenUser(const OpenUser&) = delete;
  OpenUser& operator=(const OpenUser&) = delete;

  win::Status status() const { return UserStatus(status_); }

  samr::UserInformationReply QueryAll() {
    return CallAndDecode<samr::UserInformationReply>(
        transport_, host_, samr::kInterface, samr::kSamrQueryInformationUser2,
        samr::EncodeQueryUserAllInformation(handle_), samr::DecodeQueryUserAllInformation);
  }
  samr::GroupsForUserReply Groups() {
    return CallAndDecode<samr::GroupsForUserReply>(
        transport_, host_, samr::kInterface, samr::kSamrGetGroupsForUser,
        samr::EncodeGetGroupsForUser(handle_), samr::DecodeGetGroupsForUser);
  }

 private:
  RpcTransport& transport_;
  const std::string host_;
  ndr::ContextHandle handle_;
  win::Status status_ = win::ERROR_SUCCESS;
};

// The SIDs of an account and of the groups it belongs to.
std::vector<Sid> SidsOf(const Sid& domain, std::uint32_t rid,
                        const std::vector<samr::GroupMembership>& groups) {
  std::vector<Sid> sids{WithRid(domain, rid)};
  for (const samr::GroupMembership& group : groups) sids.push_back(WithRid(domain, group.rid));
  return sids;
}

samr::AliasMembershipReply AliasesOf(RpcTransport& transport, const SamrDomain& domain,
                                     const std::vector<Sid>& sids) {
  return CallAndDecode<samr::AliasMembershipReply>(
      transport, domain.host, samr::kInterface, samr::kSamrGetAliasMembership,
      samr::EncodeGetAliasMembership(domain.handle, sids), samr::DecodeGetAliasMembership);
}

// Appends the names of `rids` in `domain`; the RIDs it cannot name add
// nothing.
win::Status AppendNames(RpcTransport& transport, const SamrDomain& domain,
                        const std::vector<std::uint32_t>& rids, std::vector<std::string>& names) {
  for (std::size_t first = 0; first < rids.size(); first += samr::kMaxLookupIds) {
    const std::size_t count = std::min(samr::kMaxLookupIds, rids.size() - first);
    const std::span<const std::uint32_t> part(rids.data() + first, count);
    const samr::LookupIdsReply reply = CallAndDecode<samr::LookupIdsReply>(
        transport, domain.host, samr::kInterface, samr::kSamrLookupIdsInDomain,
        samr::EncodeLookupIds(domain.handle, part), samr::DecodeLookupIds);
    if (reply.status == win::ERROR_NONE_MAPPED) continue;
    if (reply.status != win::ERROR_SUCCESS) return reply.status;
    for (const samr::RidLookup& entry : reply.entries) {
      if (entry.use != SidNameUse::kUnknown && entry.use != SidNameUse::kInvalid) {
        names.push_back(entry.name);
      }
    }
  }
  return win::ERROR_SUCCESS;
}

}  // namespace

void RemoteUserAccounts::Remember(const std::string& host, std::string_view user,
                                  std::uint32_t rid) {
  rids_.insert_or_assign(RidKey(host, user), rid);
}

RemoteUserAccounts::Account RemoteUserAccounts::Find(std::string_view server,
                                                     std::string_view user) {
  Account account;
  account.domain = domains_.Account(server);
  if (account.domain.status != win::ERROR_SUCCESS) {
    account.status = account.domain.status;
    return account;
  }
  if (const auto it = rids_.find(RidKey(account.domain.host, user)); it != rids_.end()) {
    account.rid = it->second;
    return account;
  }
  const std::vector<std::string> names{std::string(user)};
  const samr::LookupNamesReply found = CallAndDecode<samr::LookupNamesReply>(
      transport_, account.domain.host, samr::kInterface, samr::kSamrLookupNamesInDomain,
      samr::EncodeLookupNames(account.domain.handle, names), samr::DecodeLookupNames);
  if (found.status != win::ERROR_SUCCESS) {
    account.status = UserStatus(found.status);
  } else if (found.entries.size() != 1) {
    account.status = win::RPC_X_BAD_STUB_DATA;
  } else if (found.entries.front().use != SidNameUse::kUser) {
    // A group or alias of that name is no user.
    account.status = win::NERR_UserNotFound;
  } else {
    account.rid = found.entries.front().rid;
  }
  return account;
}

win::Status RemoteUserAccounts::BuiltinAliases(std::string_view server,
                                               const std::vector<Sid>& sids,
                                               std::vector<std::uint32_t>& aliases) {
  const SamrDomain builtin = domains_.Builtin(server);
  if (builtin.status != win::ERROR_SUCCESS) return builtin.status;
  if (auto known = builtin_members_.AliasesOf(builtin, sids)) {
    aliases = std::move(*known);
    return win::ERROR_SUCCESS;
  }
  // Members this logon may not read: the server answers for the account.
  samr::AliasMembershipReply asked = AliasesOf(transport_, builtin, sids);
  aliases = std::move(asked.alias_rids);
  return asked.status;
}

DisplayUsersResult RemoteUserAccounts::NetQueryDisplayUsers(std::string_view server,
                                                            std::uint32_t index,
                                                            std::uint32_t entries_requested,
                                                            std::uint32_t preferred_max_length) {
  const SamrDomain domain = domains_.Account(server);
  if (domain.status != win::ERROR_SUCCESS) return Failed<DisplayUsersResult>(domain.status);
  const samr::DisplayUsersReply page = CallAndDecode<samr::DisplayUsersReply>(
      transport_, domain.host, samr::kInterface, samr::kSamrQueryDisplayInformation3,
      samr::EncodeQueryDisplayInformation3(domain.handle, samr::DisplayClass::kUser, index,
                                           std::min(entries_requested, kMaxDisplayEntries),
                                           preferred_max_length),
      samr::DecodeQueryDisplayUsers);
  DisplayUsersResult result;
  // Past the end of the list there is nothing more, which is no failure.
  if (page.status == win::ERROR_NO_MORE_ITEMS) return result;
  if (page.status != win::ERROR_SUCCESS && page.status != win::ERROR_MORE_DATA) {
    return Failed<DisplayUsersResult>(page.status);
  }
  result.status = page.status;
  result.entries.reserve(page.entries.size());
  for (const samr::DisplayUser& user : page.entries) {
    Remember(domain.host, user.name, user.user_id);
    result.entries.push_back(
        {user.name, user.comment, user.flags, user.full_name, user.user_id, user.next_index});
  }
  return result;
}

UserInfoResult RemoteUserAccounts::NetUserGetInfo(std::string_view server, std::string_view user,
                                                  std::uint32_t level) {
  if (!IsUserInfoLevel(level)) return Failed<UserInfoResult>(win::ERROR_INVALID_LEVEL);
  const Account account = Find(server, user);
  if (account.status != win::ERROR_SUCCESS) return Failed<UserInfoResult>(account.status);
  OpenUser opened(transport_, account.domain, account.rid);
  if (opened.status() != win::ERROR_SUCCESS) return Failed<UserInfoResult>(opened.status());
  const samr::UserInformationReply all = opened.QueryAll();
  if (all.status != win::ERROR_SUCCESS) return Failed<UserInfoResult>(UserStatus(all.status));
  UserInfoResult result;
  result.info = UserInfoOf(all.info, Now());
  if (level == 2 || level == 3) {
    // The privilege level comes from the built-in aliases of the account and
    // its groups.
    const samr::GroupsForUserReply groups = opened.Groups();
    if (groups.status != win::ERROR_SUCCESS) return Failed<UserInfoResult>(groups.status);
    std::vector<std::uint32_t> aliases;
    const win::Status found =
        BuiltinAliases(server, SidsOf(account.domain.sid, account.rid, groups.groups), aliases);
    if (found != win::ERROR_SUCCESS) return Failed<UserInfoResult>(found);
    SetPrivilegeOf(aliases, result.info);
  }
  result.info = UserInfoAtLevel(result.info, level);
  return result;
}

UserGroupsResult RemoteUserAccounts::NetUserGetLocalGroups(std::string_view server,
                                                           std::string_view user,
                                                           std::uint32_t level,
                                                           std::uint32_t flags) {
  if (level != 0) return Failed<UserGroupsResult>(win::ERROR_INVALID_LEVEL);
  const Account account = Find(server, user);
  if (account.status != win::ERROR_SUCCESS) return Failed<UserGroupsResult>(account.status);
  std::vector<samr::GroupMembership> groups;
  if ((flags & kLgIncludeIndirect) != 0) {
    OpenUser opened(transport_, account.domain, account.rid);
    if (opened.status() != win::ERROR_SUCCESS) return Failed<UserGroupsResult>(opened.status());
    samr::GroupsForUserReply reply = opened.Groups();
    if (reply.status != win::ERROR_SUCCESS) return Failed<UserGroupsResult>(reply.status);
    groups = std::move(reply.groups);
  }
  const std::vector<Sid> sids = SidsOf(account.domain.sid, account.rid, groups);
  UserGroupsResult result;
  // The aliases of the account domain, then the built-in ones.
  for (const bool builtin : {false, true}) {
    const SamrDomain domain = builtin ? domains_.Builtin(server) : account.domain;
    if (domain.status != win::ERROR_SUCCESS) return Failed<UserGroupsResult>(domain.status);
    const samr::AliasMembershipReply aliases = AliasesOf(transport_, domain, sids);
    if (aliases.status != win::ERROR_SUCCESS) return Failed<UserGroupsResult>(aliases.status);
    const win::Status named = AppendNames(transport_, domain, aliases.alias_rids, result.groups);
    if (named != win::ERROR_SUCCESS) return Failed<UserGroupsResult>(named);
  }
  result.total_entries = static_cast<std::uint32_t>(result.groups.size());
  return result;
}

UserGroupsResult RemoteUserAccounts::NetUserGetGroups(std::string_view server,
                                                      std::string_view user, std::uint32_t level) {
  if (level != 0) return Failed<UserGroupsResult>(win::ERROR_INVALID_LEVEL);
  const Account account = Find(server, user);
  if (account.status != win::ERROR_SUCCESS) return Failed<UserGroupsResult>(account.status);
  OpenUser opened(transport_, account.domain, account.rid);
  if (opened.status() != win::ERROR_SUCCESS) return Failed<UserGroupsResult>(opened.status());
  const samr::GroupsForUserReply groups = opened.Groups();
  if (groups.status != win::ERROR_SUCCESS) return Failed<UserGroupsResult>(groups.status);
  std::vector<std::uint32_t> rids;
  for (const samr::GroupMembership& group : groups.groups) rids.push_back(group.rid);
  UserGroupsResult result;
  const win::Status named = AppendNames(transport_, account.domain, rids, result.groups);
  if (named != win::ERROR_SUCCESS) return Failed<UserGroupsResult>(named);
  result.total_entries = static_cast<std::uint32_t>(result.groups.size());
  return result;
}

}  // namespace tabulon::platform::remote
