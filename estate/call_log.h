#pragma once
// The platform calls an estate backend has answered, in order, so tests can
// check what an exporter asked for. Benchmarks switch recording off.
#include <cstddef>
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
  const std::vector<CallRecord>& Calls() const { return calls_; }
  std::size_t Count(std::string_view operation) const;
  void Clear() { calls_.clear(); }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  bool enabled() const { return enabled_; }

 private:
  std::vector<CallRecord> calls_;
  bool enabled_ = true;
};

}  // namespace tabulon::estate
