#include "platform/remote/remote_service_control.h"

#include <algorithm>
#include <vector>

#include "platform/remote/remote_call.h"
#include "platform/remote/remote_network.h"
#include "platform/remote/svcctl_codec.h"

namespace tabulon::platform::remote {

RemoteServiceControl::~RemoteServiceControl() {
  std::vector<ServiceHandle> open;
  for (const auto& [number, host] : hosts_) open.push_back(number);
  // Services before their managers: they were opened later.
  std::sort(open.rbegin(), open.rend());
  for (ServiceHandle number : open) CloseServiceHandle(number);
}

RemoteServiceControl::Opened RemoteServiceControl::Find(ServiceHandle number) const {
  const auto host = hosts_.find(number);
  if (host == hosts_.end()) return {};
  return {host->second, handles_.Find(number)};
}

ServiceHandleResult RemoteServiceControl::Keep(std::string host, const RpcReply& reply) {
  if (reply.status != win::ERROR_SUCCESS) return {reply.status, 0};
  const svcctl::HandleReply opened = svcctl::DecodeOpenReply(reply.stub);
  if (opened.status != win::ERROR_SUCCESS) return {opened.status, 0};
  const ServiceHandle number = handles_.Add(opened.handle);
  if (number != 0) hosts_.emplace(number, std::move(host));
  return {win::ERROR_SUCCESS, number};
}

ServiceHandleResult RemoteServiceControl::OpenSCManager(std::string_view machine,
                                                        std::uint32_t access) {
  const std::string host(HostOf(machine));
  const RpcReply reply = transport_.Call(host, svcctl::kInterface, svcctl::kROpenSCManagerW,
                                         svcctl::EncodeOpenSCManager(machine, access));
  return Keep(host, reply);
}

EnumServicesResult RemoteServiceControl::EnumServicesStatus(ServiceHandle manager,
                                                            std::uint32_t service_type,
                                                            std::uint32_t service_state,
                                                            std::uint32_t buffer_size,
                                                            std::uint32_t resume_handle) {
  const Opened opened = Find(manager);
  if (opened.handle == nullptr) return Failed<EnumServicesResult>(win::ERROR_INVALID_HANDLE);
  return CallAndDecode<EnumServicesResult>(
      transport_, opened.host, svcctl::kInterface, svcctl::kREnumServicesStatusW,
      svcctl::EncodeEnumServicesStatus(*opened.handle, service_type, service_state,
                                       std::min(buffer_size, svcctl::kMaxEnumBufferSize),
                                       resume_handle),
      svcctl::DecodeEnumServicesStatus);
}

ServiceHandleResult RemoteServiceControl::OpenService(ServiceHandle manager,
                                                      std::string_view service_name,
                                                      std::uint32_t access) {
  const Opened opened = Find(manager);
  if (opened.handle == nullptr) return {win::ERROR_INVALID_HANDLE, 0};
  const RpcReply reply =
      transport_.Call(opened.host, svcctl::kInterface, svcctl::kROpenServiceW,
                      svcctl::EncodeOpenService(*opened.handle, service_name, access));
  return Keep(opened.host, reply);
}

ServiceConfigResult RemoteServiceControl::QueryServiceConfig(ServiceHandle service,
                                                             std::uint32_t buffer_size) {
  const Opened opened = Find(service);
  if (opened.handle == nullptr) return Failed<ServiceConfigResult>(win::ERROR_INVALID_HANDLE);
  return CallAndDecode<ServiceConfigResult>(
      transport_, opened.host, svcctl::kInterface, svcctl::kRQueryServiceConfigW,
      svcctl::EncodeQueryServiceConfig(*opened.handle,
                                       std::min(buffer_size, svcctl::kMaxConfigBufferSize)),
      svcctl::DecodeQueryServiceConfig);
}

bool RemoteServiceControl::CloseServiceHandle(ServiceHandle handle) {
  const Opened opened = Find(handle);
  if (opened.handle == nullptr) return false;
  // The handle is gone from the session whatever the server answers.
  const RpcReply reply =
      transport_.Call(opened.host, svcctl::kInterface, svcctl::kRCloseServiceHandle,
                      svcctl::EncodeCloseServiceHandle(*opened.handle));
  handles_.Remove(handle);
  hosts_.erase(handle);
  return reply.status == win::ERROR_SUCCESS &&
         svcctl::DecodeCloseServiceHandle(reply.stub) == win::ERROR_SUCCESS;
}

NamedSecurityInfo RemoteServiceControl::ServiceSecurity(std::string_view machine,
                                                        std::string_view service,
                                                        std::uint32_t information) {
  constexpr std::uint32_t kScManagerConnect = 0x0001;
  constexpr std::uint32_t kReadControl = 0x00020000;
  const ServiceHandleResult manager = OpenSCManager(machine, kScManagerConnect);
  if (manager.status != win::ERROR_SUCCESS) return {manager.status, {}};
  const ServiceHandleResult opened = OpenService(manager.handle, service, kReadControl);
  NamedSecurityInfo info{opened.status, {}};
  if (opened.status == win::ERROR_SUCCESS) {
    const Opened found = Find(opened.handle);
    info = AskDescriptor(information, [&](std::uint32_t size) {
      return CallAndDecode<DescriptorReply>(
          transport_, found.host, svcctl::kInterface, svcctl::kRQueryServiceObjectSecurity,
          svcctl::EncodeQueryServiceObjectSecurity(*found.handle, information, size),
          svcctl::DecodeQueryServiceObjectSecurity);
    });
    CloseServiceHandle(opened.handle);
  }
  CloseServiceHandle(manager.handle);
  return info;
}

}  // namespace tabulon::platform::remote
