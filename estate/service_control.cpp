#include "estate/service_control.h"

#include "estate/service_lists.h"

namespace tabulon::estate {
namespace {

bool MatchesState(const Service& service, std::uint32_t wanted) {
  const bool inactive = service.state == kServiceStopped;
  return (wanted & (inactive ? platform::kServiceInactive : platform::kServiceActive)) != 0;
}

template <typename State>
std::string HostOf(const State* state) {
  return state != nullptr ? state->host : std::string();
}

}  // namespace

const EstateServiceControl::HandleState* EstateServiceControl::Find(platform::ServiceHandle handle,
                                                                    bool manager) const {
  const HandleState* state = handles_.Find(handle);
  if (state == nullptr || (state->service == kNoIndex) != manager) return nullptr;
  return state;
}

Destination EstateServiceControl::Through(const HandleState* state) const {
  return state != nullptr ? sim_.ToComputer(&sim_.estate().computers[state->computer])
                          : Destination{};
}

platform::ServiceHandleResult EstateServiceControl::OpenSCManager(std::string_view machine,
                                                                  std::uint32_t access) {
  const Estate& estate = sim_.estate();
  platform::ServiceHandleResult result;
  const Computer* computer = estate.FindServer(machine);
  result.status = sim_.Reach(
      session_, Operation::kOpenSCManager, machine, [&] { return "access=" + Hex(access); },
      sim_.ToComputer(computer), win::RPC_S_SERVER_UNAVAILABLE);
  if (result.status != win::ERROR_SUCCESS) return result;
  result.handle = handles_.Add({estate.IndexOf(*computer), kNoIndex, access, std::string(machine)});
  return result;
}

platform::EnumServicesResult EstateServiceControl::EnumServicesStatus(
    platform::ServiceHandle manager, std::uint32_t service_type, std::uint32_t service_state,
    std::uint32_t buffer_size, std::uint32_t resume_handle) {
  platform::EnumServicesResult result;
  const HandleState* state = Find(manager, true);
  result.status = sim_.Reach(
      session_, Operation::kEnumServicesStatus, HostOf(state),
      [&] {
        return "type=" + Hex(service_type) + " state=" + std::to_string(service_state) +
               " size=" + std::to_string(buffer_size) + " resume=" + std::to_string(resume_handle);
      },
      Through(state), win::ERROR_INVALID_HANDLE);
  if (result.status != win::ERROR_SUCCESS) return result;
  if ((state->access & platform::kScManagerEnumerateService) == 0) {
    result.status = win::ERROR_ACCESS_DENIED;
    return result;
  }
  if ((service_type & (platform::kServiceDriver | platform::kServiceWin32)) == 0 ||
      service_state == 0 || service_state > platform::kServiceStateAll) {
    result.status = win::ERROR_INVALID_PARAMETER;
    return result;
  }

  // Entries are returned while they fit; the rest is counted into
  // bytes_needed and picked up again from the resume handle.
  const ServiceList& services = *sim_.estate().computers[state->computer].services;
  const ServiceListFacts& facts = sim_.service_lists().Of(services);
  std::uint32_t used = 0;
  bool full = false;
  for (std::size_t i = resume_handle; i < services.size(); ++i) {
    const Service& service = services[i];
    if ((service.type & service_type) == 0 || !MatchesState(service, service_state)) continue;
    const std::uint32_t bytes = facts.status_bytes[i];
    if (!full && static_cast<std::uint64_t>(used) + bytes <= buffer_size) {
      used += bytes;
      result.services.push_back(StatusOf(service));
      continue;
    }
    if (!full) result.resume_handle = static_cast<std::uint32_t>(i);
    full = true;
    result.bytes_needed += bytes;
  }
  result.services_returned = static_cast<std::uint32_t>(result.services.size());
  if (full) result.status = win::ERROR_MORE_DATA;
  return result;
}

platform::ServiceHandleResult EstateServiceControl::OpenService(platform::ServiceHandle manager,
                                                                std::string_view service_name,
                                                                std::uint32_t access) {
  platform::ServiceHandleResult result;
  const HandleState* state = Find(manager, true);
  result.status = sim_.Reach(
      session_, Operation::kOpenService, HostOf(state),
      [&] { return "service=" + std::string(service_name) + " access=" + Hex(access); },
      Through(state), win::ERROR_INVALID_HANDLE);
  if (result.status != win::ERROR_SUCCESS) return result;
  if (service_name.empty()) {
    result.status = win::ERROR_INVALID_NAME;
    return result;
  }
  const ServiceList& services = *sim_.estate().computers[state->computer].services;
  const std::uint32_t index = sim_.service_lists().Of(services).Find(service_name);
  if (index == kNoIndex) {
    result.status = win::ERROR_SERVICE_DOES_NOT_EXIST;
    return result;
  }
  result.status = sim_.Injected(Operation::kOpenService, services[index].failures, state->computer);
  if (result.status != win::ERROR_SUCCESS) return result;
  result.handle = handles_.Add({state->computer, index, access, state->host});
  return result;
}

platform::ServiceConfigResult EstateServiceControl::QueryServiceConfig(
    platform::ServiceHandle service_handle, std::uint32_t buffer_size) {
  platform::ServiceConfigResult result;
  const HandleState* state = Find(service_handle, false);
  const ServiceList* services =
      state != nullptr ? sim_.estate().computers[state->computer].services.get() : nullptr;
  const Service* service = services != nullptr ? &(*services)[state->service] : nullptr;
  result.status = sim_.Reach(
      session_, Operation::kQueryServiceConfig, HostOf(state),
      [&] {
        return "service=" + (service != nullptr ? service->name : std::string()) +
               " size=" + std::to_string(buffer_size);
      },
      Through(state), win::ERROR_INVALID_HANDLE);
  if (result.status != win::ERROR_SUCCESS) return result;
  if ((state->access & platform::kServiceQueryConfig) == 0) {
    result.status = win::ERROR_ACCESS_DENIED;
    return result;
  }
  result.status = sim_.Injected(Operation::kQueryServiceConfig, service->failures, state->computer);
  if (result.status != win::ERROR_SUCCESS) return result;
  const std::uint32_t needed = sim_.service_lists().Of(*services).config_bytes[state->service];
  if (buffer_size < needed) {
    result.status = win::ERROR_INSUFFICIENT_BUFFER;
    result.bytes_needed = needed;
    return result;
  }
  result.config = ConfigOf(*service);
  return result;
}

bool EstateServiceControl::CloseServiceHandle(platform::ServiceHandle handle) {
  sim_.Record(Operation::kCloseServiceHandle, HostOf(handles_.Find(handle)),
              [&] { return "handle=" + std::to_string(handle); });
  return handles_.Close(handle);
}

std::vector<std::string> EstateServiceControl::DescribeOpenHandles() const {
  return handles_.Describe([&](const HandleState& state) {
    const Computer& computer = sim_.estate().computers[state.computer];
    return state.service == kNoIndex
               ? "service manager \\\\" + computer.name
               : "service \\\\" + computer.name + "\\" + (*computer.services)[state.service].name;
  });
}

}  // namespace tabulon::estate
