#include "estate/icmp.h"

#include <chrono>
#include <thread>

namespace tabulon::estate {

platform::EchoResult EstateIcmp::SystemEcho(const platform::EchoRequest& request) {
  return Echo(Operation::kSystemEcho, request, win::ERROR_TIMEOUT);
}

platform::EchoResult EstateIcmp::RawEcho(const platform::EchoRequest& request) {
  return Echo(Operation::kRawEcho, request, win::WSAETIMEDOUT);
}

platform::EchoResult EstateIcmp::Echo(Operation op, const platform::EchoRequest& request,
                                      win::Status timeout_status) {
  const Estate& estate = sim_.estate();
  platform::EchoResult result;
  sim_.Record(op, request.host, [&] {
    return "ttl=" + std::to_string(request.ttl) + " timeout=" + std::to_string(request.timeout_ms) +
           " size=" + std::to_string(request.data_size);
  });
  const Computer* computer = estate.FindComputer(request.host);
  // A name must resolve; an address is sent to whether or not anyone has it.
  if (computer == nullptr && !IsDottedIpv4(StripBackslashes(request.host))) {
    result.status = win::WSAHOST_NOT_FOUND;
    return result;
  }
  if (computer != nullptr) {
    result.status = sim_.Injected(op, computer->failures, estate.IndexOf(*computer));
    if (result.status != win::ERROR_SUCCESS) return result;
  }
  const bool answers = computer != nullptr && !computer->offline && computer->ping.answers &&
                       request.ttl >= computer->ping.hops &&
                       computer->ping.delay_ms <= request.timeout_ms;
  if (estate.ping_waits) {
    const std::uint32_t wait = answers ? computer->ping.delay_ms : request.timeout_ms;
    std::this_thread::sleep_for(std::chrono::milliseconds(wait));
  }
  if (answers) {
    result.success = true;
  } else {
    result.status = timeout_status;
  }
  return result;
}

}  // namespace tabulon::estate
