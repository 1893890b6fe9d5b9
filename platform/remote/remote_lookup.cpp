#include "platform/remote/remote_lookup.h"

#include <vector>

#include "platform/remote/lsarpc_codec.h"
#include "platform/remote/remote_call.h"

namespace tabulon::platform::remote {
namespace {

bool Mapped(SidNameUse use) {
  return use != SidNameUse::kUnknown && use != SidNameUse::kInvalid && use != SidNameUse::kNone;
}

const lsarpc::ReferencedDomain* DomainAt(const std::vector<lsarpc::ReferencedDomain>& domains,
                                         std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= domains.size()) return nullptr;
  return &domains[static_cast<std::size_t>(index)];
}

}  // namespace

AccountOfSid RemoteAccountLookup::LookupAccountSid(std::string_view system, const Sid& sid) {
  const LookupPolicy policy = policies_.On(system);
  if (policy.status != win::ERROR_SUCCESS) return Failed<AccountOfSid>(policy.status);
  const std::vector<Sid> sids{sid};
  const lsarpc::LookupSidsReply reply = CallAndDecode<lsarpc::LookupSidsReply>(
      transport_, policy.host, lsarpc::kInterface, lsarpc::kLsarLookupSids,
      lsarpc::EncodeLookupSids(policy.handle, sids, lsarpc::kLookupWksta),
      lsarpc::DecodeLookupSids);
  if (reply.status != win::ERROR_SUCCESS) return Failed<AccountOfSid>(LookupStatus(reply.status));
  if (reply.names.size() != 1) return Failed<AccountOfSid>(win::RPC_X_BAD_STUB_DATA);
  const lsarpc::TranslatedName& found = reply.names.front();
  if (!Mapped(found.use)) return Failed<AccountOfSid>(win::ERROR_NONE_MAPPED);
  AccountOfSid result;
  result.use = found.use;
  result.name = found.name;
  if (const auto* domain = DomainAt(reply.domains, found.domain_index)) {
    result.domain = domain->name;
  }
  // A domain's SID names the domain itself.
  if (found.use == SidNameUse::kDomain && result.name.empty()) result.name = result.domain;
  return result;
}

SidOfAccount RemoteAccountLookup::LookupAccountName(std::string_view system,
                                                    std::string_view account,
                                                    std::uint32_t sid_buffer_size) {
  const LookupPolicy policy = policies_.On(system);
  if (policy.status != win::ERROR_SUCCESS) return Failed<SidOfAccount>(policy.status);
  const std::vector<std::string> names{std::string(account)};
  const lsarpc::LookupNamesReply reply = CallAndDecode<lsarpc::LookupNamesReply>(
      transport_, policy.host, lsarpc::kInterface, lsarpc::kLsarLookupNames3,
      lsarpc::EncodeLookupNames3(policy.handle, names, lsarpc::kLookupWksta),
      lsarpc::DecodeLookupNames3);
  if (reply.status != win::ERROR_SUCCESS) return Failed<SidOfAccount>(LookupStatus(reply.status));
  if (reply.sids.size() != 1) return Failed<SidOfAccount>(win::RPC_X_BAD_STUB_DATA);
  const lsarpc::TranslatedSid& found = reply.sids.front();
  if (!Mapped(found.use)) return Failed<SidOfAccount>(win::ERROR_NONE_MAPPED);
  if (!found.has_sid) return Failed<SidOfAccount>(win::RPC_X_BAD_STUB_DATA);
  SidOfAccount result;
  if (sid_buffer_size < found.sid.ByteSize()) {
    result.status = win::ERROR_INSUFFICIENT_BUFFER;
    result.required_sid_size = found.sid.ByteSize();
    return result;
  }
  result.sid = found.sid;
  result.use = found.use;
  if (const auto* domain = DomainAt(reply.domains, found.domain_index)) {
    result.domain = domain->name;
  }
  return result;
}

}  // namespace tabulon::platform::remote
