#include "platform/samba/tcp_probe.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

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

// One address of a host, as the resolver gave it.
struct Address {
  int family = 0;
  int socktype = 0;
  int protocol = 0;
  socklen_t length = 0;
  sockaddr_storage storage{};
};

void Append(const addrinfo* list, std::vector<Address>& addresses) {
  for (const addrinfo* a = list; a != nullptr; a = a->ai_next) {
    if (a->ai_addrlen > sizeof(sockaddr_storage)) continue;
    Address address;
    address.family = a->ai_family;
    address.socktype = a->ai_socktype;
    address.protocol = a->ai_protocol;
    address.length = a->ai_addrlen;
    std::memcpy(&address.storage, a->ai_addr, a->ai_addrlen);
    addresses.push_back(address);
  }
}

// A lookup on a thread of its own, shared with the caller, who may leave
// it behind at the deadline or on cancel.
struct Lookup {
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  std::vector<Address> addresses;
};

// The addresses of `host`. A name (rather than a numeric address) is looked
// up on a thread of its own: the system resolver has timeouts of its own
// (seconds per server and attempt) that nothing can shorten, so at the
// deadline or on cancel the caller goes on without it and the thread ends
// when the resolver gives up. (A forked child, which could be killed, is no
// choice in a process whose other threads may hold the allocator's or the
// resolver's locks.)
Attempt Resolve(const std::string& host, const std::string& port,
                std::chrono::steady_clock::time_point deadline, const CancelToken& cancel,
                std::vector<Address>& addresses) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV | AI_NUMERICHOST;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), port.c_str(), &hints, &found) == 0) {
    const std::unique_ptr<addrinfo, AddrInfoFree> list(found);
    Append(list.get(), addresses);
    return Attempt::kConnected;
  }
  hints.ai_flags = AI_NUMERICSERV;
  const auto lookup = std::make_shared<Lookup>();
  std::thread([lookup, host, port, hints] {
    std::vector<Address> answer;
    addrinfo* list = nullptr;
    if (::getaddrinfo(host.c_str(), port.c_str(), &hints, &list) == 0) {
      Append(list, answer);
      ::freeaddrinfo(list);
    }
    const std::lock_guard lock(lookup->mutex);
    lookup->addresses = std::move(answer);
    lookup->done = true;
    lookup->finished.notify_all();
  }).detach();
  std::unique_lock lock(lookup->mutex);
  for (;;) {
    if (lookup->done) break;
    if (cancel.cancelled()) return Attempt::kCancelled;
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return Attempt::kOutOfTime;
    lookup->finished.wait_until(lock, std::min(deadline, now + kSlice));
  }
  addresses = std::move(lookup->addresses);
  return Attempt::kConnected;
}

Attempt TryAddress(const Address& a, std::chrono::steady_clock::time_point deadline,
                   const CancelToken& cancel) {
  Fd fd(::socket(a.family, a.socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a.protocol));
  if (fd.get() < 0) return Attempt::kFailed;
  if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&a.storage), a.length) == 0) {
    return Attempt::kConnected;
  }
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
  std::vector<Address> addresses;
  switch (Resolve(host, std::to_string(port), deadline, cancel, addresses)) {
    case Attempt::kCancelled:
      return win::ERROR_CANCELLED;
    case Attempt::kConnected:
      break;
    case Attempt::kFailed:
    case Attempt::kOutOfTime:
      return win::ERROR_BAD_NETPATH;
  }
  for (const Address& a : addresses) {
    switch (TryAddress(a, deadline, cancel)) {
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
