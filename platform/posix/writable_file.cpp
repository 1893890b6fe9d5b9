#include "platform/writable_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tabulon::platform {
namespace {

class PosixWritableFile final : public WritableFile {
 public:
  explicit PosixWritableFile(int fd) : fd_(fd) {}
  ~PosixWritableFile() override { Close(); }
  PosixWritableFile(const PosixWritableFile&) = delete;
  PosixWritableFile& operator=(const PosixWritableFile&) = delete;

  win::Status Write(std::string_view bytes) override {
    if (fd_ < 0) return win::ERROR_INVALID_HANDLE;
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return win::StatusFromErrno(errno);
      // A write that takes nothing without an error: no room left.
      if (n == 0) return win::ERROR_DISK_FULL;
      done += static_cast<std::size_t>(n);
    }
    return win::ERROR_SUCCESS;
  }

  win::Status Close() override {
    if (fd_ < 0) return win::ERROR_SUCCESS;
    win::Status status = win::ERROR_SUCCESS;
    // A regular file without a name any more (its folder was removed) keeps
    // nothing of what was written.
    struct stat st {};
    if (::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 0) {
      status = win::ERROR_FILE_NOT_FOUND;
    }
    // close() may report a delayed write error (NFS, quotas); it is not
    // retried after EINTR, as the descriptor is gone either way.
    if (::close(fd_) != 0 && errno != EINTR && status == win::ERROR_SUCCESS) {
      status = win::StatusFromErrno(errno);
    }
    fd_ = -1;
    return status;
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

win::Status FileSize(const std::string& path, std::uint64_t& size) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return win::StatusFromErrno(errno);
  size = static_cast<std::uint64_t>(st.st_size);
  return win::ERROR_SUCCESS;
}

win::Status TruncateFile(const std::string& path, std::uint64_t size) {
  int result = 0;
  do {
    result = ::truncate(path.c_str(), static_cast<off_t>(size));
  } while (result != 0 && errno == EINTR);
  return result == 0 ? win::ERROR_SUCCESS : win::StatusFromErrno(errno);
}

win::Status RemoveFile(const std::string& path) {
  if (::unlink(path.c_str()) == 0 || errno == ENOENT) return win::ERROR_SUCCESS;
  return win::StatusFromErrno(errno);
}

}  // namespace tabulon::platform
