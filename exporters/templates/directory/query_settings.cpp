#include "exporters/templates/directory/query_settings.h"

#include <array>

namespace tabulon {
namespace {

constexpr std::string_view kContainerFilter =
    "(|(objectClass=organizationalUnit)(objectClass=container)(objectClass=builtinDomain)"
    "(objectClass=lostAndFound))";

// Filters 3 to 5 match any of the group type bits (the bitwise-or rule).
constexpr std::array kFilters{
    QueryFilter{0, "All objects (*)", "(&(objectClass=*))", ProgressKind::kDirectoryDomain},
    QueryFilter{1, "Users", "(&(objectClass=user)(objectCategory=person))",
                ProgressKind::kDirectoryUsers},
    QueryFilter{2, "Groups", "(&(objectCategory=group))", ProgressKind::kDirectoryGroups},
    QueryFilter{3, "Global Groups", "(groupType:1.2.840.113556.1.4.804:=2)",
                ProgressKind::kDirectoryGlobalGroups},
    QueryFilter{4, "Local Groups", "(groupType:1.2.840.113556.1.4.804:=4)",
                ProgressKind::kDirectoryLocalGroups},
    QueryFilter{5, "Universal Groups", "(groupType:1.2.840.113556.1.4.804:=8)",
                ProgressKind::kDirectoryUniversalGroups},
    QueryFilter{6, "Computers", "(&(objectCategory=computer))", ProgressKind::kDirectoryComputers},
    QueryFilter{7, "Contacts", "(&(objectClass=contact))", ProgressKind::kDirectoryContacts},
    QueryFilter{8, "Shares", "(&(objectCategory=volume))", ProgressKind::kDirectoryShares},
    QueryFilter{9, "Printers", "(&(objectCategory=printqueue))", ProgressKind::kPrinter},
    QueryFilter{10, "Containers/OUs", kContainerFilter, ProgressKind::kDirectoryContainers},
};

bool IsGroupFilter(std::int32_t filter) {
  return filter >= 2 && filter <= 5;
}
bool IsAccountFilter(std::int32_t filter) {
  return filter == 1 || filter == 6;
}

std::string OrDefault(std::string&& text, std::string_view fallback) {
  return text.empty() ? std::string(fallback) : std::move(text);
}

}  // namespace

std::span<const QueryFilter> QueryFilters() {
  return kFilters;
}

const QueryFilter& QueryFilterFor(std::int32_t value) {
  for (const QueryFilter& filter : kFilters) {
    if (filter.value == value) return filter;
  }
  return kFilters.front();
}

DirectoryQuerySettings ReadDirectoryQuery(const Configuration& file, std::string_view name) {
  DirectoryQuerySettings q;
  q.attributes = file.ReadText(name, "Attributes", "name");
  q.level = file.ReadInt(name, "Level", 0);
  q.filter = file.ReadInt(name, "Filter", 0);
  if (IsGroupFilter(q.filter)) {
    q.group_members = file.ReadInt(name, "GetGroupMembers", 0) == 1;
    if (q.group_members) {
      q.member_attributes = OrDefault(file.ReadText(name, "GroupMemberAttributes", ""),
                                      kDefaultGroupMemberAttributes);
      q.nested_members = file.ReadInt(name, "GetIndirectGroupMembers", 0) == 1;
    }
  }
  if (IsAccountFilter(q.filter)) {
    q.account_groups = file.ReadInt(name, "GetUserGroups", 0) == 1;
    if (q.account_groups) {
      q.group_attributes =
          OrDefault(file.ReadText(name, "UserGroupAttributes", ""), kDefaultUserGroupAttributes);
    }
    q.logon_information = file.ReadInt(name, "GetLogonInformation", 0) == 1;
    if (q.logon_information) {
      q.last_logon_type = file.ReadInt(name, "LastLogonType", 0);
      q.skip_controllers = file.ReadInt(name, "SkipSpecifiedDomainControllers", 0) != 0;
    }
  }
  q.column_text = file.ReadText(name, "Attributes", "") + ",";
  if (q.group_members) q.column_text += q.member_attributes + ",";
  if (q.account_groups) q.column_text += q.group_attributes + ",";
  return q;
}

}  // namespace tabulon
