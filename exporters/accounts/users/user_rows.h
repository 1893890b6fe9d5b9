#pragma once
// The users exporter for one computer: a users row per account of its
// database and a user groups row per group of each account.
#include <string>

#include "engine/run_context.h"
#include "exporters/accounts/users/last_logons.h"

namespace tabulon {

// Which optional column groups the users columns ask for.
struct UserColumnGroups {
  bool sid = false;  // UserSID
  bool ras = false;  // the dial-in columns
  bool tse = false;  // the terminal-server columns
};
UserColumnGroups ColumnGroupsOf(const std::vector<std::uint32_t>& users_columns);

// The domain SID text of the computer asked last; kept for the program's
// life, so a second target with the same name is not asked again.
struct DomainSidCache {
  std::string computer;
  std::string sid_text;
};

// Exports the accounts of `target`, with the consolidated values of
// `consolidated` for the accounts it holds when given. True when a failure
// was reported.
bool ExportComputerUsers(ExportContext& context, const tagCObjects& target,
                         const UserColumnGroups& groups, DomainSidCache& sid_cache,
                         const LastLogonMap* consolidated);

}  // namespace tabulon
