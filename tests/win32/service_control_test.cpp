// The service manager on Wine's own services, and the decoding of the
// records EnumServicesStatusW and QueryServiceConfigW write, made by hand.
#include "platform/win32/service_control.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#undef EnumServicesStatus
#undef OpenSCManager
#undef OpenService
#undef QueryServiceConfig

namespace tabulon::platform {
namespace {

using win32::Win32ServiceControl;

// The Windows headers' errors are long; the platform's are unsigned.
constexpr win::Status Win(long error) {
  return static_cast<win::Status>(error);
}

class Win32Services : public ::testing::Test {
 protected:
  BoundedCalls calls_{std::chrono::seconds(60), CancelToken()};
  Win32ServiceControl services_{calls_};
};

std::vector<std::string> Names(const std::vector<EnumServiceStatus>& services) {
  std::vector<std::string> names;
  for (const auto& s : services) names.push_back(s.service_name);
  return names;
}

TEST_F(Win32Services, ListsSizedByTheFirstCallAndCutToTheBuffer) {
  const ServiceHandleResult manager = services_.OpenSCManager("", kScManagerEnumerateService);
  ASSERT_EQ(manager.status, Win(ERROR_SUCCESS));
  const EnumServicesResult sizing =
      services_.EnumServicesStatus(manager.handle, kServiceWin32, kServiceStateAll, 0, 0);
  ASSERT_EQ(sizing.status, Win(ERROR_MORE_DATA));
  ASSERT_GT(sizing.bytes_needed, 0u);
  const EnumServicesResult all = services_.EnumServicesStatus(
      manager.handle, kServiceWin32, kServiceStateAll, sizing.bytes_needed, 0);
  ASSERT_EQ(all.status, Win(ERROR_SUCCESS));
  ASSERT_EQ(all.services_returned, all.services.size());
  const std::vector<std::string> names = Names(all.services);
  ASSERT_NE(std::find(names.begin(), names.end(), "RpcSs"), names.end());
  for (const auto& s : all.services)
    EXPECT_NE(s.service_type & kServiceWin32, 0u) << s.service_name;

  // A page of a few entries: the first of the list, and the size of all.
  const EnumServicesResult first =
      services_.EnumServicesStatus(manager.handle, kServiceWin32, kServiceStateAll, 400, 0);
  ASSERT_EQ(first.status, Win(ERROR_MORE_DATA));
  ASSERT_FALSE(first.services.empty());
  const std::vector<std::string> head = Names(first.services);
  EXPECT_TRUE(std::equal(head.begin(), head.end(), names.begin()));
  EXPECT_GT(first.bytes_needed, 400u);
  EXPECT_TRUE(services_.CloseServiceHandle(manager.handle));
}

TEST_F(Win32Services, ConfigSizedByTheFirstCall) {
  const ServiceHandleResult manager = services_.OpenSCManager("", kScManagerEnumerateService);
  ASSERT_EQ(manager.status, Win(ERROR_SUCCESS));
  const ServiceHandleResult service =
      services_.OpenService(manager.handle, "RpcSs", kServiceQueryConfig);
  ASSERT_EQ(service.status, Win(ERROR_SUCCESS));
  const ServiceConfigResult small = services_.QueryServiceConfig(service.handle, 16);
  ASSERT_EQ(small.status, Win(ERROR_INSUFFICIENT_BUFFER));
  const ServiceConfigResult config =
      services_.QueryServiceConfig(service.handle, small.bytes_needed);
  ASSERT_EQ(config.status, Win(ERROR_SUCCESS));
  EXPECT_NE(config.config.binary_path_name.find("rpcss"), std::string::npos)
      << config.config.binary_path_name;
  EXPECT_EQ(config.config.service_type & kServiceWin32, config.config.service_type & 0x30);

  EXPECT_EQ(services_.OpenService(manager.handle, "no-such-service", kServiceQueryConfig).status,
            Win(ERROR_SERVICE_DOES_NOT_EXIST));
  EXPECT_EQ(services_.QueryServiceConfig(12345, 8192).status, Win(ERROR_INVALID_HANDLE));
  EXPECT_TRUE(services_.CloseServiceHandle(service.handle));
  EXPECT_FALSE(services_.CloseServiceHandle(service.handle));
  // The family closes what is left open when it goes.
}

// Records laid out as the API lays them: fixed parts first, strings after.
struct RecordBuffer {
  alignas(8) std::uint8_t bytes[1024] = {};
  std::size_t used = 0;
  template <typename Record>
  Record* Add() {
    Record* record = reinterpret_cast<Record*>(bytes + used);
    used += sizeof(Record);
    return record;
  }
  wchar_t* Text(const std::wstring& text) {
    used = (used + 1) & ~std::size_t{1};
    auto* at = reinterpret_cast<wchar_t*>(bytes + used);
    std::memcpy(at, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    used += (text.size() + 1) * sizeof(wchar_t);
    return at;
  }
  std::uint32_t size() const { return static_cast<std::uint32_t>(used); }
};

TEST(Win32ServiceRecords, EnumEntriesAreReadWithinTheBuffer) {
  RecordBuffer buffer;
  auto* first = buffer.Add<ENUM_SERVICE_STATUSW>();
  auto* second = buffer.Add<ENUM_SERVICE_STATUSW>();
  first->lpServiceName = buffer.Text(L"Spooler");
  first->lpDisplayName = buffer.Text(L"Print \u00DCbersicht");
  first->ServiceStatus = {SERVICE_WIN32_OWN_PROCESS, SERVICE_RUNNING, 5, 0, 0, 0, 0};
  second->lpServiceName = buffer.Text(L"x");
  second->lpDisplayName = nullptr;
  std::vector<EnumServiceStatus> out;
  ASSERT_EQ(win32::DecodeEnumServices(buffer.bytes, buffer.size(), 2, out), Win(ERROR_SUCCESS));
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0].service_name, "Spooler");
  EXPECT_EQ(out[0].display_name,
            "Print \xC3\x9C"
            "bersicht");
  EXPECT_EQ(out[0].current_state, std::uint32_t{SERVICE_RUNNING});
  EXPECT_EQ(out[0].controls_accepted, 5u);
  EXPECT_EQ(out[1].display_name, "");

  // A count past the buffer, a string outside it, a string running off its
  // end: malformed, and nothing half-read is kept.
  EXPECT_EQ(win32::DecodeEnumServices(buffer.bytes, buffer.size(), 100, out),
            Win(RPC_X_BAD_STUB_DATA));
  EXPECT_TRUE(out.empty());
  static const wchar_t kOutside[] = L"elsewhere";
  second->lpDisplayName = const_cast<wchar_t*>(kOutside);
  EXPECT_EQ(win32::DecodeEnumServices(buffer.bytes, buffer.size(), 2, out),
            Win(RPC_X_BAD_STUB_DATA));
  second->lpDisplayName = nullptr;
  EXPECT_EQ(win32::DecodeEnumServices(buffer.bytes, buffer.size() - 2, 2, out),
            Win(RPC_X_BAD_STUB_DATA));
}

TEST(Win32ServiceRecords, ConfigDependencyListEndsWithinTheBuffer) {
  RecordBuffer buffer;
  auto* config = buffer.Add<QUERY_SERVICE_CONFIGW>();
  config->dwStartType = SERVICE_AUTO_START;
  config->lpBinaryPathName = buffer.Text(L"C:\\svc.exe");
  config->lpLoadOrderGroup = nullptr;
  config->lpServiceStartName = buffer.Text(L"LocalSystem");
  config->lpDisplayName = buffer.Text(L"Service");
  config->lpDependencies = buffer.Text(std::wstring(L"RpcSs\0+Net\0", 11));  // with the closing NUL
  ServiceConfig out;
  ASSERT_EQ(win32::DecodeServiceConfig(buffer.bytes, buffer.size(), out), Win(ERROR_SUCCESS));
  EXPECT_EQ(out.dependencies, (std::vector<std::string>{"RpcSs", "+Net"}));
  EXPECT_EQ(out.binary_path_name, "C:\\svc.exe");
  EXPECT_EQ(out.load_order_group, "");
  EXPECT_EQ(out.start_type, std::uint32_t{SERVICE_AUTO_START});

  // The list's closing NUL cut off.
  EXPECT_EQ(win32::DecodeServiceConfig(buffer.bytes, buffer.size() - 2, out),
            Win(RPC_X_BAD_STUB_DATA));
  EXPECT_EQ(win32::DecodeServiceConfig(buffer.bytes, sizeof(QUERY_SERVICE_CONFIGW) - 1, out),
            Win(RPC_X_BAD_STUB_DATA));
}

}  // namespace
}  // namespace tabulon::platform
