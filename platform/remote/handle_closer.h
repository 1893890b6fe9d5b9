#pragma once
// Closing what a session holds open on servers when it ends. Once the
// transport fails a close on a server (its worker died, the server went
// away) the rest there are skipped: their handles died with the connection,
// and each attempt would only wait for another failure.
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/remote/rpc_transport.h"

namespace tabulon::platform::remote {

class HandleCloser {
 public:
  explicit HandleCloser(RpcTransport& transport) : transport_(transport) {}
  void Close(const std::string& host, const RpcInterface& iface, std::uint16_t opnum,
             const std::vector<std::uint8_t>& request);

 private:
  RpcTransport& transport_;
  std::set<std::string> lost_;
};

}  // namespace tabulon::platform::remote
