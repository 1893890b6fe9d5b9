#pragma once
// ICMP echo through the system's echo functions (IcmpSendEcho2 of
// iphlpapi). Both methods go that way: Windows lets only administrators
// open raw sockets, and the echo functions carry any data, so the raw
// method sends the bytes its raw packet would carry.
#include "platform/icmp.h"
#include "platform/time.h"

namespace tabulon::platform {

class Win32Icmp final : public Icmp {
 public:
  // The clock gives the tick count that raw requests carry.
  explicit Win32Icmp(Clock& clock) : clock_(clock) {}

  // Data: data_size bytes of 'E' (at most 1024); succeeds on an echo reply
  // whose data is all 'E'.
  EchoResult SystemEcho(const EchoRequest& request) override;
  // Data: the tick count (4 bytes, network order), then data_size bytes of
  // 'E'; succeeds on any echo reply.
  EchoResult RawEcho(const EchoRequest& request) override;

 private:
  Clock& clock_;
};

}  // namespace tabulon::platform
