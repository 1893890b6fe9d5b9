#pragma once
// A file opened for writing: what the output and log files sit on. Closed
// when destroyed.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace tabulon::platform {

class WritableFile {
 public:
  virtual ~WritableFile() = default;
  // Writes `bytes` at the end of the file; the number of bytes written, which
  // is short only when the system reported an error.
  virtual std::size_t Write(std::string_view bytes) = 0;
};

// Opens `path`, creating it, for appending or replacing. On failure returns
// the status of the failing call and leaves `file` empty.
win::Status OpenWritableFile(const std::string& path, bool append,
                             std::unique_ptr<WritableFile>& file);

}  // namespace tabulon::platform
