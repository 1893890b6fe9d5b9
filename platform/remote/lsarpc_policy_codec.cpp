#include "platform/remote/lsarpc_policy_codec.h"

#include <utility>

#include "platform/remote/codec_support.h"
#include "platform/remote/status_mapping.h"

namespace tabulon::platform::remote::lsarpc {
namespace {

using ndr::NdrReader;
using ndr::NdrWriter;

// LSAPR_POLICY_INFORMATION: the audit log arm holds LARGE_INTEGERs.
constexpr std::size_t kPolicyUnionAlignment = 8;
// [range(0, 1000)] on MaximumAuditEventCount.
constexpr std::uint32_t kMaxAuditEventCount = 1000;

// The NTSTATUS that ends a reply, kept as it is and as a Windows status.
template <class Reply>
void ReadStatus(NdrReader& r, Reply& reply) {
  reply.ntstatus = r.U32();
  reply.status = StatusFromNtStatus(reply.ntstatus);
}

template <class Reply, class ReadArm>
Reply DecodePolicyInformation(std::span<const std::uint8_t> stub,
                              PolicyInformationClass information_class, ReadArm read_arm) {
  NdrReader r(stub);
  Reply reply;
  const bool present =
      ReadInformationUnion(r, static_cast<std::uint16_t>(information_class), kPolicyUnionAlignment,
                           [&r, &reply, &read_arm] { read_arm(r, reply); });
  ReadStatus(r, reply);
  if (reply.status == win::ERROR_SUCCESS && !present) r.Fail();
  return Finish(r, std::move(reply));
}

}  // namespace

std::vector<std::uint8_t> EncodeEnumerateAccountsWithUserRight(const ndr::ContextHandle& policy,
                                                               std::string_view right) {
  NdrWriter w;
  w.Handle(policy);
  w.Pointer(!right.empty(), [&w, right] { w.UnicodeString(right); });
  return w.Take();
}

AccountsWithRightReply DecodeEnumerateAccountsWithUserRight(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  AccountsWithRightReply reply;
  // LSAPR_ACCOUNT_ENUM_BUFFER: the count and a pointer to the SID pointers.
  ReadSidArray(r, reply.accounts);
  ReadStatus(r, reply);
  return Finish(r, std::move(reply));
}

std::vector<std::uint8_t> EncodeLookupPrivilegeDisplayName(const ndr::ContextHandle& policy,
                                                           std::string_view privilege,
                                                           std::uint16_t client_language,
                                                           std::uint16_t system_language) {
  NdrWriter w;
  w.Handle(policy);
  w.Construct([&] { w.UnicodeString(privilege); });
  w.U16(client_language);
  w.U16(system_language);
  return w.Take();
}

PrivilegeDisplayNameReply DecodeLookupPrivilegeDisplayName(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  PrivilegeDisplayNameReply reply;
  const bool present = r.Pointer([&r, &reply] { r.UnicodeString(reply.display_name); });
  reply.language = r.U16();
  ReadStatus(r, reply);
  if (reply.status == win::ERROR_SUCCESS && !present) r.Fail();
  return Finish(r, std::move(reply));
}

std::vector<std::uint8_t> EncodeQueryInformationPolicy(const ndr::ContextHandle& policy,
                                                       PolicyInformationClass information_class) {
  return EncodeInformationQuery(policy, static_cast<std::uint16_t>(information_class));
}

AuditEventsReply DecodeAuditEvents(std::span<const std::uint8_t> stub) {
  return DecodePolicyInformation<AuditEventsReply>(
      stub, PolicyInformationClass::kAuditEvents, [](NdrReader& r, AuditEventsReply& reply) {
        AuditEventsInformation& info = reply.info;
        info.auditing_mode = r.U8() != 0;
        // The options' pointer comes before their count: the referent is
        // read after the count, which it must match.
        const bool present = r.Pointer([&r, &info] {
          const std::uint32_t count = r.ArrayCount(4, 4);
          if (count != info.event_auditing_options.size()) r.Fail();
          for (std::uint32_t& option : info.event_auditing_options) option = r.U32();
        });
        const std::uint32_t count = r.U32();
        if (count > kMaxAuditEventCount || (count != 0 && !present)) r.Fail();
        if (r.ok() && present) info.event_auditing_options.resize(count);
      });
}

PolicyDomainReply DecodePolicyDomain(std::span<const std::uint8_t> stub,
                                     PolicyInformationClass information_class) {
  return DecodePolicyInformation<PolicyDomainReply>(
      stub, information_class, [](NdrReader& r, PolicyDomainReply& reply) {
        r.UnicodeString(reply.name);
        reply.has_sid = r.Pointer([&r, &reply] { ReadSid(r, reply.sid); });
      });
}

}  // namespace tabulon::platform::remote::lsarpc
