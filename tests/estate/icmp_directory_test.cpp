#include <gtest/gtest.h>

#include "sample_estate.h"

namespace tabulon::estate {
namespace {

TEST(EstateIcmp, AnswersFollowThePingSettings) {
  auto backend = testing::SampleBackend();
  platform::Platform p;
  backend->Attach(p);
  struct Case {
    const char* host;
    std::uint32_t ttl;
    std::uint32_t timeout_ms;
    bool success;
    win::Status raw_status;
    win::Status system_status;
  };
  const Case cases[] = {
      {"FWWS01", 30, 50, true, 0, 0},
      {"fwws01.fernwood.example", 30, 50, true, 0, 0},
      {"192.0.2.21", 30, 50, true, 0, 0},
      {"NOSUCH", 30, 50, false, win::WSAHOST_NOT_FOUND, win::WSAHOST_NOT_FOUND},
      {"198.51.100.7", 30, 50, false, win::WSAETIMEDOUT, win::ERROR_TIMEOUT},  // nobody there
      {"FWWS02", 30, 50, false, win::WSAETIMEDOUT, win::ERROR_TIMEOUT},        // offline
      {"LAB01", 30, 50, false, win::WSAETIMEDOUT, win::ERROR_TIMEOUT},         // does not answer
      {"FWSRV01", 30, 40, true, 0, 0},  // a 40 ms reply within 40 ms
      {"FWSRV01", 30, 39, false, win::WSAETIMEDOUT, win::ERROR_TIMEOUT},
      {"FWSRV01", 2, 50, false, win::WSAETIMEDOUT, win::ERROR_TIMEOUT},  // three hops away
      {"FWSRV01", 3, 50, true, 0, 0},
  };
  for (const Case& c : cases) {
    const platform::EchoRequest request{c.host, c.ttl, c.timeout_ms, 32};
    const auto raw = p.icmp->RawEcho(request);
    EXPECT_EQ(raw.success, c.success) << c.host << " ttl " << c.ttl << " timeout " << c.timeout_ms;
    EXPECT_EQ(raw.status, c.raw_status) << c.host;
    const auto system = p.icmp->SystemEcho(request);
    EXPECT_EQ(system.success, c.success) << c.host;
    EXPECT_EQ(system.status, c.system_status) << c.host;
  }
}

}  // namespace
}  // namespace tabulon::estate
