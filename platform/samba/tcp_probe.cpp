#include "platform/samba/tcp_probe.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <string>

namespace tabulon::platform::samba {
namespace {

// How often a wait looks at the cancel token.
constexpr std::chrono::milliseconds kSlice{50};

struct AddrInfoFree {
  void operator()(addrinfo* a) const { ::freeaddrinfo(a); }
};

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

enum class Attempt { kConnected, kFailed, kCancelled, kOutOfTime };

Attempt TryAddress(const addrinfo& a, std::chrono::steady_clock::time_point deadline,
                   const CancelToken& cancel) {
  Fd fd(::socket(a.ai_family, a.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a.ai_protocol));
  if (fd.get() < 0) return Attempt::kFailed;
  if (::connect(fd.get(), a.ai_addr, a.ai_addrlen) == 0) return Attempt::kConnected;
  if (errno != EINPROGRESS) return Attempt::kFailed;
  for (;;) {
    if (cancel.cancelled()) return Attempt::kCancelled;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return Attempt::kOutOfTime;
    pollfd p{fd.get(), POLLOUT, 0};
    const int n = ::poll(&p, 1, static_cast<int>(std::min(left, kSlice).count()));
    if (n < 0 && errno != EINTR) return Attempt::kFailed;
    if (n <= 0) continue;
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &error, &size) != 0) return Attempt::kFailed;
    return error == 0 ? Attempt::kConnected : Attempt::kFailed;
  }
}

}  // namespace

win::Status ProbeTcp(const std::string& host, std::uint16_t port,
                     std::chrono::steady_clock::time_point deadline, const CancelToken& cancel) {
  if (cancel.cancelled()) return win::ERROR_CANCELLED;
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
    return win::ERROR_BAD_NETPATH;
  }
  const std::unique_ptr<addrinfo, AddrInfoFree> list(found);
  for (const addrinfo* a = list.get(); a != nullptr; a = a->ai_next) {
    switch (TryAddress(*a, deadline, cancel)) {
      case Attempt::kConnected:
        return win::ERROR_SUCCESS;
      case Attempt::kCancelled:
        return win::ERROR_CANCELLED;
      case Attempt::kOutOfTime:
        return win::ERROR_BAD_NETPATH;
      case Attempt::kFailed:
        break;
    }
  }
  return win::ERROR_BAD_NETPATH;
}

}  // namespace tabulon::platform::samba
