#pragma once
// One directory query as its template file section describes it, and the
// object type filters a query chooses from.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/configuration.h"
#include "engine/progress.h"

namespace tabulon {

inline constexpr std::string_view kDefaultGroupMemberAttributes =
    "distinguishedname,cn,displayname,description,objectclass,samaccountname,useraccountcontrol,"
    "%IS_PRIMARY%,%INDIRECT_MEMBER_PARENT%";
inline constexpr std::string_view kDefaultUserGroupAttributes =
    "distinguishedname,cn,description,grouptype,samaccountname,%IS_PRIMARY%";

// One row of the object type filter table.
struct QueryFilter {
  std::int32_t value;
  std::string_view label;
  std::string_view ldap_filter;
  ProgressKind progress_kind;
};

std::span<const QueryFilter> QueryFilters();
// The row of `value`; a value outside the table searches every object.
const QueryFilter& QueryFilterFor(std::int32_t value);

struct DirectoryQuerySettings {
  std::string attributes;  // as written; "name" when the key is missing
  // The title row's columns: the attributes as written (none when the key
  // is missing), then the member or group columns the options add, each
  // followed by ",".
  std::string column_text;
  std::int32_t level = 0;  // 1: subtree
  std::int32_t filter = 0;
  bool group_members = false;  // filters 2-5
  bool nested_members = false;
  std::string member_attributes;  // the default when empty
  bool account_groups = false;    // filters 1 and 6
  std::string group_attributes;   // the default when empty
  // Filters 1 and 6: collect the logon values of every controller of the
  // domain first; 0 merges them into one export, any other value exports
  // each controller on its own.
  bool logon_information = false;
  std::int32_t last_logon_type = 0;
  bool skip_controllers = false;  // leave out those the skip list names
};

DirectoryQuerySettings ReadDirectoryQuery(const Configuration& file, std::string_view name);

}  // namespace tabulon
