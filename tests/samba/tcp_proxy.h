#pragma once
// A TCP proxy in front of a test server, in the test's own network
// namespace, that breaks its connections the way a network or a failing
// server does: a reset of every open connection, a reset of each connection
// once the server has sent some bytes on it, or the server gone (nothing
// listening any more, the open connections reset) now or once it has sent
// some bytes in all.
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace tabulon::testing {

class TcpProxy {
 public:
  // Listens on `address`:`port` and forwards each connection to `to`:`to_port`.
  TcpProxy(const char* address, std::uint16_t port, const char* to, std::uint16_t to_port);
  ~TcpProxy();
  TcpProxy(const TcpProxy&) = delete;
  TcpProxy& operator=(const TcpProxy&) = delete;

  bool ok() const { return ok_; }
  // Resets every open connection (its client sees a TCP reset); new ones are
  // accepted as before. Returns once done.
  void ResetConnections();
  // Resets each connection, open or new, once the server has sent more than
  // `bytes` on it.
  void ResetAfter(std::size_t bytes);
  // The server goes away: nothing listens any more, and the open connections
  // are reset. Returns once done.
  void Stop();
  // The same, once the server has sent more than `bytes` in all.
  void StopAfter(std::size_t bytes);

 private:
  struct Pair {
    int client = -1;
    int server = -1;
    std::size_t from_server = 0;
  };
  void Run();
  // Hands a request to the proxy thread and waits until it has been seen.
  void Request(bool reset_all, bool stop);
  void Wake();
  static void Reset(Pair& pair);

  std::uint16_t to_port_;
  char to_[64] = {};
  bool ok_ = false;
  int listener_ = -1;  // the proxy thread's once started
  int wake_[2] = {-1, -1};
  std::mutex mutex_;  // guards what follows
  std::condition_variable served_;
  std::uint64_t requests_ = 0;
  std::uint64_t served_requests_ = 0;
  bool reset_all_ = false;
  bool stop_ = false;
  bool quit_ = false;
  std::size_t reset_after_ = 0;
  std::size_t stop_after_ = 0;
  std::vector<Pair> pairs_;  // the proxy thread's own
  std::size_t from_server_ = 0;
  std::thread thread_;
};

}  // namespace tabulon::testing
