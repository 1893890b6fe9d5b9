#include "platform/remote/handle_closer.h"

namespace tabulon::platform::remote {

void HandleCloser::Close(const std::string& host, const RpcInterface& iface, std::uint16_t opnum,
                         const std::vector<std::uint8_t>& request) {
  if (lost_.contains(host)) return;
  if (transport_.Call(host, iface, opnum, request).status != win::ERROR_SUCCESS) {
    lost_.insert(host);
  }
}

}  // namespace tabulon::platform::remote
