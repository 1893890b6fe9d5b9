#include "estate/backend.h"

#include <utility>

namespace tabulon::estate {

EstateBackend::EstateBackend(Estate estate)
    : estate_(std::move(estate)), simulation_(estate_), icmp_(simulation_) {}

std::unique_ptr<platform::TargetSession> EstateBackend::Open(
    std::string_view target, const platform::SessionOptions& options) {
  return OpenSession(target, options);
}

std::unique_ptr<EstateSession> EstateBackend::OpenSession(std::string_view target,
                                                          const platform::SessionOptions& options) {
  return std::make_unique<EstateSession>(simulation_, target, options);
}

void EstateBackend::Attach(platform::Platform& platform) {
  platform.sessions = this;
  platform.icmp = &icmp_;
}

}  // namespace tabulon::estate
