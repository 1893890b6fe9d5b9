#include "estate/call_log.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "sample_estate.h"

namespace tabulon::estate {
namespace {

TEST(EstateCallLog, RecordsEveryCallWithHostAsPassedAndDetail) {
  auto backend = testing::SampleBackend();
  platform::Platform p;
  backend->Attach(p);
  p.net->NetServerGetInfo101("\\\\fwws01");
  p.net->NetServerEnum101("FERNWOOD", platform::kSvTypeAll, platform::kMaxPreferredLength, 0);
  p.net->NetQueryDisplayMachines("\\\\FWDC01", 0, 1000, 128000);
  const auto manager = p.services->OpenSCManager("\\\\FWWS01", 4);
  p.services->EnumServicesStatus(manager.handle, 0x33, 3, 0, 0);
  const auto service = p.services->OpenService(manager.handle, "Spooler", 1);
  p.services->QueryServiceConfig(service.handle, 512);
  p.services->CloseServiceHandle(service.handle);
  p.services->CloseServiceHandle(manager.handle);
  p.icmp->RawEcho({"FWWS01", 30, 50, 32});

  const std::vector<CallRecord> expected = {
      {"NetServerGetInfo", "\\\\fwws01", "level=101"},
      {"NetServerEnum", "FERNWOOD", "level=101 type=0xFFFFFFFF prefmaxlen=4294967295 resume=0"},
      {"NetQueryDisplayInformation", "\\\\FWDC01",
       "level=2 index=0 entries=1000 prefmaxlen=128000"},
      {"OpenSCManager", "\\\\FWWS01", "access=0x00000004"},
      {"EnumServicesStatus", "\\\\FWWS01", "type=0x00000033 state=3 size=0 resume=0"},
      {"OpenService", "\\\\FWWS01", "service=Spooler access=0x00000001"},
      {"QueryServiceConfig", "\\\\FWWS01", "service=Spooler size=512"},
      {"CloseServiceHandle", "\\\\FWWS01", "handle=" + std::to_string(service.handle)},
      {"CloseServiceHandle", "\\\\FWWS01", "handle=" + std::to_string(manager.handle)},
      {"RawEcho", "FWWS01", "ttl=30 timeout=50 size=32"},
  };
  EXPECT_EQ(backend->call_log().Calls(), expected);
  EXPECT_EQ(backend->call_log().Count("CloseServiceHandle"), 2u);

  backend->call_log().Clear();
  EXPECT_TRUE(backend->call_log().Calls().empty());
  backend->call_log().SetEnabled(false);
  p.net->NetServerGetInfo101("FWWS01");
  EXPECT_TRUE(backend->call_log().Calls().empty());
  backend->call_log().SetEnabled(true);
  p.net->NetServerGetInfo101("NOSUCH");
  EXPECT_EQ(backend->call_log().Count("NetServerGetInfo"), 1u) << "failed calls are recorded too";
}

std::chrono::milliseconds TimeOf(const std::function<void()>& call) {
  const auto start = std::chrono::steady_clock::now();
  call();
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start);
}

TEST(EstateLatency, RemoteCallsSleepForTheEstateOrComputerLatency) {
  auto backend = testing::BackendFrom(R"({"latency_ms": 30, "ping_waits": true,
      "computers": [{"name": "SLOW"}, {"name": "FAST", "latency_ms": 0},
                    {"name": "ECHO", "ping": {"delay_ms": 25}}]})");
  platform::Platform p;
  backend->Attach(p);
  EXPECT_GE(TimeOf([&] { p.net->NetServerGetInfo101("SLOW"); }).count(), 30);
  EXPECT_GE(TimeOf([&] { p.net->NetServerGetInfo101("NOSUCH"); }).count(), 30)
      << "an unknown name costs a round trip too";
  EXPECT_LT(TimeOf([&] { p.net->NetServerGetInfo101("FAST"); }).count(), 30);
  EXPECT_GE(TimeOf([&] {
              EXPECT_TRUE(p.icmp->RawEcho({"ECHO", 30, 100, 32}).success);
            }).count(),
            25);
  EXPECT_GE(TimeOf([&] {
              EXPECT_FALSE(p.icmp->RawEcho({"192.0.2.99", 30, 40, 32}).success);
            }).count(),
            40)
      << "no answer waits the whole timeout";
}

}  // namespace
}  // namespace tabulon::estate
