#include "ui/directory_query.h"

#include "engine/configuration.h"
#include "platform/text.h"

namespace tabulon::ui {
namespace {

constexpr std::string_view kSamAccountName = "samaccountname";
constexpr std::string_view kLogonAttributes[] = {"logoncount", "badpwdcount", "lastlogon",
                                                 "lastlogoff"};

bool HasTseAttribute(const std::vector<std::string>& attributes) {
  for (const std::string& a : attributes) {
    if (IsTseAttribute(a)) return true;
  }
  return false;
}

// Split at ",", without the empty names a run skips too.
std::vector<std::string> SplitAttributes(std::string_view text) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) comma = text.size();
    if (comma > start) names.emplace_back(text.substr(start, comma - start));
    start = comma + 1;
  }
  return names;
}

}  // namespace

DirectoryQuery ReadDirectoryQueryTemplate(platform::Profile& profile, const std::string& file,
                                          const std::string& name) {
  DirectoryQuery q;
  // A section that is not there reads as the run's defaults.
  const Configuration section(profile, file);
  q.name = name;
  q.enabled = name.empty() || section.ReadInt(name, "Enabled", 1) != 0;
  q.output_file = section.ReadText(name, "OutputFileName", "");
  q.level = section.ReadInt(name, "Level", 0);
  q.filter = section.ReadInt(name, "Filter", 0);
  q.group_members = section.ReadInt(name, "GetGroupMembers", 0);
  q.indirect_members = section.ReadInt(name, "GetIndirectGroupMembers", 0);
  q.user_groups = section.ReadInt(name, "GetUserGroups", 0);
  q.logon_information = section.ReadInt(name, "GetLogonInformation", 0);
  q.last_logon_type = section.ReadInt(name, "LastLogonType", 0);
  q.skip_controllers = section.ReadInt(name, "SkipSpecifiedDomainControllers", 0);
  q.member_attributes = section.ReadText(name, "GroupMemberAttributes", "");
  q.group_attributes = section.ReadText(name, "UserGroupAttributes", "");
  q.attributes =
      SplitAttributes(name.empty() ? "name" : section.ReadText(name, "Attributes", "name"));
  return q;
}

std::vector<TemplateValue> DirectoryQueryValues(const DirectoryQuery& q) {
  std::vector<TemplateValue> values{{"Enabled", SwitchText(q.enabled)},
                                    {"OutputFileName", q.output_file},
                                    {"Level", std::to_string(q.level)},
                                    {"Filter", std::to_string(q.filter)}};
  if (IsGroupQueryFilter(q.filter)) {
    values.push_back({"GetGroupMembers", std::to_string(q.group_members)});
    values.push_back({"GetIndirectGroupMembers", std::to_string(q.indirect_members)});
  }
  if (IsAccountQueryFilter(q.filter)) {
    values.push_back({"GetUserGroups", std::to_string(q.user_groups)});
    values.push_back({"GetLogonInformation", std::to_string(q.logon_information)});
    values.push_back({"LastLogonType", std::to_string(q.last_logon_type)});
    values.push_back({"SkipSpecifiedDomainControllers", std::to_string(q.skip_controllers)});
  }
  values.push_back({"Attributes", JoinTemplateItems(q.attributes, ',')});
  if (!q.member_attributes.empty()) {
    values.push_back({"GroupMemberAttributes", q.member_attributes});
  }
  if (!q.group_attributes.empty()) values.push_back({"UserGroupAttributes", q.group_attributes});
  return values;
}

bool IsGroupQueryFilter(std::int32_t filter) {
  return filter >= 2 && filter <= 5;
}

bool IsAccountQueryFilter(std::int32_t filter) {
  return filter == 1 || filter == 6;
}

bool IsTseAttribute(std::string_view name) {
  return text::StartsWithNoCase(name, "tse_");
}

bool HasAttribute(const std::vector<std::string>& attributes, std::string_view name) {
  for (const std::string& a : attributes) {
    if (text::EqualsNoCase(a, name)) return true;
  }
  return false;
}

bool AddNeedsSamAccountName(const std::vector<std::string>& attributes, std::string_view name) {
  return IsTseAttribute(name) && !HasAttribute(attributes, kSamAccountName);
}

bool RemoveRefused(const std::vector<std::string>& attributes, std::size_t index) {
  return index < attributes.size() && text::EqualsNoCase(attributes[index], kSamAccountName) &&
         HasTseAttribute(attributes);
}

std::optional<MessageId> SaveRefusal(const DirectoryQuery& q) {
  const bool memberships = (IsGroupQueryFilter(q.filter) && q.group_members == 1) ||
                           (IsAccountQueryFilter(q.filter) && q.user_groups == 1);
  if (memberships && !HasAttribute(q.attributes, "adspath")) return kMsgAdsPathRequired;
  if (IsAccountQueryFilter(q.filter) && q.logon_information == 1 && q.last_logon_type == 0) {
    bool logon = false;
    for (std::string_view a : kLogonAttributes) logon = logon || HasAttribute(q.attributes, a);
    if (!logon) return kMsgLogonAttributesRequired;
    if (!HasAttribute(q.attributes, kSamAccountName)) return kMsgSamAccountNameRequiredByLogon;
  }
  return std::nullopt;
}

}  // namespace tabulon::ui
