#pragma once
// One remote call as the families make it: the transport's failure as the
// result's status, or the decoded reply.
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/object_security.h"
#include "platform/remote/codec_support.h"
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

// Unlinks the parts of a self-relative descriptor that `information` does not
// name, as GetNamedSecurityInfoW returns only those asked for; a descriptor
// too short for its header is left for its reader to refuse.
void KeepAskedParts(std::vector<std::uint8_t>& descriptor, std::uint32_t information);

// A security descriptor asked with `query(buffer_size)`: first in a buffer
// most descriptors fit, then once more in the size the server says it needs.
template <typename Query>
NamedSecurityInfo AskDescriptor(std::uint32_t information, Query query) {
  constexpr std::uint32_t kFirstBuffer = 1024;
  DescriptorReply reply = query(kFirstBuffer);
  if (reply.status == win::ERROR_INSUFFICIENT_BUFFER && reply.bytes_needed > kFirstBuffer) {
    reply = query(reply.bytes_needed);
  }
  if (reply.status == win::ERROR_SUCCESS) KeepAskedParts(reply.descriptor, information);
  return {reply.status, std::move(reply.descriptor)};
}

}  // namespace tabulon::platform::remote
