#pragma once
// The service control manager over the svcctl interface. Context handles
// stay in the session under ServiceHandle numbers; those its user leaves
// open are closed on the server when the session ends.
#include <map>
#include <string>

#include "platform/object_security.h"
#include "platform/remote/rpc_transport.h"
#include "platform/remote/service_handle_table.h"
#include "platform/service_control.h"

namespace tabulon::platform::remote {

class RemoteServiceControl final : public ServiceControl {
 public:
  explicit RemoteServiceControl(RpcTransport& transport) : transport_(transport) {}
  ~RemoteServiceControl() override;
  RemoteServiceControl(const RemoteServiceControl&) = delete;
  RemoteServiceControl& operator=(const RemoteServiceControl&) = delete;

  ServiceHandleResult OpenSCManager(std::string_view machine, std::uint32_t access) override;
  EnumServicesResult EnumServicesStatus(ServiceHandle manager, std::uint32_t service_type,
                                        std::uint32_t service_state, std::uint32_t buffer_size,
                                        std::uint32_t resume_handle) override;
  ServiceHandleResult OpenService(ServiceHandle manager, std::string_view service_name,
                                  std::uint32_t access) override;
  ServiceConfigResult QueryServiceConfig(ServiceHandle service, std::uint32_t buffer_size) override;
  bool CloseServiceHandle(ServiceHandle handle) override;

  // What GetNamedSecurityInfoW does for a service: the manager opened to
  // connect, the service for READ_CONTROL, QueryServiceObjectSecurity, both
  // closed again.
  NamedSecurityInfo ServiceSecurity(std::string_view machine, std::string_view service,
                                    std::uint32_t information);

 private:
  // The server a handle was opened on, with the handle itself.
  struct Opened {
    std::string host;
    const ndr::ContextHandle* handle = nullptr;
  };
  Opened Find(ServiceHandle number) const;
  ServiceHandleResult Keep(std::string host, const RpcReply& reply);

  RpcTransport& transport_;
  ServiceHandleTable handles_;
  std::map<ServiceHandle, std::string> hosts_;
};

}  // namespace tabulon::platform::remote
