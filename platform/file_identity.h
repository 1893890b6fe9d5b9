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

// What tells a changed file from the one read before: its size and its last
// change in the file system's own precision (a second is too coarse: a file
// rewritten within one would look unchanged).
struct FileStamp {
  bool regular = false;  // a regular file that exists
  std::int64_t modified = 0;
  std::int64_t size = 0;
  bool operator==(const FileStamp&) const = default;
};

FileStamp StampFile(const std::string& path);

}  // namespace tabulon::platform
