#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sample_estate.h"

namespace tabulon::estate {
namespace {

using platform::kScManagerEnumerateService;
using platform::kServiceQueryConfig;

class ServiceControlTest : public ::testing::Test {
 protected:
  std::unique_ptr<EstateBackend> backend_ = testing::SampleBackend();
  std::unique_ptr<EstateSession> platform_;
  platform::ServiceControl* scm_ = nullptr;

  void SetUp() override {
    platform_ = backend_->OpenSession("");
    scm_ = &platform_->services();
  }
  void TearDown() override {
    EXPECT_EQ(platform_->OpenHandles(), 0u)
        << ::testing::PrintToString(platform_->DescribeOpenHandles());
  }
  platform::ServiceHandle Manager(const char* machine) {
    const auto opened = scm_->OpenSCManager(machine, kScManagerEnumerateService);
    EXPECT_EQ(opened.status, win::ERROR_SUCCESS) << machine;
    return opened.handle;
  }
};

std::vector<std::string> Names(const platform::EnumServicesResult& r) {
  std::vector<std::string> names;
  for (const auto& s : r.services) names.push_back(s.service_name);
  return names;
}

// The sample workstation's services take, as ENUM_SERVICE_STATUSW with
// their UTF-16 names: Ntfs 56, Spooler 80, Tcpip 94, W32Time 78 bytes.
TEST_F(ServiceControlTest, SizingCallThenFullCallFiltersByTypeAndState) {
  struct Case {
    std::uint32_t type;
    std::uint32_t state;
    std::uint32_t bytes;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {0x33, 3, 308, {"Ntfs", "Spooler", "Tcpip", "W32Time"}},
      {0x30, 3, 158, {"Spooler", "W32Time"}},
      {0x0B, 3, 150, {"Ntfs", "Tcpip"}},
      {0x03, 2, 56, {"Ntfs"}},  // stopped drivers only
      {0x30, 1, 80, {"Spooler"}},
      {0x10, 3, 80, {"Spooler"}},
  };
  const auto manager = Manager("\\\\FWWS01");
  for (const Case& c : cases) {
    const auto sizing = scm_->EnumServicesStatus(manager, c.type, c.state, 0, 0);
    EXPECT_EQ(sizing.status, win::ERROR_MORE_DATA);
    EXPECT_EQ(sizing.bytes_needed, c.bytes) << c.type << "/" << c.state;
    EXPECT_EQ(sizing.services_returned, 0u);

    const auto full = scm_->EnumServicesStatus(manager, c.type, c.state, sizing.bytes_needed, 0);
    EXPECT_EQ(full.status, win::ERROR_SUCCESS);
    EXPECT_EQ(Names(full), c.names) << c.type << "/" << c.state;
    EXPECT_EQ(full.services_returned, c.names.size());
  }
  EXPECT_TRUE(scm_->CloseServiceHandle(manager));
}

TEST_F(ServiceControlTest, QueryConfigIsSizedLikeWindows) {
  const auto manager = Manager("FWWS01");
  // 36 + binary path 64 + empty group 2 + "RPCSS" "http" and the final NUL
  // 24 + "LocalSystem" 24 + "Print Spooler" 28.
  const auto service = scm_->OpenService(manager, "SPOOLER", kServiceQueryConfig);
  ASSERT_EQ(service.status, win::ERROR_SUCCESS);
  const auto small = scm_->QueryServiceConfig(service.handle, 177);
  EXPECT_EQ(small.status, win::ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(small.bytes_needed, 178u);
  const auto config = scm_->QueryServiceConfig(service.handle, small.bytes_needed);
  ASSERT_EQ(config.status, win::ERROR_SUCCESS);
  EXPECT_EQ(config.config.dependencies, (std::vector<std::string>{"RPCSS", "http"}));
  EXPECT_TRUE(scm_->CloseServiceHandle(service.handle));
  EXPECT_TRUE(scm_->CloseServiceHandle(manager));
}

TEST_F(ServiceControlTest, OpenFailures) {
  EXPECT_EQ(scm_->OpenSCManager("\\\\NOSUCH", kScManagerEnumerateService).status,
            win::RPC_S_SERVER_UNAVAILABLE);
  EXPECT_EQ(scm_->OpenSCManager("\\\\FWWS02", kScManagerEnumerateService).status,
            win::RPC_S_SERVER_UNAVAILABLE)
      << "offline";
  const auto manager = Manager("FWSRV01");
  EXPECT_EQ(scm_->OpenService(manager, "", kServiceQueryConfig).status, win::ERROR_INVALID_NAME);
  scm_->CloseServiceHandle(manager);
}

TEST_F(ServiceControlTest, HandlesAreCheckedAndTracked) {
  const auto manager = Manager("FWWS01");
  const auto service = scm_->OpenService(manager, "Tcpip", kServiceQueryConfig);
  EXPECT_EQ(platform_->OpenHandles(), 2u);

  EXPECT_EQ(scm_->QueryServiceConfig(manager, 4096).status, win::ERROR_INVALID_HANDLE);
  EXPECT_EQ(scm_->EnumServicesStatus(service.handle, 0x33, 3, 0, 0).status,
            win::ERROR_INVALID_HANDLE);
  EXPECT_EQ(scm_->OpenService(service.handle, "Tcpip", kServiceQueryConfig).status,
            win::ERROR_INVALID_HANDLE);

  EXPECT_TRUE(scm_->CloseServiceHandle(service.handle));
  EXPECT_TRUE(scm_->CloseServiceHandle(manager));
  EXPECT_FALSE(scm_->CloseServiceHandle(0));
}

TEST_F(ServiceControlTest, AccessRightsOfServicesAreEnforced) {
  const auto weak = scm_->OpenSCManager("FWWS01", 0x0001);  // connect only
  ASSERT_EQ(weak.status, win::ERROR_SUCCESS);
  const auto status_only = scm_->OpenService(weak.handle, "Ntfs", 0x0004);
  ASSERT_EQ(status_only.status, win::ERROR_SUCCESS);
  EXPECT_EQ(scm_->QueryServiceConfig(status_only.handle, 4096).status, win::ERROR_ACCESS_DENIED);
  scm_->CloseServiceHandle(status_only.handle);
  scm_->CloseServiceHandle(weak.handle);
}

TEST_F(ServiceControlTest, BadFiltersAreInvalidParameters) {
  const auto manager = Manager("FWWS01");
  EXPECT_EQ(scm_->EnumServicesStatus(manager, 0, 3, 0, 0).status, win::ERROR_INVALID_PARAMETER);
  EXPECT_EQ(scm_->EnumServicesStatus(manager, 0x33, 0, 0, 0).status, win::ERROR_INVALID_PARAMETER);
  EXPECT_EQ(scm_->EnumServicesStatus(manager, 0x33, 4, 0, 0).status, win::ERROR_INVALID_PARAMETER);
  scm_->CloseServiceHandle(manager);
}

}  // namespace
}  // namespace tabulon::estate
