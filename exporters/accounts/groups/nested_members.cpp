#include "exporters/accounts/groups/nested_members.h"

#include <algorithm>

#include "engine/error_text.h"
#include "engine/messages.h"
#include "exporters/toolkit/paging.h"
#include "platform/text.h"

namespace tabulon {
namespace {

constexpr std::uint32_t kPreferredLength = 65536;

bool IsGroup(platform::SidNameUse usage) {
  return usage == platform::SidNameUse::kGroup || usage == platform::SidNameUse::kAlias;
}

}  // namespace

void NestedMembers::Expand(const tagCObjects& target, platform::SidNameUse usage,
                           std::string_view qualified) {
  const auto slash = qualified.find('\\');
  if (slash == std::string_view::npos) return;
  const std::string key = text::ToLower(qualified);
  if (std::find(chain_.begin(), chain_.end(), key) != chain_.end()) return;
  if (context_.StopRequested()) return;
  const std::string_view domain = qualified.substr(0, slash);
  const std::string_view group = qualified.substr(slash + 1);
  const std::string dc = details_.DomainController(domain);
  if (dc.empty()) {
    context_.output.AddProgressRow(
        target.display_name,
        FillMessage("Unable to determine server for domain '%s' for group '%s'", {domain, group}),
        1, ProgressKind::kFailure);
    return;
  }
  const std::string type = "DOMAIN_MEMBER (" + std::string(qualified) + ")";
  chain_.push_back(key);
  if (usage == platform::SidNameUse::kAlias) {
    ExpandAlias(target, dc, group, type);
  } else {
    ExpandGlobal(dc, group, type);
  }
  chain_.pop_back();
}

bool NestedMembers::WriteRow(std::string_view computer, platform::SidNameUse usage,
                             std::string_view name, const std::string& type) {
  // What the previous member's lookup left must not show in this row.
  for (MemberColumn c : {kMemberFullName, kMemberComment, kMemberEnabled}) row_[c].clear();
  row_[kMemberName] = name;
  if (options_.details && !details_.Lookup(row_, computer, usage, name) &&
      !options_.disabled_users) {
    return false;
  }
  row_[kMemberType] = type;
  row_.WriteKeepingValues();
  return true;
}

void NestedMembers::ExpandAlias(const tagCObjects& target, const std::string& dc,
                                std::string_view group, const std::string& type) {
  platform::GroupService& groups = context_.session.groups();
  const win::Status status = ForEachPagedEntry(
      [&](std::uint32_t resume) {
        return groups.NetLocalGroupGetMembers2(dc, group, kPreferredLength, resume);
      },
      [&](const platform::LocalGroupMembersInfo2& member) {
        if (WriteRow(target.path, member.sid_usage, member.domain_and_name, type) &&
            IsGroup(member.sid_usage)) {
          Expand(target, member.sid_usage, member.domain_and_name);
        }
        return !context_.StopRequested();
      });
  if (status != win::ERROR_SUCCESS) {
    context_.output.AddProgressRow(
        dc,
        FillMessage("Unable to get local group members for '%s' from '%s'. ", {group, dc}) +
            WindowsErrorText(status),
        2, ProgressKind::kFailure);
  }
}

void NestedMembers::ExpandGlobal(const std::string& dc, std::string_view group,
                                 const std::string& type) {
  platform::GroupService& groups = context_.session.groups();
  const win::Status status = ForEachPagedEntry(
      [&](std::uint32_t resume) {
        return groups.NetGroupGetUsers0(dc, group, kPreferredLength, resume);
      },
      [&](const platform::GroupUsersInfo0& user) {
        WriteRow(dc, platform::SidNameUse::kUser, user.name, type);
        return !context_.StopRequested();
      });
  if (status != win::ERROR_SUCCESS) {
    context_.output.AddProgressRow(
        dc,
        FillMessage("Unable to get global group members for '%s' from '%s'. ", {group, dc}) +
            WindowsErrorText(status),
        2, ProgressKind::kFailure);
  }
}

}  // namespace tabulon
