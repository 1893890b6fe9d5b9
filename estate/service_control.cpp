#include "estate/service_control.h"

#include <algorithm>

#include "estate/sizes.h"
#include "platform/text.h"

namespace tabulon::estate {
namespace {

bool MatchesState(const Service& service, std::uint32_t wanted) {
  const bool inactive = service.state == kServiceStopped;
  return (wanted & (inactive ? platform::kServiceInactive : platform::kServiceActive)) != 0;
}

platform::EnumServiceStatus StatusOf(const Service& service) {
  platform::EnumServiceStatus status;
  status.service_name = service.name;
  status.display_name = service.display_name;
  status.service_type = service.type;
  status.current_state = service.state;
  status.controls_accepted = service.controls_accepted;
  status.win32_exit_code = service.win32_exit_code;
  return status;
}

platform::ServiceConfig ConfigOf(const Service& service) {
  platform::ServiceConfig config;
  config.service_type = service.type;
  config.start_type = service.start_type;
  config.error_control = service.error_control;
  config.binary_path_name = service.binary_path;
  config.load_order_group = service.load_order_group;
  config.tag_id = service.tag_id;
  config.dependencies = service.dependencies;
  config.service_start_name = service.account;
  config.display_name = service.display_name;
  return config;
}

}  // namespace

platform::ServiceHandle EstateServiceControl::Add(HandleState state) {
  const platform::ServiceHandle handle = next_handle_++;
  handles_.emplace(handle, std::move(state));
  return handle;
}

const EstateServiceControl::HandleState* EstateServiceControl::Find(platform::ServiceHandle handle,
                                                                    bool manager) const {
  const auto it = handles_.find(handle);
  if (it == handles_.end() || (it->second.service == kNoIndex) != manager) return nullptr;
  return &it->second;
}

platform::ServiceHandleResult EstateServiceControl::OpenSCManager(std::string_view machine,
                                                                  std::uint32_t access) {
  const Estate& estate = sim_.estate();
  platform::ServiceHandleResult result;
  const Computer* computer = estate.FindServer(machine);
  sim_.Record(Operation::kOpenSCManager, machine, [&] { return "access=" + Hex(access); });
  sim_.Wait(computer);
  if (computer == nullptr || computer->offline) {
    result.status = win::RPC_S_SERVER_UNAVAILABLE;
    return result;
  }
  result.status =
      sim_.Injected(Operation::kOpenSCManager, computer->failures, estate.IndexOf(*computer));
  if (result.status != win::ERROR_SUCCESS) return result;
  result.handle = Add({estate.IndexOf(*computer), kNoIndex, access, std::string(machine)});
  return result;
}

platform::EnumServicesResult EstateServiceControl::EnumServicesStatus(
    platform::ServiceHandle manager, std::uint32_t service_type, std::uint32_t service_state,
    std::uint32_t buffer_size, std::uint32_t resume_handle) {
  const Estate& estate = sim_.estate();
  platform::EnumServicesResult result;
  const HandleState* state = Find(manager, true);
  const Computer* computer = state != nullptr ? &estate.computers[state->computer] : nullptr;
  sim_.Record(Operation::kEnumServicesStatus, state != nullptr ? state->host : "", [&] {
    return "type=" + Hex(service_type) + " state=" + std::to_string(service_state) +
           " size=" + std::to_string(buffer_size) + " resume=" + std::to_string(resume_handle);
  });
  if (computer == nullptr) {
    result.status = win::ERROR_INVALID_HANDLE;
    return result;
  }
  sim_.Wait(computer);
  if ((state->access & platform::kScManagerEnumerateService) == 0) {
    result.status = win::ERROR_ACCESS_DENIED;
    return result;
  }
  if ((service_type & (platform::kServiceDriver | platform::kServiceWin32)) == 0 ||
      service_state == 0 || service_state > platform::kServiceStateAll) {
    result.status = win::ERROR_INVALID_PARAMETER;
    return result;
  }
  result.status =
      sim_.Injected(Operation::kEnumServicesStatus, computer->failures, estate.IndexOf(*computer));
  if (result.status != win::ERROR_SUCCESS) return result;

  // Entries are returned while they fit; the rest is counted into
  // bytes_needed and picked up again from the resume handle.
  const ServiceList& services = *computer->services;
  const ListFacts& facts = FactsOf(services);
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
  const Estate& estate = sim_.estate();
  platform::ServiceHandleResult result;
  const HandleState* state = Find(manager, true);
  sim_.Record(Operation::kOpenService, state != nullptr ? state->host : "",
              [&] { return "service=" + std::string(service_name) + " access=" + Hex(access); });
  if (state == nullptr) {
    result.status = win::ERROR_INVALID_HANDLE;
    return result;
  }
  const Computer& computer = estate.computers[state->computer];
  sim_.Wait(&computer);
  if (service_name.empty()) {
    result.status = win::ERROR_INVALID_NAME;
    return result;
  }
  result.status = sim_.Injected(Operation::kOpenService, computer.failures, state->computer);
  if (result.status != win::ERROR_SUCCESS) return result;
  const ServiceList& services = *computer.services;
  const std::uint32_t index = IndexOf(services, service_name);
  if (index == kNoIndex) {
    result.status = win::ERROR_SERVICE_DOES_NOT_EXIST;
    return result;
  }
  result.status = sim_.Injected(Operation::kOpenService, services[index].failures, state->computer);
  if (result.status != win::ERROR_SUCCESS) return result;
  result.handle = Add({state->computer, index, access, state->host});
  return result;
}

const EstateServiceControl::ListFacts& EstateServiceControl::FactsOf(const ServiceList& services) {
  auto [it, created] = list_facts_.try_emplace(&services);
  if (created) {
    ListFacts& facts = it->second;
    for (std::uint32_t i = 0; i < services.size(); ++i) {
      facts.index.emplace(text::ToLower(services[i].name), i);
      facts.status_bytes.push_back(EnumServiceStatusBytes(services[i]));
      facts.config_bytes.push_back(ServiceConfigBytes(services[i]));
    }
  }
  return it->second;
}

std::uint32_t EstateServiceControl::IndexOf(const ServiceList& services, std::string_view name) {
  const ListFacts& facts = FactsOf(services);
  const auto found = facts.index.find(text::ToLower(name));
  return found == facts.index.end() ? kNoIndex : found->second;
}

platform::ServiceConfigResult EstateServiceControl::QueryServiceConfig(
    platform::ServiceHandle service_handle, std::uint32_t buffer_size) {
  const Estate& estate = sim_.estate();
  platform::ServiceConfigResult result;
  const HandleState* state = Find(service_handle, false);
  const Computer* computer = state != nullptr ? &estate.computers[state->computer] : nullptr;
  const Service* service = computer != nullptr ? &(*computer->services)[state->service] : nullptr;
  sim_.Record(Operation::kQueryServiceConfig, state != nullptr ? state->host : "", [&] {
    return "service=" + (service != nullptr ? service->name : std::string()) +
           " size=" + std::to_string(buffer_size);
  });
  if (service == nullptr) {
    result.status = win::ERROR_INVALID_HANDLE;
    return result;
  }
  sim_.Wait(computer);
  if ((state->access & platform::kServiceQueryConfig) == 0) {
    result.status = win::ERROR_ACCESS_DENIED;
    return result;
  }
  result.status =
      sim_.Injected(Operation::kQueryServiceConfig, computer->failures, state->computer);
  if (result.status == win::ERROR_SUCCESS) {
    result.status =
        sim_.Injected(Operation::kQueryServiceConfig, service->failures, state->computer);
  }
  if (result.status != win::ERROR_SUCCESS) return result;
  const std::uint32_t needed = FactsOf(*computer->services).config_bytes[state->service];
  if (buffer_size < needed) {
    result.status = win::ERROR_INSUFFICIENT_BUFFER;
    result.bytes_needed = needed;
    return result;
  }
  result.config = ConfigOf(*service);
  return result;
}

bool EstateServiceControl::CloseServiceHandle(platform::ServiceHandle handle) {
  const auto it = handles_.find(handle);
  sim_.Record(Operation::kCloseServiceHandle, it != handles_.end() ? it->second.host : "",
              [&] { return "handle=" + std::to_string(handle); });
  if (it == handles_.end()) return false;
  handles_.erase(it);
  return true;
}

std::vector<std::string> EstateServiceControl::DescribeOpenHandles() const {
  std::vector<std::pair<platform::ServiceHandle, std::string>> open;
  for (const auto& [handle, state] : handles_) {
    const Computer& computer = sim_.estate().computers[state.computer];
    std::string text = state.service == kNoIndex ? "manager \\\\" + computer.name
                                                 : "service \\\\" + computer.name + "\\" +
                                                       (*computer.services)[state.service].name;
    open.emplace_back(handle, std::move(text));
  }
  std::sort(open.begin(), open.end());
  std::vector<std::string> out;
  out.reserve(open.size());
  for (auto& entry : open) out.push_back(std::move(entry.second));
  return out;
}

}  // namespace tabulon::estate
