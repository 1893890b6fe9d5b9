#pragma once
// Windows statuses as estate files give them: "ERROR_ACCESS_DENIED" or 5.
#include <optional>
#include <string_view>

#include "platform/status.h"

namespace tabulon::estate {

// A name of the platform's status list (any letter case) or a decimal number.
std::optional<win::Status> StatusFromName(std::string_view name);

}  // namespace tabulon::estate
