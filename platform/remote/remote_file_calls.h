#pragma once
// What the remote backend needs of a file client: the space of the volume
// behind a directory of a share, a directory's items, a file's bytes and a
// path's security descriptor, asked over SMB itself rather than DCE/RPC.
// The transport that carries the RPC pipes may carry these calls too; no
// client library type reaches the rest of the program.
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace tabulon::platform::remote {

struct RemoteListing {
  // ERROR_SUCCESS when complete; else why the listing failed or broke off.
  win::Status status = win::ERROR_SUCCESS;
  // In the server's order, "." and ".." included when it lists them; those
  // read before a failure too.
  std::vector<FindData> items;
};

struct RemoteSecurityText {
  win::Status status = win::ERROR_SUCCESS;
  // "REVISION:1,OWNER:S-1-...,GROUP:S-1-...,ACL:S-1-...:type/flags/mask,...".
  std::string text;
};

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
  // Every item of a directory. Missing: ERROR_PATH_NOT_FOUND, or
  // ERROR_BAD_NET_NAME for a share's root. A listing that breaks off keeps
  // the items it read with its failure.
  virtual RemoteListing ListDirectory(std::string_view server, std::string_view share,
                                      std::string_view directory) = 0;
  // `size` bytes of a file from `offset`; fewer at its end. Missing:
  // ERROR_FILE_NOT_FOUND; a directory: ERROR_ACCESS_DENIED.
  virtual ReadRangeResult ReadRange(std::string_view server, std::string_view share,
                                    std::string_view path, std::uint64_t offset,
                                    std::size_t size) = 0;
  // The owner, group and DACL of a file or directory, as the client
  // library writes them.
  virtual RemoteSecurityText Security(std::string_view server, std::string_view share,
                                      std::string_view path) = 0;
};

}  // namespace tabulon::platform::remote
