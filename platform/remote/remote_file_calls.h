#pragma once
// What the remote backend needs of a file client: the space of the volume
// behind a directory of a share, asked over SMB itself rather than DCE/RPC.
// The transport that carries the RPC pipes may carry these calls too; no
// client library type reaches the rest of the program.
#include <string_view>

#include "platform/file_system.h"

namespace tabulon::platform::remote {

class RemoteFileCalls {
 public:
  virtual ~RemoteFileCalls() = default;
  // `share` is the share's name; `directory` the path inside it with "/"
  // between its parts, empty for the share's root. The status is the Windows
  // status a client would see: ERROR_BAD_NETPATH for a server that cannot be
  // reached, ERROR_BAD_NET_NAME for a share it does not offer, the session's
  // ERROR_TIMEOUT or ERROR_CANCELLED.
  virtual DiskFreeSpaceResult DiskSpace(std::string_view server, std::string_view share,
                                        std::string_view directory) = 0;
};

}  // namespace tabulon::platform::remote
