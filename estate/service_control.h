#pragma once
// The service control manager answered from the estate. Handles are tracked
// so that tests can check that every handle an exporter opened was closed.
#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "estate/simulation.h"
#include "platform/service_control.h"

namespace tabulon::estate {

class EstateServiceControl final : public platform::ServiceControl {
 public:
  explicit EstateServiceControl(Simulation& simulation) : sim_(simulation) {}

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
  bool CloseServiceHandle(platform::ServiceHandle handle) override;

  std::size_t OpenHandleCount() const { return handles_.size(); }
  // "manager \\WS01" or "service \\WS01\Spooler" per open handle, for test
  // failure messages.
  std::vector<std::string> DescribeOpenHandles() const;

 private:
  struct HandleState {
    std::uint32_t computer = kNoIndex;
    std::uint32_t service = kNoIndex;  // kNoIndex for a manager handle
    std::uint32_t access = 0;
    std::string host;  // the machine name as passed to OpenSCManager
  };

  platform::ServiceHandle Add(HandleState state);
  const HandleState* Find(platform::ServiceHandle handle, bool manager) const;
  // Lists are shared by many computers and never change once loaded, so
  // their name index and structure sizes are worked out once, on first use.
  struct ListFacts {
    std::unordered_map<std::string, std::uint32_t> index;  // lower-case name -> position
    std::vector<std::uint32_t> status_bytes;
    std::vector<std::uint32_t> config_bytes;
  };
  const ListFacts& FactsOf(const ServiceList& services);
  // Position of a service in its list by name, without regard to case.
  std::uint32_t IndexOf(const ServiceList& services, std::string_view name);

  Simulation& sim_;
  std::unordered_map<const ServiceList*, ListFacts> list_facts_;
  std::unordered_map<platform::ServiceHandle, HandleState> handles_;
  platform::ServiceHandle next_handle_ = 0x1000;
};

}  // namespace tabulon::estate
