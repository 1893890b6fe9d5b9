#include "platform/local_time.h"

namespace tabulon::platform {

bool ToLocalTm(std::time_t when, std::tm& out) {
  return ::localtime_r(&when, &out) != nullptr;
}

bool ToUtcTm(std::time_t when, std::tm& out) {
  return ::gmtime_r(&when, &out) != nullptr;
}

std::optional<long> UtcOffsetSeconds(std::time_t when) {
  std::tm tm{};
  if (!ToLocalTm(when, tm)) return std::nullopt;
  return tm.tm_gmtoff;
}

}  // namespace tabulon::platform
