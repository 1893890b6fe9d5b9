#pragma once
// What the remote backend needs of DCE/RPC: a call of one operation on the
// named pipe of one interface of a server, with the request's NDR stub in and
// the response's stub out. Connecting, authenticating, signing and sealing
// are the transport's business; encoding and decoding the stubs are ours
// (platform/remote/ndr/ and the interface codecs), so no transport type
// reaches the rest of the program.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace tabulon::platform::remote {

// An RPC interface as it is bound: its pipe, its UUID (in the byte order of
// the GUID's string form) and its version.
struct RpcInterface {
  std::string_view pipe;  // "srvsvc", "svcctl", "winreg", ...
  std::array<std::uint8_t, 16> uuid;
  std::uint16_t version_major;
  std::uint16_t version_minor;
};

struct RpcReply {
  // ERROR_SUCCESS with the response stub; otherwise the Windows status of
  // what failed: the server unreachable (RPC_S_SERVER_UNAVAILABLE,
  // ERROR_BAD_NETPATH), the logon refused (ERROR_LOGON_FAILURE,
  // ERROR_ACCESS_DENIED), the interface not offered, a fault of the call, the
  // session's timeout (ERROR_TIMEOUT) or cancel token (ERROR_CANCELLED).
  win::Status status = win::ERROR_SUCCESS;
  std::vector<std::uint8_t> stub;
};

class RemoteFileCalls;

class RpcTransport {
 public:
  virtual ~RpcTransport() = default;
  // The file calls of a transport that also carries SMB file operations to
  // the same servers; null when it does not.
  virtual RemoteFileCalls* file_calls() { return nullptr; }
  // One call of `opnum`. The pipe of `iface` on `server` is connected and
  // bound on its first use and kept until the transport is destroyed.
  virtual RpcReply Call(std::string_view server, const RpcInterface& iface, std::uint16_t opnum,
                        std::span<const std::uint8_t> request) = 0;
};

}  // namespace tabulon::platform::remote
