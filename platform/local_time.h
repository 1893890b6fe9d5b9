#pragma once
// Broken-down time in the process time zone (TZ) and in UTC, safe to call
// from several threads.
#include <ctime>
#include <optional>

namespace tabulon::platform {

// False when `when` cannot be represented.
bool ToLocalTm(std::time_t when, std::tm& out);
bool ToUtcTm(std::time_t when, std::tm& out);

// Seconds east of UTC of the process time zone at `when`, daylight saving
// included.
std::optional<long> UtcOffsetSeconds(std::time_t when);

}  // namespace tabulon::platform
