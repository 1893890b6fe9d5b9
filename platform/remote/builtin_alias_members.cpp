#include "platform/remote/builtin_alias_members.h"

#include <algorithm>

#include "platform/remote/remote_call.h"
#include "platform/remote/samr_codec.h"
#include "platform/remote/samr_group_codec.h"

namespace tabulon::platform::remote {
namespace {

// Administrators, Users, Account, Server and Print Operators: the aliases
// the user information reports on.
constexpr std::uint32_t kDecidingAliases[] = {544, 545, 548, 549, 550};

}  // namespace

BuiltinAliasMembers::Members BuiltinAliasMembers::Read(const SamrDomain& builtin) {
  std::map<std::uint32_t, std::vector<Sid>> members;
  for (const std::uint32_t rid : kDecidingAliases) {
    const HandleStatusReply opened = CallAndDecode<HandleStatusReply>(
        transport_, builtin.host, samr::kInterface, samr::kSamrOpenAlias,
        samr::EncodeOpenAlias(builtin.handle, samr::kAliasListMembers, rid),
        DecodeHandleStatusReply);
    // A server without the alias has no members in it.
    if (opened.status == win::ERROR_NO_SUCH_ALIAS) continue;
    if (opened.status != win::ERROR_SUCCESS || opened.handle.IsNull()) return std::nullopt;
    samr::AliasMembersReply listed = CallAndDecode<samr::AliasMembersReply>(
        transport_, builtin.host, samr::kInterface, samr::kSamrGetMembersInAlias,
        samr::EncodeGetMembersInAlias(opened.handle), samr::DecodeGetMembersInAlias);
    transport_.Call(builtin.host, samr::kInterface, samr::kSamrCloseHandle,
                    samr::EncodeCloseHandle(opened.handle));
    if (listed.status != win::ERROR_SUCCESS) return std::nullopt;
    members.emplace(rid, std::move(listed.members));
  }
  return members;
}

std::optional<std::vector<std::uint32_t>> BuiltinAliasMembers::AliasesOf(
    const SamrDomain& builtin, std::span<const Sid> sids) {
  auto it = servers_.find(builtin.host);
  if (it == servers_.end()) it = servers_.emplace(builtin.host, Read(builtin)).first;
  if (!it->second) return std::nullopt;
  std::vector<std::uint32_t> aliases;
  for (const auto& alias : *it->second) {
    const auto& members = alias.second;
    const bool holds = std::any_of(sids.begin(), sids.end(), [&members](const Sid& sid) {
      return std::find(members.begin(), members.end(), sid) != members.end();
    });
    if (holds) aliases.push_back(alias.first);
  }
  return aliases;
}

}  // namespace tabulon::platform::remote
