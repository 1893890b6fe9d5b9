#pragma once
// Nested expansion: the members of a domain group that is a member of a
// local group, written as rows of that local group.
#include <string>
#include <string_view>
#include <vector>

#include "engine/run_context.h"
#include "exporters/accounts/groups/member_details.h"

namespace tabulon {

struct NestedOptions {
  bool details = false;        // a detail column is selected
  bool disabled_users = true;  // keep disabled user accounts
};

class NestedMembers {
 public:
  // `row` is the member row of the local group being exported.
  NestedMembers(ExportContext& context, Row& row, MemberDetails& details, NestedOptions options)
      : context_(context), row_(row), details_(details), options_(options) {}

  // Writes a row per member of the group `qualified` ("DOMAIN\group") of
  // the given usage. The row already holds the local group's name and
  // type. A group met again inside its own expansion is not expanded
  // a second time, so cycles end.
  void Expand(const tagCObjects& target, platform::SidNameUse usage, std::string_view qualified);

 private:
  void ExpandAlias(const tagCObjects& target, const std::string& dc, std::string_view group,
                   const std::string& type);
  void ExpandGlobal(const std::string& dc, std::string_view group, const std::string& type);
  // A member row of the expansion; false when the member was dropped.
  bool WriteRow(std::string_view computer, platform::SidNameUse usage, std::string_view name,
                const std::string& type);

  ExportContext& context_;
  Row& row_;
  MemberDetails& details_;
  NestedOptions options_;
  std::vector<std::string> chain_;  // the groups being expanded, lower case
};

}  // namespace tabulon
