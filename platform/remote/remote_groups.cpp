#include "platform/remote/remote_groups.h"

#include <algorithm>
#include <span>

#include "platform/paging.h"
#include "platform/remote/handle_closer.h"
#include "platform/remote/lsarpc_codec.h"
#include "platform/remote/remote_call.h"
#include "platform/remote/remote_network.h"
#include "platform/remote/samr_codec.h"
#include "platform/remote/samr_group_codec.h"
#include "platform/text.h"

namespace tabulon::platform::remote {
namespace {

constexpr std::uint32_t kWholeList = 0xFFFFFFFF;

template <typename Result, typename Decode>
Result Decoded(const RpcReply& reply, Decode decode) {
  if (reply.status != win::ERROR_SUCCESS) return Failed<Result>(reply.status);
  return decode(reply.stub);
}

bool Mapped(SidNameUse use) {
  return use != SidNameUse::kUnknown && use != SidNameUse::kInvalid && use != SidNameUse::kNone &&
         use != SidNameUse::kDeletedAccount;
}

// LOCALGROUP_MEMBERS_INFO_2 of each member SID, as the lookup named it. A SID
// the server cannot name is listed by its string form: deleted when its
// domain is known, unknown when not.
std::vector<LocalGroupMembersInfo2> NamedMembers(const std::vector<Sid>& sids,
                                                 const lsarpc::LookupSidsReply& names) {
  std::vector<LocalGroupMembersInfo2> members;
  members.reserve(sids.size());
  for (std::size_t i = 0; i < sids.size(); ++i) {
    LocalGroupMembersInfo2 member;
    member.sid = sids[i];
    const lsarpc::TranslatedName* name = i < names.names.size() ? &names.names[i] : nullptr;
    const lsarpc::ReferencedDomain* domain = nullptr;
    if (name != nullptr && name->domain_index >= 0 &&
        static_cast<std::size_t>(name->domain_index) < names.domains.size()) {
      domain = &names.domains[static_cast<std::size_t>(name->domain_index)];
    }
    if (name != nullptr && Mapped(name->use)) {
      member.sid_usage = name->use;
      const std::string account =
          name->name.empty() && domain != nullptr ? domain->name : name->name;
      member.domain_and_name = domain == nullptr || domain->name.empty() || name->name.empty()
                                   ? account
                                   : domain->name + "\\" + account;
    } else {
      member.sid_usage = domain != nullptr ? SidNameUse::kDeletedAccount : SidNameUse::kUnknown;
      member.domain_and_name = member.sid.ToString();
    }
    members.push_back(std::move(member));
  }
  return members;
}

}  // namespace

RemoteGroups::~RemoteGroups() {
  HandleCloser closer(transport_);
  for (const auto& [key, handle] : opened_) {
    closer.Close(std::get<0>(key), samr::kInterface, samr::kSamrCloseHandle,
                 samr::EncodeCloseHandle(handle));
  }
}

std::string RemoteGroups::HostFor(std::string_view server) const {
  const std::string_view host = HostOf(server);
  return host.empty() ? session_host_ : std::string(host);
}

RpcReply RemoteGroups::Call(const std::string& host, std::uint16_t opnum,
                            const std::vector<std::uint8_t>& request) {
  RpcReply reply = transport_.Call(host, samr::kInterface, opnum, request);
  // The connection the session's handles were opened on may be gone.
  if (reply.status != win::ERROR_SUCCESS) {
    domains_.Forget(host);
    std::erase_if(opened_, [&](const auto& entry) { return std::get<0>(entry.first) == host; });
  }
  return reply;
}

win::Status RemoteGroups::ListDomain(const std::string& host, SamDomain which, bool aliases,
                                     std::vector<Listed>& out) {
  const SamrDomain domain = domains_.Open(host, which);
  if (domain.status != win::ERROR_SUCCESS) return domain.status;
  std::uint32_t context = 0;
  for (;;) {
    const auto request = aliases ? samr::EncodeEnumerateAliases(domain.handle, context, kWholeList)
                                 : samr::EncodeEnumerateGroups(domain.handle, context, kWholeList);
    const RidEnumerationReply page = Decoded<RidEnumerationReply>(
        Call(host,
             aliases ? samr::kSamrEnumerateAliasesInDomain : samr::kSamrEnumerateGroupsInDomain,
             request),
        DecodeRidEnumeration);
    if (page.status != win::ERROR_SUCCESS && page.status != win::ERROR_MORE_DATA) {
      return page.status;
    }
    for (const RidName& account : page.entries) out.push_back({which, account});
    // A page that brings nothing cannot move the listing on.
    if (page.status != win::ERROR_MORE_DATA || page.entries.empty()) return win::ERROR_SUCCESS;
    context = page.enumeration_context;
  }
}

RemoteGroups::Lists RemoteGroups::Aliases(const std::string& host, bool fresh) {
  if (!fresh) {
    if (const auto it = aliases_.find(host); it != aliases_.end()) return {{}, &it->second};
  }
  std::vector<Listed> listed;
  for (const SamDomain which : {SamDomain::kBuiltin, SamDomain::kAccount}) {
    const win::Status status = ListDomain(host, which, true, listed);
    if (status != win::ERROR_SUCCESS) return {status, nullptr};
  }
  std::vector<Listed>& kept = aliases_[host];
  kept = std::move(listed);
  return {win::ERROR_SUCCESS, &kept};
}

RemoteGroups::Lists RemoteGroups::Groups(const std::string& host) {
  if (const auto it = groups_.find(host); it != groups_.end()) return {{}, &it->second};
  std::vector<Listed> listed;
  const win::Status status = ListDomain(host, SamDomain::kAccount, false, listed);
  if (status != win::ERROR_SUCCESS) return {status, nullptr};
  std::vector<Listed>& kept = groups_[host];
  kept = std::move(listed);
  return {win::ERROR_SUCCESS, &kept};
}

RemoteGroups::Opened RemoteGroups::Open(const std::string& host, const Listed& listed, bool alias) {
  Opened opened;
  const SamrDomain domain = domains_.Open(host, listed.domain);
  if (domain.status != win::ERROR_SUCCESS) return Failed<Opened>(domain.status);
  opened.domain = domain.handle;
  const OpenedKey key{host, listed.domain, alias, listed.account.rid};
  if (const auto it = opened_.find(key); it != opened_.end()) {
    opened.handle = it->second;
    return opened;
  }
  const auto request =
      alias ? samr::EncodeOpenAlias(domain.handle,
                                    samr::kAliasReadInformation | samr::kAliasListMembers,
                                    listed.account.rid)
            : samr::EncodeOpenGroup(domain.handle,
                                    samr::kGroupReadInformation | samr::kGroupListMembers,
                                    listed.account.rid);
  const HandleStatusReply reply = Decoded<HandleStatusReply>(
      Call(host, alias ? samr::kSamrOpenAlias : samr::kSamrOpenGroup, request),
      DecodeHandleStatusReply);
  if (reply.status != win::ERROR_SUCCESS) return Failed<Opened>(reply.status);
  if (reply.handle.IsNull()) return Failed<Opened>(win::RPC_X_BAD_STUB_DATA);
  opened.handle = reply.handle;
  opened_.emplace(key, reply.handle);
  return opened;
}

RemoteGroups::Opened RemoteGroups::Find(const std::string& host, const Lists& lists,
                                        std::string_view name, bool alias) {
  if (lists.status != win::ERROR_SUCCESS) return Failed<Opened>(lists.status);
  const auto it = std::find_if(lists.entries->begin(), lists.entries->end(), [&](const Listed& l) {
    return text::EqualsNoCase(l.account.name, name);
  });
  if (it == lists.entries->end()) return Failed<Opened>(win::NERR_GroupNotFound);
  return Open(host, *it, alias);
}

LocalGroupEnumResult RemoteGroups::NetLocalGroupEnum1(std::string_view server,
                                                      std::uint32_t preferred_max_length,
                                                      std::uint32_t resume_handle) {
  using Result = LocalGroupEnumResult;
  const std::string host = HostFor(server);
  // A listing starts afresh; its later pages read the same list.
  const Lists lists = Aliases(host, resume_handle == 0);
  if (lists.status != win::ERROR_SUCCESS) return Failed<Result>(lists.status);
  // Entries before the resume position went out with earlier pages: they
  // hold their places unread.
  const std::size_t first = std::min<std::size_t>(resume_handle, lists.entries->size());
  std::vector<LocalGroupInfo1> all(first);
  for (std::size_t i = first; i < lists.entries->size(); ++i) {
    const Listed& listed = (*lists.entries)[i];
    const Opened alias = Open(host, listed, true);
    if (alias.status != win::ERROR_SUCCESS) return Failed<Result>(alias.status);
    const samr::AliasInformationReply info = Decoded<samr::AliasInformationReply>(
        Call(host, samr::kSamrQueryInformationAlias, samr::EncodeQueryAliasGeneral(alias.handle)),
        samr::DecodeQueryAliasGeneral);
    if (info.status != win::ERROR_SUCCESS) return Failed<Result>(info.status);
    all.push_back({listed.account.name, info.info.admin_comment});
  }
  Result result;
  FillPage(result, all, resume_handle, preferred_max_length, LocalGroupInfo1Bytes);
  return result;
}

LocalGroupMembersResult RemoteGroups::NetLocalGroupGetMembers2(std::string_view server,
                                                               std::string_view group,
                                                               std::uint32_t preferred_max_length,
                                                               std::uint32_t resume_handle) {
  using Result = LocalGroupMembersResult;
  const std::string host = HostFor(server);
  const Opened alias = Find(host, Aliases(host, false), group, true);
  if (alias.status != win::ERROR_SUCCESS) return Failed<Result>(alias.status);
  const samr::AliasMembersReply members = Decoded<samr::AliasMembersReply>(
      Call(host, samr::kSamrGetMembersInAlias, samr::EncodeGetMembersInAlias(alias.handle)),
      samr::DecodeGetMembersInAlias);
  if (members.status != win::ERROR_SUCCESS) return Failed<Result>(members.status);

  lsarpc::LookupSidsReply names;
  if (!members.members.empty()) {
    const LookupPolicy policy = policies_.On(host);
    if (policy.status != win::ERROR_SUCCESS) return Failed<Result>(policy.status);
    const RpcReply reply = transport_.Call(
        host, lsarpc::kInterface, lsarpc::kLsarLookupSids,
        lsarpc::EncodeLookupSids(policy.handle, members.members, lsarpc::kLookupWksta));
    if (reply.status != win::ERROR_SUCCESS) policies_.Forget(host);
    names = Decoded<lsarpc::LookupSidsReply>(reply, lsarpc::DecodeLookupSids);
    // None mapped still lists every SID, each saying so by its use.
    if (names.status != win::ERROR_SUCCESS && names.status != win::ERROR_NONE_MAPPED) {
      return Failed<Result>(LookupStatus(names.status));
    }
  }
  std::vector<LocalGroupMembersInfo2> all = NamedMembers(members.members, names);
  Result result;
  FillPage(result, all, resume_handle, preferred_max_length, LocalGroupMembersInfo2Bytes);
  return result;
}

LocalGroupInfoResult RemoteGroups::NetLocalGroupGetInfo1(std::string_view server,
                                                         std::string_view group) {
  using Result = LocalGroupInfoResult;
  const std::string host = HostFor(server);
  const Opened alias = Find(host, Aliases(host, false), group, true);
  if (alias.status != win::ERROR_SUCCESS) return Failed<Result>(alias.status);
  const samr::AliasInformationReply info = Decoded<samr::AliasInformationReply>(
      Call(host, samr::kSamrQueryInformationAlias, samr::EncodeQueryAliasGeneral(alias.handle)),
      samr::DecodeQueryAliasGeneral);
  if (info.status != win::ERROR_SUCCESS) return Failed<Result>(info.status);
  Result result;
  result.info = {info.info.name, info.info.admin_comment};
  return result;
}

GroupInfoResult RemoteGroups::NetGroupGetInfo1(std::string_view server, std::string_view group) {
  using Result = GroupInfoResult;
  const std::string host = HostFor(server);
  const Opened opened = Find(host, Groups(host), group, false);
  if (opened.status != win::ERROR_SUCCESS) return Failed<Result>(opened.status);
  const samr::GroupInformationReply info = Decoded<samr::GroupInformationReply>(
      Call(host, samr::kSamrQueryInformationGroup, samr::EncodeQueryGroupGeneral(opened.handle)),
      samr::DecodeQueryGroupGeneral);
  if (info.status != win::ERROR_SUCCESS) return Failed<Result>(info.status);
  Result result;
  result.info = {info.info.name, info.info.admin_comment};
  return result;
}

GroupUsersResult RemoteGroups::NetGroupGetUsers0(std::string_view server, std::string_view group,
                                                 std::uint32_t preferred_max_length,
                                                 std::uint32_t resume_handle) {
  using Result = GroupUsersResult;
  const std::string host = HostFor(server);
  const Opened opened = Find(host, Groups(host), group, false);
  if (opened.status != win::ERROR_SUCCESS) return Failed<Result>(opened.status);
  const samr::GroupMembersReply members = Decoded<samr::GroupMembersReply>(
      Call(host, samr::kSamrGetMembersInGroup, samr::EncodeGetMembersInGroup(opened.handle)),
      samr::DecodeGetMembersInGroup);
  if (members.status != win::ERROR_SUCCESS) return Failed<Result>(members.status);

  // Members are named in the group's own domain, as many RIDs a call as it
  // takes; a RID without a name is left out.
  std::vector<GroupUsersInfo0> all;
  const std::span<const std::uint32_t> rids(members.rids);
  for (std::size_t at = 0; at < rids.size(); at += samr::kMaxLookupIds) {
    const auto chunk = rids.subspan(at, std::min(samr::kMaxLookupIds, rids.size() - at));
    const samr::LookupIdsReply names = Decoded<samr::LookupIdsReply>(
        Call(host, samr::kSamrLookupIdsInDomain, samr::EncodeLookupIds(opened.domain, chunk)),
        samr::DecodeLookupIds);
    if (names.status != win::ERROR_SUCCESS && names.status != win::ERROR_NONE_MAPPED) {
      return Failed<Result>(names.status);
    }
    for (const samr::RidLookup& name : names.entries) {
      if (Mapped(name.use)) all.push_back({name.name});
    }
  }
  Result result;
  FillPage(result, all, resume_handle, preferred_max_length, GroupUsersInfo0Bytes);
  return result;
}

}  // namespace tabulon::platform::remote
