#include "estate/backend.h"

#include <utility>

namespace tabulon::estate {

EstateBackend::EstateBackend(Estate estate)
    : estate_(std::move(estate)),
      simulation_(estate_),
      net_(simulation_),
      files_(simulation_),
      services_(simulation_),
      directory_(simulation_),
      icmp_(simulation_),
      accounts_(simulation_),
      terminal_(simulation_),
      registry_(simulation_),
      printing_(simulation_) {}

void EstateBackend::Attach(platform::Platform& platform) {
  platform.accounts = &accounts_;
  platform.net = &net_;
  platform.files = &files_;
  platform.services = &services_;
  platform.directory = &directory_;
  platform.icmp = &icmp_;
  platform.terminal = &terminal_;
  platform.registry = &registry_;
  platform.printing = &printing_;
}

}  // namespace tabulon::estate
