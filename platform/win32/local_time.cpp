#include "platform/local_time.h"

#include <time.h>

namespace tabulon::platform {

// The C runtime's conversions: they follow TZ when it is set, else the
// system's time-zone settings. The _s forms write to the caller's tm, so
// threads do not share a buffer.
bool ToLocalTm(std::time_t when, std::tm& out) {
  return ::localtime_s(&out, &when) == 0;
}

bool ToUtcTm(std::time_t when, std::tm& out) {
  return ::gmtime_s(&out, &when) == 0;
}

std::optional<long> UtcOffsetSeconds(std::time_t when) {
  // Windows has no tm_gmtoff: read the local fields back as if they were
  // UTC, and the difference is the offset.
  std::tm tm{};
  if (!ToLocalTm(when, tm)) return std::nullopt;
  tm.tm_isdst = 0;
  const std::time_t as_utc = ::_mkgmtime(&tm);
  if (as_utc == static_cast<std::time_t>(-1)) return std::nullopt;
  return static_cast<long>(as_utc - when);
}

}  // namespace tabulon::platform
