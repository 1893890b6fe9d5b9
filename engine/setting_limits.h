#pragma once
// Limits of settings that code beyond the setting's reading needs, taken from
// the ranges of the configuration key table (the run reads the settings
// themselves within those ranges through Configuration::ReadNumber).
#include <algorithm>
#include <cstdint>

#include "engine/config_key_table.h"

namespace tabulon {

// Milliseconds one echo may wait, also after the multiplier has grown it.
inline constexpr std::int64_t kMaxPingTimeoutMs =
    key_table::Row("Computers", "PingTimeout").range.max;

// The next echo's timeout: `timeout` times `multiplier`, saturating at the
// maximum (both are already within their ranges, so the product fits).
inline std::int64_t NextPingTimeout(std::int64_t timeout, std::int32_t multiplier) {
  return std::clamp<std::int64_t>(timeout * multiplier, 0, kMaxPingTimeoutMs);
}

}  // namespace tabulon
