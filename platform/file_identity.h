#pragma once
// Which file a path names, so that a run can tell that two of its paths are
// one file, and refuse inputs that are not regular files.
#include <cstdint>
#include <string>

#include "platform/status.h"

namespace tabulon::platform {

struct FileIdentity {
  bool exists = false;
  // Devices and FIFOs: writing to them destroys nothing, so several uses of
  // one (/dev/null) do not collide.
  bool special = false;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  // The absolute path with "." and ".." and symbolic links of its existing
  // part resolved; compared when a file does not exist yet.
  std::string canonical;
};

FileIdentity IdentifyFile(const std::string& path);

// Same device and inode when both exist, otherwise the same canonical path.
bool SameFile(const FileIdentity& a, const FileIdentity& b);

// ERROR_SUCCESS for a regular file (and for a path that does not exist,
// which opening then reports); ERROR_ACCESS_DENIED for a directory, device,
// FIFO or socket, which a line reader cannot read to an end.
win::Status CheckRegularFile(const std::string& path);

}  // namespace tabulon::platform
