#pragma once
// Windows status numbers by their symbolic names, for estate files that say
// "ERROR_ACCESS_DENIED" rather than 5.
#include <optional>
#include <string_view>

#include "platform/status.h"

namespace tabulon::estate {

// A known name (any letter case) or a decimal number.
std::optional<win::Status> StatusFromName(std::string_view name);
// The first name of a status, empty when it has none.
std::string_view StatusName(win::Status code);

}  // namespace tabulon::estate
