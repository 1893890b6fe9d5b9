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

TEST(EstateDirectory, LocatesControllersByFlatOrDnsName) {
  auto backend = testing::SampleBackend();
  auto p = backend->OpenSession("");
  const auto flat = p->directory().DsGetDcName("fernwood.example", 0x80000080);
  ASSERT_EQ(flat.status, win::ERROR_SUCCESS);
  EXPECT_EQ(flat.info.dc_name, "\\\\FWDC01");
  EXPECT_EQ(flat.info.dc_address, "\\\\192.0.2.10");
  EXPECT_EQ(flat.info.domain_name, "FERNWOOD");
  EXPECT_EQ(flat.info.dns_forest_name, "fernwood.example");

  EXPECT_EQ(p->directory().DsGetDcName("FERNWOOD", 0).info.domain_name, "fernwood.example");
  EXPECT_EQ(p->directory().DsGetDcName("", 0x80000000).info.domain_name, "FERNWOOD")
      << "the local computer's domain";

  const auto nt = p->directory().DsGetDcName("HARBOR", 0x80000080);
  EXPECT_EQ(nt.status, win::ERROR_SUCCESS);
  EXPECT_EQ(nt.info.dc_name, "\\\\HBDC01");
  EXPECT_EQ(nt.info.domain_name, "HARBOR");
  EXPECT_EQ(p->directory().DsGetDcName("HARBOR", platform::kDsDirectoryServiceRequired).status,
            win::ERROR_NO_SUCH_DOMAIN)
      << "an NT domain has no directory service";
  EXPECT_EQ(p->directory().DsGetDcName("NOWHERE", 0).status, win::ERROR_NO_SUCH_DOMAIN);
}

}  // namespace
}  // namespace tabulon::estate
