#pragma once
// What the sessions of one estate backend share: the estate, the call log,
// the latency of remote calls, the counters of failures that start after
// some calls, the service-list index and the handles sessions left open.
// Sessions run on threads of their own, so what changes is behind a lock.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "estate/call_log.h"
#include "estate/estate.h"
#include "estate/operations.h"
#include "estate/service_lists.h"
#include "platform/cancel.h"
#include "platform/session.h"
#include "platform/status.h"

namespace tabulon::estate {

// Where a call goes: how long the round trip takes, whether anything answers
// there, and which injected failures apply.
struct Destination {
  std::uint32_t latency_ms = 0;
  bool reachable = false;
  const FailureList* failures = nullptr;  // none injected when null
  std::uint32_t scope = 0;                // see Simulation::Injected
};

class Simulation {
 public:
  explicit Simulation(const Estate& estate) : estate_(estate) {}
  Simulation(const Simulation&) = delete;
  Simulation& operator=(const Simulation&) = delete;

  const Estate& estate() const { return estate_; }
  CallLog& log() { return log_; }
  ServiceListIndex& service_lists() { return service_lists_; }

  // A computer as a call names it (null: the name reaches nothing, which
  // costs the estate's round trip too).
  Destination ToComputer(const Computer* computer) const;
  // A domain, answered by its controller (null: no such domain).
  Destination ToDomain(const Domain* domain) const;

  // Records a call; `detail` is only invoked when the log records, so the
  // program does not pay for formatting.
  template <typename DetailFn>
  void Record(Operation op, std::string_view host, DetailFn&& detail) {
    if (log_.enabled()) log_.Record(OperationName(op), host, detail());
  }

  // Every call that goes to another computer, in order: records the call;
  // waits for the round trip as the session allows (ERROR_TIMEOUT after the
  // session's call timeout when the round trip takes longer, ERROR_CANCELLED
  // as soon as its cancel token is set); `unreachable` (which differs per
  // family) when nothing answers there; the failure injected there.
  template <typename DetailFn>
  win::Status Reach(const platform::SessionOptions& session, Operation op, std::string_view host,
                    DetailFn&& detail, const Destination& to, win::Status unreachable) {
    Record(op, host, detail);
    const win::Status waited =
        platform::WaitAsCall(std::chrono::milliseconds(to.latency_ms),
                             std::chrono::milliseconds(session.call_timeout_ms), session.cancel);
    if (waited != win::ERROR_SUCCESS) return waited;
    if (!to.reachable) return unreachable;
    return to.failures != nullptr ? Injected(op, *to.failures, to.scope) : win::ERROR_SUCCESS;
  }

  // The status a failure injected for `op` asks for on this call, or
  // ERROR_SUCCESS. Every call counts towards "after_calls", whichever session
  // makes it; `scope` keeps the counts of computers that share one list (a
  // shared service list) apart.
  win::Status Injected(Operation op, const FailureList& failures, std::uint32_t scope);

  // A session that closes with handles still open reports them here.
  void NoteLeakedHandles(std::vector<std::string> descriptions);
  std::vector<std::string> LeakedHandles() const;
  std::size_t LeakedHandleCount() const;

 private:
  const Estate& estate_;
  CallLog log_;
  ServiceListIndex service_lists_;
  mutable std::mutex mutex_;  // guards calls_ and leaked_
  std::map<std::pair<const InjectedFailure*, std::uint32_t>, std::uint32_t> calls_;
  std::vector<std::string> leaked_;
};

// "0x00000033" for call details.
std::string Hex(std::uint32_t value);

}  // namespace tabulon::estate
