#include "bench/remote/delaying_proxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

namespace tabulon::bench {
namespace {

sockaddr_in AddressOf(const char* address, std::uint16_t port) {
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_port = htons(port);
  ::inet_pton(AF_INET, address, &at.sin_addr);
  return at;
}

}  // namespace

DelayingProxy::DelayingProxy(const char* address, std::uint16_t port, const char* to,
                             std::uint16_t to_port, std::chrono::milliseconds delay)
    : delay_(delay) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const sockaddr_in at = AddressOf(address, port);
  if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&at), sizeof at) != 0 ||
      ::listen(fd, 256) != 0) {
    if (fd >= 0) ::close(fd);
    return;
  }
  listener_ = fd;
  acceptor_ =
      std::thread([this, target = std::string(to), to_port] { Accept(target.c_str(), to_port); });
}

DelayingProxy::~DelayingProxy() {
  if (listener_ < 0) return;
  // Wakes the acceptor and every pump: their calls fail and they end.
  ::shutdown(listener_, SHUT_RDWR);
  acceptor_.join();
  {
    const std::lock_guard lock(mutex_);
    for (const int fd : fds_) ::shutdown(fd, SHUT_RDWR);
  }
  for (std::thread& pump : pumps_) pump.join();
  for (const int fd : fds_) ::close(fd);
  ::close(listener_);
}

void DelayingProxy::Accept(const char* to, std::uint16_t to_port) {
  for (;;) {
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) return;
    const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in at = AddressOf(to, to_port);
    if (server < 0 || ::connect(server, reinterpret_cast<const sockaddr*>(&at), sizeof at) != 0) {
      ::close(client);
      if (server >= 0) ::close(server);
      continue;
    }
    const std::lock_guard lock(mutex_);
    fds_.push_back(client);
    fds_.push_back(server);
    pumps_.emplace_back([this, client, server] { Pump(client, server); });
    pumps_.emplace_back([this, client, server] { Pump(server, client); });
  }
}

void DelayingProxy::Pump(int from, int to) const {
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(from, buffer, sizeof buffer);
    if (n <= 0) break;
    std::this_thread::sleep_until(std::chrono::steady_clock::now() + delay_);
    if (::send(to, buffer, static_cast<std::size_t>(n), MSG_NOSIGNAL) != n) break;
  }
  // The other side sees the end as the client or server made it.
  ::shutdown(to, SHUT_WR);
}

}  // namespace tabulon::bench
