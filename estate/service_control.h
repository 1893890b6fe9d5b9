#pragma once
// The service control manager answered from the estate, for one session.
// Handles live in the session's table, so that what a session left open can
// be counted when it closes.
#include <cstddef>
#include <string>
#include <vector>

#include "estate/handle_table.h"
#include "estate/simulation.h"
#include "platform/service_control.h"

namespace tabulon::estate {

class EstateServiceControl final : public platform::ServiceControl {
 public:
  EstateServiceControl(Simulation& simulation, const platform::SessionOptions& session)
      : sim_(simulation), session_(session) {}

  platform::ServiceHandleResult OpenSCManager(std::string_view machine,
                                              std::uint32_t access) override;
  platform::EnumServicesResult EnumServicesStatus(platform::ServiceHandle manager,
                                                  std::uint32_t service_type,
                                                  std::uint32_t service_state,
                                                  std::uint32_t buffer_size,
                                                  std::uint32_t resume_handle) override;
  platform::ServiceHandleResult OpenService(platform::ServiceHandle manager,
                                            std::string_view service_name,
                                            std::uint32_t access) override;
  platform::ServiceConfigResult QueryServiceConfig(platform::ServiceHandle service,
                                                   std::uint32_t buffer_size) override;
  // Local bookkeeping: closing works even after the session was cancelled.
  bool CloseServiceHandle(platform::ServiceHandle handle) override;

  std::size_t OpenHandleCount() const { return handles_.Count(); }
  // "service manager \\WS01" or "service \\WS01\Spooler" per open handle.
  std::vector<std::string> DescribeOpenHandles() const;

 private:
  struct HandleState {
    std::uint32_t computer = kNoIndex;
    std::uint32_t service = kNoIndex;  // kNoIndex for a manager handle
    std::uint32_t access = 0;
    std::string host;  // the machine name as passed to OpenSCManager
  };

  // An open handle of the kind asked for, or null.
  const HandleState* Find(platform::ServiceHandle handle, bool manager) const;
  // Where a call through `state` goes; nowhere for no handle.
  Destination Through(const HandleState* state) const;

  Simulation& sim_;
  const platform::SessionOptions& session_;
  HandleTable<HandleState> handles_{0x1000};
};

}  // namespace tabulon::estate
