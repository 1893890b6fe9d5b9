#pragma once
// A socket bound on a loopback address that takes what comes and never
// answers: a name server that does not reply, or a server that accepts
// connections (the kernel completes them) and then falls silent, so that
// every call to it waits for the caller's time-out.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>

namespace tabulon::testing {

class SilentSocket {
 public:
  // `type` SOCK_STREAM (listening) or SOCK_DGRAM.
  SilentSocket(int type, const char* address, std::uint16_t port)
      : fd_(::socket(AF_INET, type | SOCK_CLOEXEC, 0)) {
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_port = htons(port);
    ::inet_pton(AF_INET, address, &at.sin_addr);
    // A backlog large enough for every connection a run makes to it.
    ok_ = fd_ >= 0 && ::bind(fd_, reinterpret_cast<const sockaddr*>(&at), sizeof at) == 0 &&
          (type != SOCK_STREAM || ::listen(fd_, 256) == 0);
  }
  ~SilentSocket() {
    if (fd_ >= 0) ::close(fd_);
  }
  SilentSocket(const SilentSocket&) = delete;
  SilentSocket& operator=(const SilentSocket&) = delete;
  bool ok() const { return ok_; }

 private:
  int fd_;
  bool ok_ = false;
};

}  // namespace tabulon::testing
