#include "exporters/accounts/groups/member_details.h"

#include <optional>
#include <utility>

#include "format/special_values.h"
#include "platform/netapi.h"
#include "platform/text.h"

namespace tabulon {
namespace {

constexpr std::string_view kNoDc = "ERROR: NO_DC";

// "\\PC1.example.com" is the computer PC1.
std::string_view BareComputerName(std::string_view computer) {
  while (computer.starts_with('\\')) computer.remove_prefix(1);
  return computer.substr(0, computer.find('.'));
}

}  // namespace

std::string MemberDetails::DomainController(std::string_view domain) {
  if (std::optional<tagDc> cached = caches_.FindDc(domain)) return std::move(cached->dc_name);
  if (memo_.DcFailed(domain)) return {};
  const platform::DcNameResult dc = session_.accounts().NetGetDCName("", domain);
  if (dc.status != win::ERROR_SUCCESS) {
    memo_.AddFailedDc(domain);
    return {};
  }
  caches_.AddDc({std::string(domain), dc.dc_name});
  return dc.dc_name;
}

bool MemberDetails::Lookup(Row& row, std::string_view computer, platform::SidNameUse usage,
                           std::string_view member) {
  using platform::SidNameUse;
  if (usage == SidNameUse::kWellKnownGroup) {
    row[kMemberEnabled] = format::kTrue;
    return true;
  }
  const std::string_view computer_name = BareComputerName(computer);
  std::string_view account = member;
  bool local = true;
  std::string server(computer_name);
  if (const auto slash = member.find('\\'); slash != std::string_view::npos) {
    const std::string_view domain = member.substr(0, slash);
    account = member.substr(slash + 1);
    local = text::EqualsNoCase(domain, computer_name);
    if (!local) {
      server = DomainController(domain);
      if (server.empty()) {
        row[kMemberFullName] = kNoDc;
        row[kMemberComment] = kNoDc;
        return true;
      }
    }
  }
  std::optional<tagMember> found = caches_.FindMember(server, account);
  if (!found) {
    if (const tagMember* failed = memo_.FindMember(server, account)) found = *failed;
  }
  if (const std::optional<tagMember>& cached = found) {
    row[kMemberFullName] = cached->full_name;
    row[kMemberComment] = cached->comment;
    row[kMemberType] = cached->member_type;
    row[kMemberEnabled] = cached->enabled != 0 ? format::kTrue : format::kFalse;
    return cached->enabled != 0;
  }

  row[kMemberFullName] = format::kError;
  row[kMemberComment] = format::kError;
  row[kMemberEnabled] = format::kTrue;
  int enabled = 1;
  win::Status status = win::ERROR_SUCCESS;  // of the call that read the account
  platform::GroupService& groups = session_.groups();
  switch (usage) {
    case SidNameUse::kUser: {
      constexpr std::uint32_t kLevel = 20;
      const platform::UserInfoResult user =
          session_.users().NetUserGetInfo(server, account, kLevel);
      status = user.status;
      if (user.status == win::ERROR_SUCCESS) {
        row[kMemberFullName] = user.info.full_name;
        row[kMemberComment] = user.info.comment;
        if ((user.info.flags & platform::kUfAccountDisable) != 0) {
          row[kMemberEnabled] = format::kFalse;
          enabled = 0;
        }
      }
      row[kMemberType] = local ? "LOCAL_USER" : "DOMAIN_USER";
      break;
    }
    case SidNameUse::kGroup: {
      const platform::GroupInfoResult group = groups.NetGroupGetInfo1(server, account);
      status = group.status;
      if (group.status == win::ERROR_SUCCESS) {
        row[kMemberFullName].clear();
        row[kMemberComment] = group.info.comment;
      }
      row[kMemberType] = "DOMAIN_GROUP";
      break;
    }
    case SidNameUse::kAlias: {
      const platform::LocalGroupInfoResult alias = groups.NetLocalGroupGetInfo1(server, account);
      status = alias.status;
      if (alias.status == win::ERROR_SUCCESS) {
        row[kMemberFullName].clear();
        row[kMemberComment] = alias.info.comment;
      }
      row[kMemberType] = "DOMAIN_LOCAL_GROUP";
      break;
    }
    default:
      break;
  }
  tagMember learnt{
      server, std::string(account), row[kMemberFullName], row[kMemberComment], row[kMemberType],
      enabled};
  if (status == win::ERROR_SUCCESS) {
    caches_.AddMember(std::move(learnt));
  } else {
    memo_.AddMember(std::move(learnt));
  }
  return enabled != 0;
}

}  // namespace tabulon
