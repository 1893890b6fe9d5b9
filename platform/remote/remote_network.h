#pragma once
// Network management over the server (srvsvc), workstation (wkssvc),
// account database (samr) and logon service (netlogon) interfaces. The
// browse list is no RPC interface: it answers ERROR_NOT_SUPPORTED.
#include <string>

#include "platform/netapi.h"
#include "platform/object_security.h"
#include "platform/remote/rpc_transport.h"

namespace tabulon::platform::remote {

class RemoteNetworkManagement final : public NetworkManagement {
 public:
  // `session_host` answers the calls that name no server.
  explicit RemoteNetworkManagement(RpcTransport& transport, std::string_view session_host = {})
      : transport_(transport), session_host_(session_host) {}

  ServerInfoResult NetServerGetInfo101(std::string_view server) override;
  ShareEnumResult NetShareEnum(std::string_view server, std::uint32_t level,
                               std::uint32_t preferred_max_length,
                               std::uint32_t resume_handle) override;
  ShareGetInfoResult NetShareGetInfo0(std::string_view server, std::string_view netname) override;
  // What GetNamedSecurityInfoW does for a share: its descriptor from
  // NetShareGetInfo at level 1501 (a Samba server leaves it out of level
  // 502); absent for administrative shares.
  NamedSecurityInfo ShareSecurity(std::string_view server, std::string_view share);
  ConnectionEnumResult NetConnectionEnum1(std::string_view server, std::string_view qualifier,
                                          std::uint32_t preferred_max_length,
                                          std::uint32_t resume_handle) override;
  SessionEnumResult NetSessionEnum(std::string_view server, std::string_view client_name,
                                   std::string_view user_name, std::uint32_t level,
                                   std::uint32_t preferred_max_length,
                                   std::uint32_t resume_handle) override;
  FileEnumResult NetFileEnum3(std::string_view server, std::string_view base_path,
                              std::string_view user_name, std::uint32_t preferred_max_length,
                              std::uint32_t resume_handle) override;
  ServerDiskEnumResult NetServerDiskEnum0(std::string_view server,
                                          std::uint32_t preferred_max_length) override;
  WkstaTransportEnumResult NetWkstaTransportEnum0(std::string_view server,
                                                  std::uint32_t preferred_max_length,
                                                  std::uint32_t resume_handle) override;
  ServerEnumResult NetServerEnum101(std::string_view domain, std::uint32_t server_type,
                                    std::uint32_t preferred_max_length,
                                    std::uint32_t resume_handle) override;
  DisplayMachinesResult NetQueryDisplayMachines(std::string_view server, std::uint32_t index,
                                                std::uint32_t entries_requested,
                                                std::uint32_t preferred_max_length) override;
  DcNameResult NetGetDCName(std::string_view server, std::string_view domain) override;

 private:
  RpcTransport& transport_;
  const std::string session_host_;
};

// "\\NAME" and "NAME" both name the host NAME.
std::string_view HostOf(std::string_view server);

}  // namespace tabulon::platform::remote
