#include "platform/credentials_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace tabulon::platform {
namespace {

// Why the file could not be opened. O_NOFOLLOW refuses a symbolic link with
// ELOOP, which strerror calls "Too many levels of symbolic links".
std::string OpenFailure(const std::string& path, int error) {
  struct stat st {};
  if (error == ELOOP && ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    return "a symbolic link, which is not accepted: the owner and permissions that protect the "
           "password must be those of the file itself, so name the file the link points to";
  }
  return std::strerror(error);
}

}  // namespace

CredentialsFileResult ReadCredentialsFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return CredentialsFileFailure(path, OpenFailure(path, errno));
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    const int error = errno;
    ::close(fd);
    return CredentialsFileFailure(path, std::strerror(error));
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    return CredentialsFileFailure(path, "not a regular file");
  }
  if (st.st_uid != ::geteuid()) {
    ::close(fd);
    return CredentialsFileFailure(path, "owned by another user");
  }
  if ((st.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
    ::close(fd);
    return CredentialsFileFailure(
        path, "readable or writable by others; allow only its owner (chmod 600)");
  }
  if (st.st_size > static_cast<off_t>(kCredentialsFileMaxBytes)) {
    ::close(fd);
    return CredentialsFileFailure(path, "larger than 64 KiB");
  }
  // Read straight into one buffer (no stdio buffer keeps a copy), wiped once
  // parsed.
  std::string text(static_cast<std::size_t>(st.st_size), '\0');
  std::size_t got = 0;
  while (got < text.size()) {
    const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  return CredentialsFromFileText(path, text, got);
}

}  // namespace tabulon::platform
