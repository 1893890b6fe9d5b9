#pragma once
// A directory query as its editor holds it, the rules the editor keeps
// about the attribute list, and the keys it writes back to the query's
// section of the directory query file.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/messages.h"
#include "platform/profile.h"
#include "ui/template_store.h"

namespace tabulon::ui {

struct DirectoryQuery {
  bool enabled = true;
  std::string name;
  std::string output_file;
  std::int32_t level = 0;   // 1: all directory levels
  std::int32_t filter = 0;  // the object type filter
  // Filters 2-5.
  std::int32_t group_members = 0;
  std::int32_t indirect_members = 0;
  // Filters 1 and 6.
  std::int32_t user_groups = 0;
  std::int32_t logon_information = 0;
  std::int32_t last_logon_type = 0;
  std::int32_t skip_controllers = 0;
  std::vector<std::string> attributes;
  // Not edited here: kept as the section holds them, so that a renamed
  // query keeps them too (empty: the run's default).
  std::string member_attributes;  // GroupMemberAttributes
  std::string group_attributes;   // UserGroupAttributes
};

// An empty `name` gives a new query, with the attribute a run takes when
// there is none ("name").
DirectoryQuery ReadDirectoryQueryTemplate(platform::Profile& profile, const std::string& file,
                                          const std::string& name);
// Enabled, OutputFileName, Level, Filter, the options of the filter's kind
// and Attributes; then the member and group column lists when they are
// set (the same values a section holding them already has, and what a
// renamed query takes along), as StoreTemplate writes them.
std::vector<TemplateValue> DirectoryQueryValues(const DirectoryQuery& query);

bool IsGroupQueryFilter(std::int32_t filter);    // 2-5
bool IsAccountQueryFilter(std::int32_t filter);  // 1 (users) and 6 (computers)

// A terminal-server pseudo-attribute ("tse_...").
bool IsTseAttribute(std::string_view name);
// Without regard to case.
bool HasAttribute(const std::vector<std::string>& attributes, std::string_view name);
// Adding `name` needs "samaccountname" first (59483 asks).
bool AddNeedsSamAccountName(const std::vector<std::string>& attributes, std::string_view name);
// Removing the attribute at `index` is refused (59482).
bool RemoveRefused(const std::vector<std::string>& attributes, std::size_t index);
// Why the query cannot be saved as it is (59498, 59504, 59503), in that
// order; none when it can.
std::optional<MessageId> SaveRefusal(const DirectoryQuery& query);

}  // namespace tabulon::ui
