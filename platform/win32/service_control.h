#pragma once
// The service control manager through advapi32's own service functions,
// each call on the session's worker. Handles are numbers of the family's
// table; the ones still open are closed when the family goes.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/bounded_calls.h"
#include "platform/service_control.h"
#include "platform/win32/handle_table.h"

namespace tabulon::platform::win32 {

// The largest buffers asked of the API, whatever size a caller (told by a
// server) wants: as the remote backend's.
inline constexpr std::uint32_t kMaxEnumServicesBytes = 256 * 1024;
inline constexpr std::uint32_t kMaxServiceConfigBytes = 8 * 1024;

// The ENUM_SERVICE_STATUSW records EnumServicesStatusW wrote into `buffer`
// (`size` bytes). `returned` beyond what the buffer holds, or a string
// outside it, is RPC_X_BAD_STUB_DATA.
win::Status DecodeEnumServices(const void* buffer, std::uint32_t size, std::uint32_t returned,
                               std::vector<EnumServiceStatus>& services);
// The QUERY_SERVICE_CONFIGW at the start of `buffer`, its strings and the
// double-NUL dependency list within `size` bytes.
win::Status DecodeServiceConfig(const void* buffer, std::uint32_t size, ServiceConfig& config);

class Win32ServiceControl final : public ServiceControl {
 public:
  explicit Win32ServiceControl(BoundedCalls& calls) : calls_(calls) {}
  ~Win32ServiceControl() override;

  ServiceHandleResult OpenSCManager(std::string_view machine, std::uint32_t access) override;
  EnumServicesResult EnumServicesStatus(ServiceHandle manager, std::uint32_t service_type,
                                        std::uint32_t service_state, std::uint32_t buffer_size,
                                        std::uint32_t resume_handle) override;
  ServiceHandleResult OpenService(ServiceHandle manager, std::string_view service_name,
                                  std::uint32_t access) override;
  ServiceConfigResult QueryServiceConfig(ServiceHandle service, std::uint32_t buffer_size) override;
  bool CloseServiceHandle(ServiceHandle handle) override;

 private:
  BoundedCalls& calls_;
  std::shared_ptr<HandleTable> handles_ = std::make_shared<HandleTable>();
};

}  // namespace tabulon::platform::win32
