#pragma once
// The largest values the run accepts for settings whose extremes would make
// it run for ever or overflow; larger values are taken as these.
#include <algorithm>
#include <cstdint>

namespace tabulon {

// Echo attempts per computer.
inline constexpr std::int32_t kMaxPingRetry = 10;
// Milliseconds one echo may wait, also after the multiplier has grown it.
inline constexpr std::int64_t kMaxPingTimeoutMs = 60000;
inline constexpr std::int32_t kMaxPingRetryMultiplier = 10;
inline constexpr std::int32_t kMaxPingTtl = 255;
// Seconds one remote call may take.
inline constexpr std::int64_t kMinCallTimeoutSeconds = 1;
inline constexpr std::int64_t kMaxCallTimeoutSeconds = 86400;

// The next echo's timeout: `timeout` times `multiplier`, saturating at the
// maximum (both are already within their limits, so the product fits).
inline std::int64_t NextPingTimeout(std::int64_t timeout, std::int32_t multiplier) {
  return std::clamp<std::int64_t>(timeout * multiplier, 0, kMaxPingTimeoutMs);
}

}  // namespace tabulon
