#pragma once
// A file opened for writing: what the output and log files sit on. Closed
// when destroyed.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace tabulon::platform {

class WritableFile {
 public:
  virtual ~WritableFile() = default;
  // Writes all of `bytes` at the end of the file; otherwise the status of
  // the failing call (ERROR_DISK_FULL on a full file system).
  virtual win::Status Write(std::string_view bytes) = 0;
  // Closes the file; the status of a failed close, or ERROR_FILE_NOT_FOUND
  // when the file was removed while it was open (what was written is gone).
  virtual win::Status Close() = 0;
};

// Opens `path`, creating it, for appending or replacing. On failure returns
// the status of the failing call and leaves `file` empty.
win::Status OpenWritableFile(const std::string& path, bool append,
                             std::unique_ptr<WritableFile>& file);

// The size of the file at `path` in bytes; ERROR_FILE_NOT_FOUND when there
// is none.
win::Status FileSize(const std::string& path, std::uint64_t& size);
// Cuts the file at `path` to its first `size` bytes: what a run that is
// resumed keeps of a file it wrote before.
win::Status TruncateFile(const std::string& path, std::uint64_t size);
// Removes the file at `path`; ERROR_SUCCESS when there was none.
win::Status RemoveFile(const std::string& path);

}  // namespace tabulon::platform
