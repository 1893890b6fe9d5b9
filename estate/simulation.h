#pragma once
// What the estate backends share: the estate, the call log, the latency of
// remote calls and the counters of failures that start after some calls.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "estate/call_log.h"
#include "estate/estate.h"
#include "estate/operations.h"
#include "platform/status.h"

namespace tabulon::estate {

class Simulation {
 public:
  explicit Simulation(const Estate& estate) : estate_(estate) {}
  Simulation(const Simulation&) = delete;
  Simulation& operator=(const Simulation&) = delete;

  const Estate& estate() const { return estate_; }
  CallLog& log() { return log_; }

  // Records a call; `detail` is only invoked when the log records, so
  // benchmarks do not pay for formatting.
  template <typename DetailFn>
  void Record(Operation op, std::string_view host, DetailFn&& detail) {
    if (log_.enabled()) log_.Record(OperationName(op), host, detail());
  }
  // Sleeps for the latency of a remote call to `computer` (the estate's
  // default when it is null: an unknown name costs a round trip too).
  void Wait(const Computer* computer) const;
  // The status a failure injected for `op` asks for on this call, or
  // ERROR_SUCCESS. Every call counts towards "after_calls"; `scope` keeps
  // the counts of computers that share one list (a shared service list)
  // apart.
  win::Status Injected(Operation op, const FailureList& failures, std::uint32_t scope);

 private:
  const Estate& estate_;
  CallLog log_;
  std::map<std::pair<const InjectedFailure*, std::uint32_t>, std::uint32_t> calls_;
};

// "0x00000033" for call details.
std::string Hex(std::uint32_t value);

}  // namespace tabulon::estate
