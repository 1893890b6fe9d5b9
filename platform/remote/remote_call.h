#pragma once
// One remote call as the families make it: the transport's failure as the
// result's status, or the decoded reply.
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/remote/rpc_transport.h"

namespace tabulon::platform::remote {

// A result that carries only the status of a failure.
template <typename Result>
Result Failed(win::Status status) {
  Result failed;
  failed.status = status;
  return failed;
}

// `Result` has a `status`; `decode` turns a response stub into a Result.
template <typename Result, typename Decode>
Result CallAndDecode(RpcTransport& transport, std::string_view host, const RpcInterface& iface,
                     std::uint16_t opnum, const std::vector<std::uint8_t>& request, Decode decode) {
  const RpcReply reply = transport.Call(host, iface, opnum, request);
  if (reply.status != win::ERROR_SUCCESS) return Failed<Result>(reply.status);
  return decode(reply.stub);
}

}  // namespace tabulon::platform::remote
