#include "platform/remote/remote_network.h"

#include "platform/remote/remote_account_database.h"
#include "platform/remote/remote_call.h"
#include "platform/remote/remote_domain_controllers.h"
#include "platform/remote/srvsvc_codec.h"
#include "platform/remote/wkssvc_codec.h"

namespace tabulon::platform::remote {
namespace {

// One call to the host `server` names.
template <typename Result, typename Decode>
Result Call(RpcTransport& transport, std::string_view server, const RpcInterface& iface,
            std::uint16_t opnum, const std::vector<std::uint8_t>& request, Decode decode) {
  return CallAndDecode<Result>(transport, HostOf(server), iface, opnum, request, decode);
}

}  // namespace

std::string_view HostOf(std::string_view server) {
  while (server.starts_with('\\')) server.remove_prefix(1);
  return server;
}

ServerInfoResult RemoteNetworkManagement::NetServerGetInfo101(std::string_view server) {
  return Call<ServerInfoResult>(transport_, server, srvsvc::kInterface, srvsvc::kNetrServerGetInfo,
                                srvsvc::EncodeServerGetInfo(server, 101),
                                srvsvc::DecodeServerGetInfo101);
}

ShareEnumResult RemoteNetworkManagement::NetShareEnum(std::string_view server, std::uint32_t level,
                                                      std::uint32_t preferred_max_length,
                                                      std::uint32_t resume_handle) {
  if (level != 1 && level != 502) return {win::ERROR_INVALID_LEVEL, {}, 0, 0};
  return Call<ShareEnumResult>(
      transport_, server, srvsvc::kInterface, srvsvc::kNetrShareEnum,
      srvsvc::EncodeShareEnum(server, level, preferred_max_length, resume_handle),
      [level](std::span<const std::uint8_t> stub) { return srvsvc::DecodeShareEnum(stub, level); });
}

ShareGetInfoResult RemoteNetworkManagement::NetShareGetInfo0(std::string_view server,
                                                             std::string_view netname) {
  return Call<ShareGetInfoResult>(transport_, server, srvsvc::kInterface, srvsvc::kNetrShareGetInfo,
                                  srvsvc::EncodeShareGetInfo(server, netname, 0),
                                  srvsvc::DecodeShareGetInfo0);
}

NamedSecurityInfo RemoteNetworkManagement::ShareSecurity(std::string_view server,
                                                         std::string_view share) {
  const DescriptorReply reply = Call<DescriptorReply>(
      transport_, server, srvsvc::kInterface, srvsvc::kNetrShareGetInfo,
      srvsvc::EncodeShareGetInfo(server, share, 1501), srvsvc::DecodeShareGetInfo1501);
  return {reply.status, reply.descriptor};
}

ConnectionEnumResult RemoteNetworkManagement::NetConnectionEnum1(std::string_view server,
                                                                 std::string_view qualifier,
                                                                 std::uint32_t preferred_max_length,
                                                                 std::uint32_t resume_handle) {
  return Call<ConnectionEnumResult>(
      transport_, server, srvsvc::kInterface, srvsvc::kNetrConnectionEnum,
      srvsvc::EncodeConnectionEnum(server, qualifier, 1, preferred_max_length, resume_handle),
      srvsvc::DecodeConnectionEnum1);
}

SessionEnumResult RemoteNetworkManagement::NetSessionEnum(
    std::string_view server, std::string_view client_name, std::string_view user_name,
    std::uint32_t level, std::uint32_t preferred_max_length, std::uint32_t resume_handle) {
  if (level != 1 && level != 502) return {win::ERROR_INVALID_LEVEL, {}, 0, 0};
  return Call<SessionEnumResult>(transport_, server, srvsvc::kInterface, srvsvc::kNetrSessionEnum,
                                 srvsvc::EncodeSessionEnum(server, client_name, user_name, level,
                                                           preferred_max_length, resume_handle),
                                 [level](std::span<const std::uint8_t> stub) {
                                   return srvsvc::DecodeSessionEnum(stub, level);
                                 });
}

FileEnumResult RemoteNetworkManagement::NetFileEnum3(std::string_view server,
                                                     std::string_view base_path,
                                                     std::string_view user_name,
                                                     std::uint32_t preferred_max_length,
                                                     std::uint32_t resume_handle) {
  return Call<FileEnumResult>(
      transport_, server, srvsvc::kInterface, srvsvc::kNetrFileEnum,
      srvsvc::EncodeFileEnum(server, base_path, user_name, 3, preferred_max_length, resume_handle),
      srvsvc::DecodeFileEnum3);
}

ServerDiskEnumResult RemoteNetworkManagement::NetServerDiskEnum0(
    std::string_view server, std::uint32_t preferred_max_length) {
  return Call<ServerDiskEnumResult>(
      transport_, server, srvsvc::kInterface, srvsvc::kNetrServerDiskEnum,
      srvsvc::EncodeServerDiskEnum(server, 0, preferred_max_length, 0),
      srvsvc::DecodeServerDiskEnum0);
}

WkstaTransportEnumResult RemoteNetworkManagement::NetWkstaTransportEnum0(
    std::string_view server, std::uint32_t preferred_max_length, std::uint32_t resume_handle) {
  return Call<WkstaTransportEnumResult>(
      transport_, server, wkssvc::kInterface, wkssvc::kNetrWkstaTransportEnum,
      wkssvc::EncodeWkstaTransportEnum(server, 0, preferred_max_length, resume_handle),
      wkssvc::DecodeWkstaTransportEnum0);
}

// The browse list is kept by the computer browser and read with the
// LAN Manager remote administration protocol, not over DCE/RPC.
ServerEnumResult RemoteNetworkManagement::NetServerEnum101(std::string_view, std::uint32_t,
                                                           std::uint32_t, std::uint32_t) {
  return {win::ERROR_NOT_SUPPORTED, {}, 0, 0};
}

DisplayMachinesResult RemoteNetworkManagement::NetQueryDisplayMachines(
    std::string_view server, std::uint32_t index, std::uint32_t entries_requested,
    std::uint32_t preferred_max_length) {
  const std::string_view host = HostOf(server);
  return QueryDisplayMachines(transport_, host.empty() ? session_host_ : host, server, index,
                              entries_requested, preferred_max_length);
}

DcNameResult RemoteNetworkManagement::NetGetDCName(std::string_view server,
                                                   std::string_view domain) {
  const std::string_view host = HostOf(server);
  return GetDcName(transport_, host.empty() ? session_host_ : host, server, domain);
}

}  // namespace tabulon::platform::remote
