#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "sample_estate.h"

namespace tabulon::estate {
namespace {

constexpr std::string_view kFailingEstate = R"json({
  "domains": [{"name": "D", "controller": "DC",
               "failures": {"NetServerEnum": "ERROR_ACCESS_DENIED", "DsGetDcName": 1355,
                            "netgetdcname": "NERR_DCNotFound"}}],
  "computers": [
    {"name": "DC", "domain": "D"},
    {"name": "BAD", "domain": "D", "address": "192.0.2.9",
     "failures": {
       "NetServerGetInfo": "ERROR_ACCESS_DENIED",
       "NetQueryDisplayInformation": "1722",
       "OpenSCManager": 5,
       "LookupAccountSid": "ERROR_NONE_MAPPED",
       "LookupAccountName": "RPC_S_CALL_FAILED",
       "SystemEcho": "WSAEHOSTUNREACH",
       "RawEcho": 10065
     }},
    {"name": "FLAKY", "domain": "D",
     "failures": {"EnumServicesStatus": {"status": "ERROR_MORE_DATA", "after_calls": 1},
                  "OpenService": "ERROR_SERVICE_DOES_NOT_EXIST"},
     "services": [{"name": "S"}]}
  ]
})json";

TEST(EstateFailureInjection, EveryOperationReturnsItsInjectedStatus) {
  auto backend = testing::BackendFrom(kFailingEstate);
  auto p = backend->OpenSession("");
  platform::Platform platform;
  backend->Attach(platform);
  const platform::Sid system{1, 5, {18}};
  struct Case {
    const char* operation;
    std::function<win::Status()> call;
    win::Status expected;
  };
  const Case cases[] = {
      {"NetServerGetInfo", [&] { return p->server().NetServerGetInfo101("\\\\BAD").status; },
       win::ERROR_ACCESS_DENIED},
      {"NetServerEnum",
       [&] {
         return p->browser().NetServerEnum101("D", platform::kSvTypeAll, 0xFFFFFFFF, 0).status;
       },
       win::ERROR_ACCESS_DENIED},
      {"NetQueryDisplayInformation",
       [&] { return p->accounts().NetQueryDisplayMachines("BAD", 0, 100, 128000).status; },
       win::RPC_S_SERVER_UNAVAILABLE},
      {"NetGetDCName", [&] { return p->accounts().NetGetDCName("", "D").status; },
       win::NERR_DCNotFound},
      {"DsGetDcName", [&] { return p->directory().DsGetDcName("D", 0).status; },
       win::ERROR_NO_SUCH_DOMAIN},
      {"OpenSCManager", [&] { return p->services().OpenSCManager("BAD", 4).status; },
       win::ERROR_ACCESS_DENIED},
      {"LookupAccountSid", [&] { return p->lookup().LookupAccountSid("BAD", system).status; },
       win::ERROR_NONE_MAPPED},
      {"LookupAccountName",
       [&] { return p->lookup().LookupAccountName("BAD", "SYSTEM", 64).status; },
       win::RPC_S_CALL_FAILED},
      {"SystemEcho",
       [&] {
         return platform.icmp->SystemEcho({"BAD", 30, 50, 32}).status;
       },
       win::WSAEHOSTUNREACH},
      {"RawEcho",
       [&] {
         return platform.icmp->RawEcho({"192.0.2.9", 30, 50, 32}).status;
       },
       win::WSAEHOSTUNREACH},
  };
  for (const Case& c : cases) EXPECT_EQ(c.call(), c.expected) << c.operation;
  EXPECT_EQ(p->server().NetServerGetInfo101("DC").status, win::ERROR_SUCCESS)
      << "other computers are not affected";
}

TEST(EstateFailureInjection, AfterCallsLetsTheFirstCallsSucceed) {
  auto backend = testing::BackendFrom(kFailingEstate);
  auto p = backend->OpenSession("");
  const auto manager = p->services().OpenSCManager("FLAKY", 4);
  ASSERT_EQ(manager.status, win::ERROR_SUCCESS);
  const auto sizing = p->services().EnumServicesStatus(manager.handle, 0x33, 3, 0, 0);
  EXPECT_EQ(sizing.status, win::ERROR_MORE_DATA);
  EXPECT_EQ(sizing.bytes_needed, 36u + 4u + 4u);
  const auto second = p->services().EnumServicesStatus(manager.handle, 0x33, 3, 1000, 0);
  EXPECT_EQ(second.status, win::ERROR_MORE_DATA) << "injected from the second call on";
  EXPECT_TRUE(second.services.empty());
  EXPECT_EQ(second.bytes_needed, 0u);
  EXPECT_EQ(p->services().OpenService(manager.handle, "S", 1).status,
            win::ERROR_SERVICE_DOES_NOT_EXIST);
  p->services().CloseServiceHandle(manager.handle);
  EXPECT_EQ(p->OpenHandles(), 0u);
}

TEST(EstateFailureInjection, ServiceFailuresCountPerComputerOfASharedProfile) {
  auto backend = testing::BackendFrom(R"({
    "service_profiles": {"p": [{"name": "S", "failures": {
        "QueryServiceConfig": {"status": "RPC_S_CALL_FAILED", "after_calls": 1}}}]},
    "computers": [{"name": "A", "service_profile": "p"}, {"name": "B", "service_profile": "p"}]
  })");
  auto p = backend->OpenSession("");
  for (const char* computer : {"A", "B"}) {
    const auto manager = p->services().OpenSCManager(computer, 4);
    const auto service = p->services().OpenService(manager.handle, "s", 1);
    ASSERT_EQ(service.status, win::ERROR_SUCCESS) << computer;
    EXPECT_EQ(p->services().QueryServiceConfig(service.handle, 512).status, win::ERROR_SUCCESS)
        << computer;
    EXPECT_EQ(p->services().QueryServiceConfig(service.handle, 512).status, win::RPC_S_CALL_FAILED)
        << computer;
    p->services().CloseServiceHandle(service.handle);
    p->services().CloseServiceHandle(manager.handle);
  }
}

TEST(EstateFailureInjection, DisplayInformationCanFailMidListing) {
  auto backend = testing::BackendFrom(R"({
    "synthetic": {"computers": 150, "offline_rate": 0},
    "computers": [{"name": "DC2", "domain": "DOMAIN01", "server": {"type": ["SERVER", "BDC"]},
                   "failures": {"NetQueryDisplayInformation":
                                {"status": "RPC_S_CALL_FAILED", "after_calls": 1}}}]
  })");
  auto p = backend->OpenSession("");
  const auto first = p->accounts().NetQueryDisplayMachines("DC2", 0, 1000, 128000);
  EXPECT_EQ(first.status, win::ERROR_MORE_DATA);
  EXPECT_EQ(first.entries.size(), 100u);
  const auto second =
      p->accounts().NetQueryDisplayMachines("DC2", first.entries.back().next_index, 1000, 128000);
  EXPECT_EQ(second.status, win::RPC_S_CALL_FAILED);
  EXPECT_TRUE(second.entries.empty());
}

}  // namespace
}  // namespace tabulon::estate
