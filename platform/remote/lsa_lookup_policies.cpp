#include "platform/remote/lsa_lookup_policies.h"

#include "platform/remote/handle_closer.h"
#include "platform/remote/lsarpc_codec.h"
#include "platform/remote/remote_network.h"

namespace tabulon::platform::remote {
namespace {

// Names both ways, and privilege names, which some servers count as local
// information; both are granted to everyone who may connect.
constexpr std::uint32_t kLookupAccess =
    lsarpc::kPolicyLookupNames | lsarpc::kPolicyViewLocalInformation;

}  // namespace

win::Status LookupStatus(win::Status status) {
  return status == win::ERROR_BAD_NETPATH ? win::RPC_S_SERVER_UNAVAILABLE : status;
}

LsaLookupPolicies::~LsaLookupPolicies() {
  HandleCloser closer(transport_);
  for (const auto& [host, handle] : policies_) {
    closer.Close(host, lsarpc::kInterface, lsarpc::kLsarClose, lsarpc::EncodeClose(handle));
  }
}

LookupPolicy LsaLookupPolicies::On(std::string_view system) {
  LookupPolicy policy;
  const std::string_view named = HostOf(system);
  policy.host = named.empty() ? session_host_ : std::string(named);
  if (const auto it = policies_.find(policy.host); it != policies_.end()) {
    policy.handle = it->second;
    return policy;
  }
  const RpcReply reply = transport_.Call(policy.host, lsarpc::kInterface, lsarpc::kLsarOpenPolicy2,
                                         lsarpc::EncodeOpenPolicy2(system, kLookupAccess));
  if (reply.status != win::ERROR_SUCCESS) {
    policy.status = LookupStatus(reply.status);
    return policy;
  }
  const HandleStatusReply opened = DecodeHandleStatusReply(reply.stub);
  policy.status = opened.status;
  if (opened.status == win::ERROR_SUCCESS && opened.handle.IsNull()) {
    policy.status = win::RPC_X_BAD_STUB_DATA;
  }
  if (policy.status != win::ERROR_SUCCESS) return policy;
  policy.handle = opened.handle;
  policies_.emplace(policy.host, opened.handle);
  return policy;
}

}  // namespace tabulon::platform::remote
