#pragma once
// The service control manager of a computer, after the advapi32 service
// functions: handles that must be closed, EnumServicesStatus sized by a first
// call that fails with ERROR_MORE_DATA, QueryServiceConfig sized the same way
// with ERROR_INSUFFICIENT_BUFFER.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace tabulon::platform {

using ServiceHandle = std::uint64_t;  // 0 is no handle

inline constexpr std::uint32_t kScManagerEnumerateService = 0x0004;
inline constexpr std::uint32_t kServiceQueryConfig = 0x0001;
inline constexpr std::uint32_t kServiceDriver = 0x0B;  // kernel, file system, recognizer
inline constexpr std::uint32_t kServiceKernelDriver = 0x01;
inline constexpr std::uint32_t kServiceFileSystemDriver = 0x02;
inline constexpr std::uint32_t kServiceWin32OwnProcess = 0x10;
inline constexpr std::uint32_t kServiceWin32ShareProcess = 0x20;
inline constexpr std::uint32_t kServiceWin32 = 0x30;
inline constexpr std::uint32_t kServiceActive = 1;
inline constexpr std::uint32_t kServiceInactive = 2;
inline constexpr std::uint32_t kServiceStateAll = 3;

// ENUM_SERVICE_STATUSW.
struct EnumServiceStatus {
  std::string service_name;
  std::string display_name;
  std::uint32_t service_type = 0;
  std::uint32_t current_state = 0;
  std::uint32_t controls_accepted = 0;
  std::uint32_t win32_exit_code = 0;
  std::uint32_t service_specific_exit_code = 0;
  std::uint32_t check_point = 0;
  std::uint32_t wait_hint = 0;
};

// QUERY_SERVICE_CONFIGW.
struct ServiceConfig {
  std::uint32_t service_type = 0;
  std::uint32_t start_type = 0;
  std::uint32_t error_control = 0;
  std::string binary_path_name;
  std::string load_order_group;
  std::uint32_t tag_id = 0;
  std::vector<std::string> dependencies;  // the double-NUL list, split
  std::string service_start_name;
  std::string display_name;
};

struct ServiceHandleResult {
  win::Status status = win::ERROR_SUCCESS;
  ServiceHandle handle = 0;
};

struct EnumServicesResult {
  win::Status status = win::ERROR_SUCCESS;
  std::vector<EnumServiceStatus> services;
  std::uint32_t bytes_needed = 0;  // with ERROR_MORE_DATA
  std::uint32_t services_returned = 0;
  std::uint32_t resume_handle = 0;
};

struct ServiceConfigResult {
  win::Status status = win::ERROR_SUCCESS;
  ServiceConfig config;
  std::uint32_t bytes_needed = 0;  // with ERROR_INSUFFICIENT_BUFFER
};

class ServiceControl {
 public:
  virtual ~ServiceControl() = default;

  virtual ServiceHandleResult OpenSCManager(std::string_view machine, std::uint32_t access) = 0;
  // Entries that fit in `buffer_size` bytes, counted as the Windows structures
  // with their UTF-16 strings would need.
  virtual EnumServicesResult EnumServicesStatus(ServiceHandle manager, std::uint32_t service_type,
                                                std::uint32_t service_state,
                                                std::uint32_t buffer_size,
                                                std::uint32_t resume_handle) = 0;
  virtual ServiceHandleResult OpenService(ServiceHandle manager, std::string_view service_name,
                                          std::uint32_t access) = 0;
  virtual ServiceConfigResult QueryServiceConfig(ServiceHandle service,
                                                 std::uint32_t buffer_size) = 0;
  virtual bool CloseServiceHandle(ServiceHandle handle) = 0;
};

}  // namespace tabulon::platform
