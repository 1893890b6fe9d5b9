#include "estate/simulation.h"

#include <cstdio>

namespace tabulon::estate {

Destination Simulation::ToComputer(const Computer* computer) const {
  Destination to;
  to.latency_ms =
      computer != nullptr && computer->latency_ms ? *computer->latency_ms : estate_.latency_ms;
  if (computer == nullptr) return to;
  to.reachable = !computer->offline;
  to.failures = &computer->failures;
  to.scope = estate_.IndexOf(*computer);
  return to;
}

Destination Simulation::ToDomain(const Domain* domain) const {
  Destination to = ToComputer(domain != nullptr ? estate_.ControllerOf(*domain) : nullptr);
  // The domain answers even when its controller is down; what it answers
  // with is up to the call.
  to.reachable = domain != nullptr;
  to.failures = domain != nullptr ? &domain->failures : nullptr;
  to.scope = 0;
  return to;
}

win::Status Simulation::Injected(Operation op, const FailureList& failures, std::uint32_t scope) {
  const InjectedFailure* failure = FindFailure(failures, op);
  if (failure == nullptr) return win::ERROR_SUCCESS;
  if (failure->after_calls == 0) return failure->status;
  const std::lock_guard lock(mutex_);
  std::uint32_t& calls = calls_[{failure, scope}];
  if (calls < failure->after_calls) {
    ++calls;
    return win::ERROR_SUCCESS;
  }
  return failure->status;
}

void Simulation::NoteLeakedHandles(std::vector<std::string> descriptions) {
  if (descriptions.empty()) return;
  const std::lock_guard lock(mutex_);
  for (auto& text : descriptions) leaked_.push_back(std::move(text));
}

std::vector<std::string> Simulation::LeakedHandles() const {
  const std::lock_guard lock(mutex_);
  return leaked_;
}

std::size_t Simulation::LeakedHandleCount() const {
  const std::lock_guard lock(mutex_);
  return leaked_.size();
}

std::string Hex(std::uint32_t value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", value);
  return buf;
}

}  // namespace tabulon::estate
