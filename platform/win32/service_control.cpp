#include "platform/win32/service_control.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/win32/api_buffer.h"
#include "platform/win32/last_error.h"
#include "platform/win32/wide.h"

// The interface's method names, which <windows.h> takes for its A/W macros;
// the W functions are called by name.
#undef EnumServicesStatus
#undef OpenSCManager
#undef OpenService
#undef QueryServiceConfig

namespace tabulon::platform::win32 {
namespace {

// Null for the empty name: this computer.
const wchar_t* MachineOrNull(const std::wstring& machine) {
  return machine.empty() ? nullptr : machine.c_str();
}

}  // namespace

win::Status DecodeEnumServices(const void* buffer, std::uint32_t size, std::uint32_t returned,
                               std::vector<EnumServiceStatus>& services) {
  services.clear();
  if (returned > size / sizeof(ENUM_SERVICE_STATUSW)) return RPC_X_BAD_STUB_DATA;
  const auto* records = static_cast<const ENUM_SERVICE_STATUSW*>(buffer);
  services.reserve(returned);
  for (std::uint32_t i = 0; i < returned; ++i) {
    const ENUM_SERVICE_STATUSW& record = records[i];
    std::optional<std::string> name = StringInBuffer(record.lpServiceName, buffer, size);
    std::optional<std::string> display = StringInBuffer(record.lpDisplayName, buffer, size);
    if (!name || !display) {
      services.clear();
      return RPC_X_BAD_STUB_DATA;
    }
    const SERVICE_STATUS& status = record.ServiceStatus;
    services.push_back({std::move(*name), std::move(*display), status.dwServiceType,
                        status.dwCurrentState, status.dwControlsAccepted, status.dwWin32ExitCode,
                        status.dwServiceSpecificExitCode, status.dwCheckPoint, status.dwWaitHint});
  }
  return ERROR_SUCCESS;
}

win::Status DecodeServiceConfig(const void* buffer, std::uint32_t size, ServiceConfig& config) {
  config = {};
  if (size < sizeof(QUERY_SERVICE_CONFIGW)) return RPC_X_BAD_STUB_DATA;
  const auto& record = *static_cast<const QUERY_SERVICE_CONFIGW*>(buffer);
  std::optional<std::string> binary = StringInBuffer(record.lpBinaryPathName, buffer, size);
  std::optional<std::string> group = StringInBuffer(record.lpLoadOrderGroup, buffer, size);
  std::optional<std::string> start = StringInBuffer(record.lpServiceStartName, buffer, size);
  std::optional<std::string> display = StringInBuffer(record.lpDisplayName, buffer, size);
  if (!binary || !group || !start || !display) return RPC_X_BAD_STUB_DATA;
  // Each name ends in the buffer, and so does the empty one closing the list.
  const wchar_t* dependency = record.lpDependencies;
  while (dependency != nullptr) {
    std::optional<std::string> name = StringInBuffer(dependency, buffer, size);
    if (!name) return RPC_X_BAD_STUB_DATA;
    if (name->empty()) break;
    config.dependencies.push_back(std::move(*name));
    dependency += ::wcslen(dependency) + 1;
  }
  config.service_type = record.dwServiceType;
  config.start_type = record.dwStartType;
  config.error_control = record.dwErrorControl;
  config.binary_path_name = std::move(*binary);
  config.load_order_group = std::move(*group);
  config.tag_id = record.dwTagId;
  config.service_start_name = std::move(*start);
  config.display_name = std::move(*display);
  return ERROR_SUCCESS;
}

Win32ServiceControl::~Win32ServiceControl() {
  if (handles_->empty()) return;
  calls_.Release([handles = handles_] {
    for (void* handle : handles->TakeAll()) ::CloseServiceHandle(static_cast<SC_HANDLE>(handle));
  });
}

ServiceHandleResult Win32ServiceControl::OpenSCManager(std::string_view machine,
                                                       std::uint32_t access) {
  return calls_.Run<ServiceHandleResult>(
      [handles = handles_, machine = std::string(machine), access] {
        const std::wstring wide = ToWide(machine);
        SC_HANDLE opened = ::OpenSCManagerW(MachineOrNull(wide), nullptr, access);
        if (opened == nullptr) return ServiceHandleResult{FailureStatus(), 0};
        return ServiceHandleResult{ERROR_SUCCESS, handles->Add(opened)};
      });
}

EnumServicesResult Win32ServiceControl::EnumServicesStatus(ServiceHandle manager,
                                                           std::uint32_t service_type,
                                                           std::uint32_t service_state,
                                                           std::uint32_t buffer_size,
                                                           std::uint32_t resume_handle) {
  const std::uint32_t size = std::min(buffer_size, kMaxEnumServicesBytes);
  return calls_.Run<EnumServicesResult>([handles = handles_, manager, service_type, service_state,
                                         size, resume_handle] {
    EnumServicesResult result;
    auto* opened = static_cast<SC_HANDLE>(handles->Find(manager));
    if (opened == nullptr) {
      result.status = ERROR_INVALID_HANDLE;
      return result;
    }
    ApiBuffer buffer(size);
    DWORD needed = 0;
    DWORD returned = 0;
    DWORD resume = resume_handle;
    const BOOL ok = ::EnumServicesStatusW(opened, service_type, service_state,
                                          static_cast<LPENUM_SERVICE_STATUSW>(buffer.data()), size,
                                          &needed, &returned, &resume);
    result.status = ok ? ERROR_SUCCESS : FailureStatus();
    if (result.status != ERROR_SUCCESS && result.status != ERROR_MORE_DATA) return result;
    // The entries that fit come with ERROR_MORE_DATA too, and where to
    // go on from.
    result.bytes_needed = needed;
    result.resume_handle = resume;
    const win::Status decoded = DecodeEnumServices(buffer.data(), size, returned, result.services);
    if (decoded != ERROR_SUCCESS) {
      result = {};
      result.status = decoded;
      return result;
    }
    result.services_returned = returned;
    return result;
  });
}

ServiceHandleResult Win32ServiceControl::OpenService(ServiceHandle manager,
                                                     std::string_view service_name,
                                                     std::uint32_t access) {
  return calls_.Run<ServiceHandleResult>(
      [handles = handles_, manager, name = std::string(service_name), access] {
        auto* opened = static_cast<SC_HANDLE>(handles->Find(manager));
        if (opened == nullptr) return ServiceHandleResult{ERROR_INVALID_HANDLE, 0};
        SC_HANDLE service = ::OpenServiceW(opened, ToWide(name).c_str(), access);
        if (service == nullptr) return ServiceHandleResult{FailureStatus(), 0};
        return ServiceHandleResult{ERROR_SUCCESS, handles->Add(service)};
      });
}

ServiceConfigResult Win32ServiceControl::QueryServiceConfig(ServiceHandle service,
                                                            std::uint32_t buffer_size) {
  const std::uint32_t size = std::min(buffer_size, kMaxServiceConfigBytes);
  return calls_.Run<ServiceConfigResult>([handles = handles_, service, size] {
    ServiceConfigResult result;
    auto* opened = static_cast<SC_HANDLE>(handles->Find(service));
    if (opened == nullptr) {
      result.status = ERROR_INVALID_HANDLE;
      return result;
    }
    ApiBuffer buffer(size);
    DWORD needed = 0;
    if (!::QueryServiceConfigW(opened, static_cast<LPQUERY_SERVICE_CONFIGW>(buffer.data()), size,
                               &needed)) {
      result.status = FailureStatus();
      if (result.status == ERROR_INSUFFICIENT_BUFFER) result.bytes_needed = needed;
      return result;
    }
    result.status = DecodeServiceConfig(buffer.data(), size, result.config);
    return result;
  });
}

bool Win32ServiceControl::CloseServiceHandle(ServiceHandle handle) {
  const win::Status status = calls_.Run<win::Status>([handles = handles_, handle] {
    void* native = handles->Take(handle);
    if (native == nullptr) return win::Status{ERROR_INVALID_HANDLE};
    return ::CloseServiceHandle(static_cast<SC_HANDLE>(native)) ? win::Status{ERROR_SUCCESS}
                                                                : FailureStatus();
  });
  return status == ERROR_SUCCESS;
}

}  // namespace tabulon::platform::win32
