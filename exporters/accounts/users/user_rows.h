#pragma once
// The users exporter for one computer: a users row per account of its
// database and a user groups row per group of each account.
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "engine/run_context.h"
#include "exporters/toolkit/last_logons.h"

namespace tabulon {

// Which optional column groups the users columns ask for.
struct UserColumnGroups {
  bool sid = false;  // UserSID
  bool ras = false;  // the dial-in columns
  bool tse = false;  // the terminal-server columns
};
UserColumnGroups ColumnGroupsOf(const std::vector<std::uint32_t>& users_columns);

// The domain SID text of each computer a run has asked, by the computer's
// name as its target gives it. A computer has one domain SID, so a hit
// gives the text a fresh NetUserModalsGet would, and a target named twice
// is asked once. A failed call gives "ERROR" to that export only and is not
// remembered: the next export of the computer asks again.
class DomainSidCache {
 public:
  std::optional<std::string> Find(const std::string& computer) const;
  void Add(const std::string& computer, const std::string& sid_text);

 private:
  mutable std::mutex mutex_;  // targets exported at once share the run's cache
  std::map<std::string, std::string> sids_;
};

// Exports the accounts of `target`, with the consolidated values of
// `consolidated` for the accounts it holds when given. True when a failure
// was reported.
bool ExportComputerUsers(ExportContext& context, const tagCObjects& target,
                         const UserColumnGroups& groups, DomainSidCache& sid_cache,
                         const LastLogonMap* consolidated);

}  // namespace tabulon
