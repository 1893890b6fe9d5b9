#pragma once
// ICMP echo to a host, by the two methods the configuration offers.
#include <cstdint>
#include <string_view>

#include "platform/status.h"

namespace tabulon::platform {

struct EchoRequest {
  std::string_view host;  // a name or dotted IPv4 address
  std::uint32_t ttl = 30;
  std::uint32_t timeout_ms = 50;
  std::uint32_t data_size = 32;
};

struct EchoResult {
  bool success = false;
  win::Status status = win::ERROR_SUCCESS;  // why it failed
};

class Icmp {
 public:
  virtual ~Icmp() = default;
  // Echo through the system echo functions.
  virtual EchoResult SystemEcho(const EchoRequest& request) = 0;
  // Echo through a raw IPv4 socket.
  virtual EchoResult RawEcho(const EchoRequest& request) = 0;
};

}  // namespace tabulon::platform
