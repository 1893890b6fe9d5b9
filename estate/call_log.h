#pragma once
// The platform calls an estate backend has answered, in order, so tests can
// check what an exporter asked for. Off until a test switches it on, so that
// the program does not pile up calls; sessions on several threads may record
// at once.
#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon::estate {

struct CallRecord {
  std::string operation;  // "NetServerGetInfo", "EnumServicesStatus", ...
  std::string host;       // the server, domain or host argument as passed
  std::string detail;     // the other arguments, "key=value" separated by spaces

  bool operator==(const CallRecord&) const = default;
};

class CallLog {
 public:
  void Record(std::string_view operation, std::string_view host, std::string detail);
  // A copy: other sessions may be recording meanwhile.
  std::vector<CallRecord> Calls() const;
  std::size_t Count(std::string_view operation) const;
  void Clear();
  void SetEnabled(bool enabled) { enabled_.store(enabled, std::memory_order_relaxed); }
  bool enabled() const { return enabled_.load(std::memory_order_relaxed); }

 private:
  mutable std::mutex mutex_;
  std::vector<CallRecord> calls_;
  std::atomic<bool> enabled_{false};
};

}  // namespace tabulon::estate
