#include "estate/call_log.h"

#include <gtest/gtest.h>

#include "sample_estate.h"

namespace tabulon::estate {
namespace {

TEST(EstateCallLog, RecordsEveryCallWithHostAsPassedAndDetailOnceSwitchedOn) {
  auto backend = testing::SampleBackend();
  platform::Platform platform;
  backend->Attach(platform);
  auto p = backend->OpenSession("\\\\FWWS01");
  p->server().NetServerGetInfo101("FWWS01");
  EXPECT_TRUE(backend->call_log().Calls().empty()) << "off unless a test asks";

  backend->call_log().SetEnabled(true);
  p->server().NetServerGetInfo101("\\\\fwws01");
  p->browser().NetServerEnum101("FERNWOOD", platform::kSvTypeAll, platform::kMaxPreferredLength, 0);
  p->accounts().NetQueryDisplayMachines("\\\\FWDC01", 0, 1000, 128000);
  const auto manager = p->services().OpenSCManager("\\\\FWWS01", 4);
  p->services().EnumServicesStatus(manager.handle, 0x33, 3, 0, 0);
  const auto service = p->services().OpenService(manager.handle, "Spooler", 1);
  p->services().QueryServiceConfig(service.handle, 512);
  p->services().CloseServiceHandle(service.handle);
  p->services().CloseServiceHandle(manager.handle);
  platform.icmp->RawEcho({"FWWS01", 30, 50, 32});
  p->server().NetServerGetInfo101("NOSUCH");

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
      {"NetServerGetInfo", "NOSUCH", "level=101"},  // failed calls are recorded too
  };
  EXPECT_EQ(backend->call_log().Calls(), expected);
  EXPECT_EQ(backend->call_log().Count("CloseServiceHandle"), 2u);

  backend->call_log().Clear();
  EXPECT_TRUE(backend->call_log().Calls().empty());
}

}  // namespace
}  // namespace tabulon::estate
