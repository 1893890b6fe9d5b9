#include "estate/simulation.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace tabulon::estate {

void Simulation::Wait(const Computer* computer) const {
  const std::uint32_t ms =
      computer != nullptr && computer->latency_ms ? *computer->latency_ms : estate_.latency_ms;
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

win::Status Simulation::Injected(Operation op, const FailureList& failures, std::uint32_t scope) {
  const InjectedFailure* failure = FindFailure(failures, op);
  if (failure == nullptr) return win::ERROR_SUCCESS;
  if (failure->after_calls == 0) return failure->status;
  std::uint32_t& calls = calls_[{failure, scope}];
  if (calls < failure->after_calls) {
    ++calls;
    return win::ERROR_SUCCESS;
  }
  return failure->status;
}

std::string Hex(std::uint32_t value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", value);
  return buf;
}

}  // namespace tabulon::estate
