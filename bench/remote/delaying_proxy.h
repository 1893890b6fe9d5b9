#pragma once
// A TCP proxy that delays what it forwards, in the bench's own network
// namespace (the kernel there has no netem): each piece read from one side
// is sent on to the other `delay` after it arrived, so that every round
// trip of a client through it takes at least twice the delay, as over a
// wide-area link.
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace tabulon::bench {

class DelayingProxy {
 public:
  // Listens on `address`:`port` and forwards each connection to
  // `to`:`to_port`.
  DelayingProxy(const char* address, std::uint16_t port, const char* to, std::uint16_t to_port,
                std::chrono::milliseconds delay);
  ~DelayingProxy();
  DelayingProxy(const DelayingProxy&) = delete;
  DelayingProxy& operator=(const DelayingProxy&) = delete;

  bool ok() const { return listener_ >= 0; }

 private:
  void Accept(const char* to, std::uint16_t to_port);
  void Pump(int from, int to) const;

  std::chrono::milliseconds delay_;
  int listener_ = -1;
  std::mutex mutex_;      // guards what follows
  std::vector<int> fds_;  // both ends of every connection, closed at the end
  std::vector<std::thread> pumps_;
  std::thread acceptor_;
};

}  // namespace tabulon::bench
