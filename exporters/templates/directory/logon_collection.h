#pragma once
// Consolidated logon values of a directory domain. Every controller counts
// the logons of the domain's accounts on its own (lastLogon, logonCount and
// the others are not replicated), so the totals and the latest times come
// from asking each controller in turn.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/run_output.h"
#include "exporters/toolkit/last_logons.h"
#include "format/name_list.h"
#include "format/settings.h"
#include "platform/directory_search.h"

namespace tabulon {

// The filter that lists the users (or, with `computers`, the computers)
// whose logon values are collected.
std::string_view DirectoryLogonFilter(bool computers);

// Reads the logon attributes of the accounts DirectoryLogonFilter lists
// below the object `directory` is open on, and merges them into `map`. A
// set `stop` ends the listing (ERROR_CANCELLED).
platform::DirectoryStatus CollectDirectoryLogons(platform::DirectorySearch& directory,
                                                 bool computers, const platform::CancelToken& stop,
                                                 LastLogonMap& map);

// The consolidated text of "logoncount", "badpwdcount", "lastlogon" or
// "lastlogoff" (any case) of `account`; nothing for any other attribute or
// an account the map does not hold.
std::optional<std::string> ConsolidatedDirectoryValue(const LastLogonMap& map,
                                                      std::string_view attribute,
                                                      std::string_view account,
                                                      const format::FormatSettings& settings);

}  // namespace tabulon
