#include "samba/tcp_proxy.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

namespace tabulon::testing {
namespace {

sockaddr_in AddressOf(const char* address, std::uint16_t port) {
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_port = htons(port);
  ::inet_pton(AF_INET, address, &at.sin_addr);
  return at;
}

}  // namespace

TcpProxy::TcpProxy(const char* address, std::uint16_t port, const char* to, std::uint16_t to_port)
    : to_port_(to_port) {
  std::strncpy(to_, to, sizeof to_ - 1);
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  const sockaddr_in at = AddressOf(address, port);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&at), sizeof at) != 0 || ::listen(fd, 64) != 0 ||
      ::pipe2(wake_, O_CLOEXEC) != 0) {
    ::close(fd);
    return;
  }
  listener_ = fd;
  ok_ = true;
  thread_ = std::thread([this] { Run(); });
}

TcpProxy::~TcpProxy() {
  if (thread_.joinable()) {
    {
      const std::lock_guard lock(mutex_);
      quit_ = true;
    }
    Wake();
    thread_.join();
  }
  for (Pair& pair : pairs_) Reset(pair);
  if (listener_ >= 0) ::close(listener_);
  for (const int fd : wake_) {
    if (fd >= 0) ::close(fd);
  }
}

void TcpProxy::Wake() {
  const char byte = 0;
  [[maybe_unused]] const ssize_t n = ::write(wake_[1], &byte, 1);
}

void TcpProxy::Request(bool reset_all, bool stop) {
  std::unique_lock lock(mutex_);
  reset_all_ = reset_all_ || reset_all;
  stop_ = stop_ || stop;
  const std::uint64_t mine = ++requests_;
  Wake();
  served_.wait(lock, [&] { return served_requests_ >= mine; });
}

void TcpProxy::ResetConnections() {
  Request(true, false);
}

void TcpProxy::Stop() {
  Request(false, true);
}

void TcpProxy::ResetAfter(std::size_t bytes) {
  {
    const std::lock_guard lock(mutex_);
    reset_after_ = bytes;
  }
  Request(false, false);
}

void TcpProxy::StopAfter(std::size_t bytes) {
  {
    const std::lock_guard lock(mutex_);
    stop_after_ = bytes;
  }
  Request(false, false);
}

void TcpProxy::Reset(Pair& pair) {
  // A zero linger time makes close() send a reset rather than a FIN.
  const linger abort{1, 0};
  for (int* fd : {&pair.client, &pair.server}) {
    if (*fd < 0) continue;
    ::setsockopt(*fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    ::close(*fd);
    *fd = -1;
  }
}

void TcpProxy::Run() {
  for (;;) {
    std::size_t reset_after = 0;
    {
      const std::lock_guard lock(mutex_);
      if (quit_) return;
      if (stop_after_ != 0 && from_server_ > stop_after_) stop_ = true;
      if (reset_all_ || stop_) {
        for (Pair& pair : pairs_) Reset(pair);
        pairs_.clear();
        reset_all_ = false;
      }
      if (stop_ && listener_ >= 0) {
        ::close(listener_);
        listener_ = -1;
      }
      reset_after = reset_after_;
      served_requests_ = requests_;
    }
    served_.notify_all();
    std::vector<pollfd> fds{{wake_[0], POLLIN, 0}, {listener_, POLLIN, 0}};
    for (const Pair& pair : pairs_) {
      fds.push_back({pair.client, POLLIN, 0});
      fds.push_back({pair.server, POLLIN, 0});
    }
    if (::poll(fds.data(), fds.size(), -1) < 0) continue;
    if (fds[0].revents != 0) {
      char drain[64];
      [[maybe_unused]] const ssize_t n = ::read(wake_[0], drain, sizeof drain);
    }
    // Forward what came in; a pair either side of which ends is reset.
    std::vector<Pair> kept;
    for (std::size_t i = 0; i < pairs_.size(); ++i) {
      Pair& pair = pairs_[i];
      bool alive = true;
      for (const bool from_client : {true, false}) {
        const pollfd& p = fds[2 + 2 * i + (from_client ? 0 : 1)];
        if (!alive || p.revents == 0) continue;
        char buffer[65536];
        const int from = from_client ? pair.client : pair.server;
        const int to = from_client ? pair.server : pair.client;
        const ssize_t n = ::read(from, buffer, sizeof buffer);
        if (n <= 0 || ::send(to, buffer, static_cast<std::size_t>(n), MSG_NOSIGNAL) != n) {
          alive = false;
          break;
        }
        if (!from_client) {
          pair.from_server += static_cast<std::size_t>(n);
          from_server_ += static_cast<std::size_t>(n);
          if (reset_after != 0 && pair.from_server > reset_after) alive = false;
        }
      }
      if (alive) {
        kept.push_back(pair);
      } else {
        Reset(pair);
      }
    }
    pairs_ = std::move(kept);
    if (listener_ >= 0 && (fds[1].revents & POLLIN) != 0) {
      Pair pair;
      pair.client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      pair.server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
      const sockaddr_in at = AddressOf(to_, to_port_);
      if (pair.client >= 0 &&
          ::connect(pair.server, reinterpret_cast<const sockaddr*>(&at), sizeof at) == 0) {
        pairs_.push_back(pair);
      } else {
        Reset(pair);
      }
    }
  }
}

}  // namespace tabulon::testing
