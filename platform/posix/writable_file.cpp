#include "platform/writable_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace tabulon::platform {
namespace {

class PosixWritableFile final : public WritableFile {
 public:
  explicit PosixWritableFile(int fd) : fd_(fd) {}
  ~PosixWritableFile() override { ::close(fd_); }
  PosixWritableFile(const PosixWritableFile&) = delete;
  PosixWritableFile& operator=(const PosixWritableFile&) = delete;

  std::size_t Write(std::string_view bytes) override {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    return done;
  }

 private:
  int fd_;
};

}  // namespace

win::Status OpenWritableFile(const std::string& path, bool append,
                             std::unique_ptr<WritableFile>& file) {
  file.reset();
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : O_TRUNC);
  int fd = -1;
  do {
    fd = ::open(path.c_str(), flags, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return win::StatusFromErrno(errno);
  file = std::make_unique<PosixWritableFile>(fd);
  return win::ERROR_SUCCESS;
}

}  // namespace tabulon::platform
