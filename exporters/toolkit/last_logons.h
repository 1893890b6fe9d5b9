#pragma once
// Consolidated logon values of an NT domain: every controller counts logons
// of the domain's accounts on its own, so the totals and the latest times
// come from asking each of them.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/run_context.h"
#include "platform/user_accounts.h"

namespace tabulon {

struct tagLastLogon {
  std::string name;
  std::uint32_t last_logon = 0;  // seconds since 1970
  std::uint32_t last_logoff = 0;
  std::uint32_t bad_pw_count = 0;
  std::uint32_t logon_count = 0;
};

// By account name, exact and case-sensitive.
using LastLogonMap = std::unordered_map<std::string, tagLastLogon>;

// A new account takes the controller's values; a known one adds the counts
// and keeps the later of each time.
void MergeLastLogon(LastLogonMap& map, const tagLastLogon& values);
void MergeLastLogon(LastLogonMap& map, const platform::UserInfo& info);

// Adds the logon values of every account of `controller` to `map`, with the
// progress row that says so.
void CollectLastLogons(ExportContext& context, const tagCObjects& controller, LastLogonMap& map);

// Calls `each(page entry)` for every account of `server`'s display list;
// the status of the call that failed, or ERROR_SUCCESS. `each` returns false
// to stop the listing early.
template <typename Each>
win::Status ForEachDisplayUser(platform::UserAccounts& users, std::string_view server,
                               Each&& each) {
  constexpr std::uint32_t kUsersPerCall = 2500;
  std::uint32_t index = 0;
  while (true) {
    const platform::DisplayUsersResult page =
        users.NetQueryDisplayUsers(server, index, kUsersPerCall, platform::kMaxPreferredLength);
    if (page.status != win::ERROR_SUCCESS && page.status != win::ERROR_MORE_DATA) {
      return page.status;
    }
    if (page.entries.empty()) return win::ERROR_SUCCESS;
    for (const platform::DisplayUser& user : page.entries) {
      if (!each(user)) return win::ERROR_SUCCESS;
    }
    index = page.entries.back().next_index;
  }
}

}  // namespace tabulon
