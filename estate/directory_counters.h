#pragma once
// A domain controller keeps the logon counters of the domain's accounts on
// its own (they are not replicated): a directory search sent to a
// controller shows that controller's counters, as its user accounts family
// does.
#include "estate/estate.h"
#include "platform/directory_search.h"

namespace tabulon::estate {

// Sets lastLogon, lastLogoff, badPwdCount and logonCount of an entry with a
// sAMAccountName to `controller`'s counters of that account (all 0 when it
// has none), for those of the four the request asks for.
void ApplyLogonCounters(const Computer& controller, const platform::SearchRequest& request,
                        platform::DirectoryEntry& entry);

}  // namespace tabulon::estate
