#pragma once
// ICMP echo answered from the estate's ping settings. Both methods behave
// alike except for the status of a timeout: the raw socket reports
// WSAETIMEDOUT, the system echo functions ERROR_TIMEOUT.
#include "estate/simulation.h"
#include "platform/icmp.h"

namespace tabulon::estate {

class EstateIcmp final : public platform::Icmp {
 public:
  explicit EstateIcmp(Simulation& simulation) : sim_(simulation) {}

  platform::EchoResult SystemEcho(const platform::EchoRequest& request) override;
  platform::EchoResult RawEcho(const platform::EchoRequest& request) override;

 private:
  platform::EchoResult Echo(Operation op, const platform::EchoRequest& request,
                            win::Status timeout_status);

  Simulation& sim_;
};

}  // namespace tabulon::estate
