#pragma once
// Account databases of generated domains for the users export: a user record
// per account and, on each controller, its own logon counters, so that
// consolidating them across controllers has something to do.
#include <cstdint>
#include <memory>

#include "estate/estate.h"

namespace tabulon::estate {

// The users of `domain`'s accounts of kind user, in database order.
std::shared_ptr<const UserList> MakeUserRecords(const Domain& domain);
// What the controller numbered `controller` counts for each of `users`.
std::vector<LogonCounters> MakeLogonCounters(const UserList& users, std::uint32_t controller);

}  // namespace tabulon::estate
