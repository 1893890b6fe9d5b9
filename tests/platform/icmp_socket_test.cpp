#include "platform/posix/icmp_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace tabulon::platform {
namespace {

using std::chrono::milliseconds;
using SteadyClock = std::chrono::steady_clock;

// Both ends of a datagram socket pair stand in for an ICMP socket.
class SocketPair {
 public:
  SocketPair() { ok_ = ::socketpair(AF_UNIX, SOCK_DGRAM, 0, fds_) == 0; }
  SocketPair(const SocketPair&) = delete;
  SocketPair& operator=(const SocketPair&) = delete;
  ~SocketPair() {
    if (ok_) {
      ::close(fds_[0]);
      ::close(fds_[1]);
    }
  }
  bool ok() const { return ok_; }
  int reader() const { return fds_[0]; }
  void Send(std::uint8_t marker) const {
    ASSERT_EQ(::send(fds_[1], &marker, 1, 0), 1) << std::strerror(errno);
  }

 private:
  int fds_[2] = {-1, -1};
  bool ok_ = false;
};

// Each packet is one byte naming the verdict the test wants for it.
icmp::ReplyVerdict ByMarker(std::span<const std::uint8_t> packet) {
  if (packet.size() != 1) return icmp::ReplyVerdict::kIgnore;
  switch (packet[0]) {
    case 'S':
      return icmp::ReplyVerdict::kSuccess;
    case 'F':
      return icmp::ReplyVerdict::kFailure;
    default:
      return icmp::ReplyVerdict::kIgnore;
  }
}

TEST(IcmpWait, OutcomeIsDecidedByTheFirstPacketNotIgnored) {
  struct Case {
    const char* name;
    std::string packets;
    bool success;
    win::Status status;
  } cases[] = {
      {"nothing arrives", "", false, win::WSAETIMEDOUT},
      {"only ignored packets", "iii", false, win::WSAETIMEDOUT},
      {"reply after ignored packets", "iiS", true, win::ERROR_SUCCESS},
      {"failure after ignored packet", "iF", false, win::ERROR_UNEXP_NET_ERR},
      {"first decision wins", "SF", true, win::ERROR_SUCCESS},
  };
  for (const auto& c : cases) {
    SocketPair pair;
    ASSERT_TRUE(pair.ok());
    for (char p : c.packets) pair.Send(static_cast<std::uint8_t>(p));
    int seen = 0;
    const auto result = icmp::AwaitReply(pair.reader(), 10, [&](auto packet) {
      ++seen;
      return ByMarker(packet);
    });
    EXPECT_EQ(result.success, c.success) << c.name;
    EXPECT_EQ(result.status, c.status) << c.name;
    const auto decided = c.packets.find_first_not_of('i');
    EXPECT_EQ(seen, decided == std::string::npos ? c.packets.size() : decided + 1) << c.name;
  }
}

TEST(IcmpWait, IgnoredPacketStartsAFullWait) {
  SocketPair pair;
  ASSERT_TRUE(pair.ok());
  const auto start = SteadyClock::now();
  std::thread late([&pair] {
    std::this_thread::sleep_for(milliseconds(30));
    pair.Send('i');
  });
  const auto result = icmp::AwaitReply(pair.reader(), 50, ByMarker);
  const auto elapsed = SteadyClock::now() - start;
  late.join();
  EXPECT_EQ(result.status, win::WSAETIMEDOUT);
  EXPECT_GE(elapsed, milliseconds(80));
  EXPECT_LT(elapsed, milliseconds(1000));
}

TEST(IcmpResolve, DottedAddressesAndReservedNames) {
  struct Case {
    const char* host;
    std::optional<std::uint32_t> address;  // host byte order
  } cases[] = {
      {"127.0.0.1", 0x7F000001},
      {"127.1", 0x7F000001},  // short form, as the system's
                              // address parser takes it
      {"192.0.2.7", 0xC0000207},
      {"", std::nullopt},
      {"host.invalid", std::nullopt},
      {"Host.INVALID.", std::nullopt},
      {"invalid", std::nullopt},
  };
  for (const auto& c : cases) {
    const auto got = icmp::ResolveIpv4(c.host);
    ASSERT_EQ(got.has_value(), c.address.has_value()) << c.host;
    if (got) {
      EXPECT_EQ(ntohl(*got), *c.address) << c.host;
    }
  }
}

// Whether this process may open the socket; when not, the live test skips.
bool CanOpen(int type) {
  const int fd = ::socket(AF_INET, type, IPPROTO_ICMP);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

class IcmpLive : public ::testing::Test {
 protected:
  SystemClock clock_;
  SocketIcmp icmp_{clock_};
};

TEST_F(IcmpLive, UnresolvableNameFailsBeforeAnySocket) {
  const EchoRequest request{.host = "no-such-host.invalid"};
  for (const auto& result : {icmp_.RawEcho(request), icmp_.SystemEcho(request)}) {
    EXPECT_FALSE(result.success);
    EXPECT_EQ(result.status, win::WSAHOST_NOT_FOUND);
  }
}

TEST_F(IcmpLive, RawEchoOfLoopback) {
  if (!CanOpen(SOCK_RAW)) GTEST_SKIP() << "raw ICMP sockets need root or CAP_NET_RAW";
  for (std::uint32_t size : {32u, 0u, 1024u, 4000u}) {
    const auto result =
        icmp_.RawEcho({.host = "127.0.0.1", .ttl = 30, .timeout_ms = 1000, .data_size = size});
    EXPECT_TRUE(result.success) << size;
    EXPECT_EQ(result.status, win::ERROR_SUCCESS) << size;
  }
}

TEST_F(IcmpLive, SystemEchoOfLoopback) {
  if (!CanOpen(SOCK_DGRAM) && !CanOpen(SOCK_RAW)) {
    GTEST_SKIP() << "outside net.ipv4.ping_group_range and without CAP_NET_RAW";
  }
  for (std::uint32_t size : {32u, 1024u}) {
    const auto result =
        icmp_.SystemEcho({.host = "127.0.0.1", .ttl = 1, .timeout_ms = 1000, .data_size = size});
    EXPECT_TRUE(result.success) << size;
    EXPECT_EQ(result.status, win::ERROR_SUCCESS) << size;
  }
}

TEST_F(IcmpLive, TimeToLiveOutsideOneTo255IsRefused) {
  if (!CanOpen(SOCK_RAW)) GTEST_SKIP() << "raw ICMP sockets need root or CAP_NET_RAW";
  for (std::uint32_t ttl : {0u, 256u}) {
    const EchoRequest request{.host = "127.0.0.1", .ttl = ttl, .timeout_ms = 1000};
    EXPECT_EQ(icmp_.RawEcho(request).status, win::ERROR_INVALID_PARAMETER) << ttl;
    EXPECT_EQ(icmp_.SystemEcho(request).status, win::ERROR_INVALID_PARAMETER) << ttl;
  }
}

}  // namespace
}  // namespace tabulon::platform
