#include "platform/remote/samr_domain_codec.h"

#include <limits>
#include <utility>

#include "platform/remote/codec_support.h"

namespace tabulon::platform::remote::samr {
namespace {

using ndr::NdrReader;

// SAMPR_DOMAIN_INFO_BUFFER: the lockout arms hold LARGE_INTEGERs.
constexpr std::size_t kDomainUnionAlignment = 8;
constexpr std::int64_t kTicksPerSecond = 10000000;

// The union of `information_class` read by `read_arm`, then the NTSTATUS.
template <class Reply, class ReadArm>
Reply DecodeDomainInformation(std::span<const std::uint8_t> stub,
                              DomainInformationClass information_class, ReadArm read_arm) {
  NdrReader r(stub);
  Reply reply;
  const bool present =
      ReadInformationUnion(r, static_cast<std::uint16_t>(information_class), kDomainUnionAlignment,
                           [&r, &reply, &read_arm] { read_arm(r, reply); });
  reply.status = ReadNtStatus(r);
  if (reply.status == win::ERROR_SUCCESS && !present) r.Fail();
  return Finish(r, std::move(reply));
}

}  // namespace

std::vector<std::uint8_t> EncodeQueryDomainInformation2(const ndr::ContextHandle& domain,
                                                        DomainInformationClass information_class) {
  return EncodeInformationQuery(domain, static_cast<std::uint16_t>(information_class));
}

DomainPasswordReply DecodeDomainPassword(std::span<const std::uint8_t> stub) {
  return DecodeDomainInformation<DomainPasswordReply>(
      stub, DomainInformationClass::kPassword, [](NdrReader& r, DomainPasswordReply& reply) {
        reply.info.min_password_length = r.U16();
        reply.info.password_history_length = r.U16();
        reply.info.password_properties = r.U32();
        reply.info.max_password_age = ReadOldLargeInteger(r);
        reply.info.min_password_age = ReadOldLargeInteger(r);
      });
}

DomainLogoffReply DecodeDomainLogoff(std::span<const std::uint8_t> stub) {
  return DecodeDomainInformation<DomainLogoffReply>(
      stub, DomainInformationClass::kLogoff,
      [](NdrReader& r, DomainLogoffReply& reply) { reply.force_logoff = ReadOldLargeInteger(r); });
}

DomainLockoutReply DecodeDomainLockout(std::span<const std::uint8_t> stub) {
  return DecodeDomainInformation<DomainLockoutReply>(
      stub, DomainInformationClass::kLockout, [](NdrReader& r, DomainLockoutReply& reply) {
        reply.info.lockout_duration = ReadLargeInteger(r);
        reply.info.lockout_observation_window = ReadLargeInteger(r);
        reply.info.lockout_threshold = r.U16();
      });
}

std::uint32_t NetSecondsOfInterval(std::int64_t interval) {
  if (interval == std::numeric_limits<std::int64_t>::min()) return kTimeqForever;
  const std::int64_t seconds = (interval < 0 ? -interval : interval) / kTicksPerSecond;
  if (seconds >= static_cast<std::int64_t>(kTimeqForever)) return kTimeqForever;
  return static_cast<std::uint32_t>(seconds);
}

}  // namespace tabulon::platform::remote::samr
