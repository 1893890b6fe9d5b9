#include "platform/remote/remote_lsa_policy.h"

#include "platform/remote/handle_closer.h"
#include "platform/remote/lsarpc_codec.h"
#include "platform/remote/lsarpc_policy_codec.h"
#include "platform/remote/remote_call.h"
#include "platform/remote/remote_network.h"
#include "platform/sizes.h"

namespace tabulon::platform::remote {
namespace {

// The languages a privilege's display name is asked in: the program has no
// Windows locale of its own to offer.
constexpr std::uint16_t kEnglishUs = 0x409;

// The LSA functions report a failure of the call itself (the server out of
// reach, a malformed reply) as the NTSTATUS of its Windows error.
nt::Status CallStatus(win::Status status) {
  return nt::FromWinError(LookupStatus(status));
}

// A decoded reply's NTSTATUS as the server sent it, or its call's failure.
template <typename Reply>
nt::Status NtStatusOf(const Reply& reply) {
  if (reply.ntstatus != 0 || reply.status == win::ERROR_SUCCESS) return reply.ntstatus;
  return CallStatus(reply.status);
}

}  // namespace

RemoteLsaPolicy::~RemoteLsaPolicy() {
  HandleCloser closer(transport_);
  for (const auto& [number, policy] : policies_) {
    closer.Close(policy.host, lsarpc::kInterface, lsarpc::kLsarClose,
                 lsarpc::EncodeClose(policy.handle));
  }
}

RpcReply RemoteLsaPolicy::Call(const OpenPolicyHandle& policy, std::uint16_t opnum,
                               const std::vector<std::uint8_t>& request) {
  return transport_.Call(policy.host, lsarpc::kInterface, opnum, request);
}

LsaOpenResult RemoteLsaPolicy::OpenPolicy(std::string_view system, std::uint32_t access) {
  const std::string_view named = HostOf(system);
  OpenPolicyHandle policy{named.empty() ? session_host_ : std::string(named), {}};
  const HandleStatusReply opened = CallAndDecode<HandleStatusReply>(
      transport_, policy.host, lsarpc::kInterface, lsarpc::kLsarOpenPolicy2,
      lsarpc::EncodeOpenPolicy2(system, access), DecodeHandleStatusReply);
  LsaOpenResult result;
  result.status = CallStatus(opened.status);
  if (result.status == nt::STATUS_SUCCESS && opened.handle.IsNull()) {
    result.status = CallStatus(win::RPC_X_BAD_STUB_DATA);
  }
  if (result.status != nt::STATUS_SUCCESS) return result;
  policy.handle = opened.handle;
  result.handle = next_++;
  policies_.emplace(result.handle, std::move(policy));
  return result;
}

nt::Status RemoteLsaPolicy::Close(LsaHandle number) {
  const auto it = policies_.find(number);
  if (it == policies_.end()) return nt::STATUS_INVALID_HANDLE;
  const HandleStatusReply closed = CallAndDecode<HandleStatusReply>(
      transport_, it->second.host, lsarpc::kInterface, lsarpc::kLsarClose,
      lsarpc::EncodeClose(it->second.handle), DecodeHandleStatusReply);
  policies_.erase(it);
  return CallStatus(closed.status);
}

AccountsWithRightResult RemoteLsaPolicy::EnumerateAccountsWithUserRight(LsaHandle number,
                                                                        std::string_view right) {
  AccountsWithRightResult result;
  const auto it = policies_.find(number);
  if (it == policies_.end()) {
    result.status = nt::STATUS_INVALID_HANDLE;
    return result;
  }
  const RpcReply reply =
      Call(it->second, lsarpc::kLsarEnumerateAccountsWithUserRight,
           lsarpc::EncodeEnumerateAccountsWithUserRight(it->second.handle, right));
  if (reply.status != win::ERROR_SUCCESS) {
    result.status = CallStatus(reply.status);
    return result;
  }
  lsarpc::AccountsWithRightReply accounts =
      lsarpc::DecodeEnumerateAccountsWithUserRight(reply.stub);
  result.status = NtStatusOf(accounts);
  if (result.status == nt::STATUS_SUCCESS) result.sids = std::move(accounts.accounts);
  return result;
}

AuditEventsResult RemoteLsaPolicy::QueryAuditEvents(LsaHandle number,
                                                    std::uint32_t information_class) {
  AuditEventsResult result;
  const auto it = policies_.find(number);
  if (it == policies_.end()) {
    result.status = nt::STATUS_INVALID_HANDLE;
    return result;
  }
  if (information_class != kPolicyAuditEventsInformation) {
    result.status = nt::STATUS_INVALID_INFO_CLASS;
    return result;
  }
  const RpcReply reply = Call(it->second, lsarpc::kLsarQueryInformationPolicy,
                              lsarpc::EncodeQueryInformationPolicy(
                                  it->second.handle, lsarpc::PolicyInformationClass::kAuditEvents));
  if (reply.status != win::ERROR_SUCCESS) {
    result.status = CallStatus(reply.status);
    return result;
  }
  lsarpc::AuditEventsReply audit = lsarpc::DecodeAuditEvents(reply.stub);
  result.status = NtStatusOf(audit);
  if (result.status != nt::STATUS_SUCCESS) return result;
  result.info.auditing_mode = audit.info.auditing_mode;
  result.info.event_auditing_options = std::move(audit.info.event_auditing_options);
  return result;
}

PrivilegeDisplayNameResult RemoteLsaPolicy::LookupPrivilegeDisplayName(std::string_view system,
                                                                       std::string_view name,
                                                                       std::uint32_t buffer_chars) {
  PrivilegeDisplayNameResult result;
  const LookupPolicy policy = lookups_.On(system);
  if (policy.status != win::ERROR_SUCCESS) {
    result.status = policy.status;
    return result;
  }
  const RpcReply reply = transport_.Call(
      policy.host, lsarpc::kInterface, lsarpc::kLsarLookupPrivilegeDisplayName,
      lsarpc::EncodeLookupPrivilegeDisplayName(policy.handle, name, kEnglishUs, kEnglishUs));
  if (reply.status != win::ERROR_SUCCESS) {
    lookups_.Forget(policy.host);
    result.status = LookupStatus(reply.status);
    return result;
  }
  const lsarpc::PrivilegeDisplayNameReply found =
      lsarpc::DecodeLookupPrivilegeDisplayName(reply.stub);
  // A logon right is no privilege: STATUS_NO_SUCH_PRIVILEGE.
  result.status = found.ntstatus != 0 ? nt::LsaNtStatusToWinError(found.ntstatus) : found.status;
  if (result.status != win::ERROR_SUCCESS) return result;
  // Characters with the terminator.
  const std::uint32_t needed = WideStringBytes(found.display_name) / 2;
  if (buffer_chars < needed) {
    result.status = win::ERROR_INSUFFICIENT_BUFFER;
    result.required_chars = needed;
    return result;
  }
  result.display_name = found.display_name;
  result.language_id = found.language;
  return result;
}

}  // namespace tabulon::platform::remote
