#include "estate/call_log.h"

#include <algorithm>

namespace tabulon::estate {

void CallLog::Record(std::string_view operation, std::string_view host, std::string detail) {
  if (!enabled()) return;
  const std::lock_guard lock(mutex_);
  calls_.push_back({std::string(operation), std::string(host), std::move(detail)});
}

std::vector<CallRecord> CallLog::Calls() const {
  const std::lock_guard lock(mutex_);
  return calls_;
}

std::size_t CallLog::Count(std::string_view operation) const {
  const std::lock_guard lock(mutex_);
  return static_cast<std::size_t>(std::count_if(
      calls_.begin(), calls_.end(), [&](const CallRecord& c) { return c.operation == operation; }));
}

void CallLog::Clear() {
  const std::lock_guard lock(mutex_);
  calls_.clear();
}

}  // namespace tabulon::estate
