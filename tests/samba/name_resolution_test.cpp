// The transport's reachability check with a resolver that never answers: a
// name lookup may not take longer than the call's deadline.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/samba/tcp_probe.h"
#include "support/samba_server.h"
#include "support/server_required.h"
#include "support/silent_socket.h"

namespace tabulon::platform::samba {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

using testing::SilentSocket;

class NameResolution : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const std::string& why_not = testing::IsolateNetwork(); !why_not.empty()) {
      SKIP_WITHOUT_SERVER(why_not);
    }
  }
};

TEST_F(NameResolution, ASilentNameServerCostsNoMoreThanTheDeadline) {
  SilentSocket dns(SOCK_DGRAM, "127.0.0.1", 53);
  ASSERT_TRUE(dns.ok());
  const CancelToken cancel;
  const auto start = Clock::now();
  EXPECT_EQ(ProbeTcp("nowhere.example", 445, start + 800ms, cancel), win::ERROR_BAD_NETPATH);
  // The resolver alone would wait 5 s per attempt.
  EXPECT_LT(Clock::now() - start, 2s);
}

TEST_F(NameResolution, CancelEndsALookupPromptly) {
  SilentSocket dns(SOCK_DGRAM, "127.0.0.1", 53);
  ASSERT_TRUE(dns.ok());
  std::atomic<int> stop{0};
  const CancelToken cancel(&stop);
  std::thread stopper([&stop] {
    std::this_thread::sleep_for(300ms);
    stop = 1;
  });
  const auto start = Clock::now();
  EXPECT_EQ(ProbeTcp("nowhere.example", 445, start + 30s, cancel), win::ERROR_CANCELLED);
  stopper.join();
  EXPECT_LT(Clock::now() - start, 2s);
}

TEST_F(NameResolution, NamesFromTheHostsFileAndNumericAddressesReachTheirServer) {
  SilentSocket server(SOCK_STREAM, "127.0.0.1", 4456);
  ASSERT_TRUE(server.ok());
  const CancelToken cancel;
  for (const char* host : {"tabulontest", "127.0.0.1"}) {
    EXPECT_EQ(ProbeTcp(host, 4456, Clock::now() + 5s, cancel), win::ERROR_SUCCESS) << host;
    EXPECT_EQ(ProbeTcp(host, 4457, Clock::now() + 5s, cancel), win::ERROR_BAD_NETPATH) << host;
  }
}

}  // namespace
}  // namespace tabulon::platform::samba
