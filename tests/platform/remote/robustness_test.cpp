// Hostile stubs: every decoder meets truncated, bit-flipped and random
// stubs and answers with a status, never a crash or a huge allocation.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

#include "platform/remote/lsarpc_codec.h"
#include "platform/remote/lsarpc_policy_codec.h"
#include "platform/remote/ndr/ndr_reader.h"
#include "platform/remote/netlogon_codec.h"
#include "platform/remote/sample_stubs.h"
#include "platform/remote/samr_codec.h"
#include "platform/remote/samr_domain_codec.h"
#include "platform/remote/samr_group_codec.h"
#include "platform/remote/samr_user_codec.h"
#include "platform/remote/spoolss_codec.h"
#include "platform/remote/spoolss_stubs.h"
#include "platform/remote/srvsvc_codec.h"
#include "platform/remote/svcctl_codec.h"
#include "platform/remote/winreg_codec.h"
#include "platform/remote/winreg_stubs.h"
#include "platform/remote/wkssvc_codec.h"

namespace tabulon::platform::remote {
namespace {

using Stub = std::vector<std::uint8_t>;
using Span = std::span<const std::uint8_t>;

struct DecoderCase {
  const char* name;
  std::function<win::Status(Span)> decode;
  Stub valid;
  win::Status valid_status;
};

std::vector<DecoderCase> Decoders() {
  using namespace testing;
  return {
      {"server info", [](Span s) { return srvsvc::DecodeServerGetInfo101(s).status; },
       ServerInfo101Reply(), win::ERROR_SUCCESS},
      {"shares 502", [](Span s) { return srvsvc::DecodeShareEnum(s, 502).status; },
       ShareEnum502Reply(), win::ERROR_MORE_DATA},
      {"shares 1", [](Span s) { return srvsvc::DecodeShareEnum(s, 1).status; },
       ShareEnum1EmptyReply(), win::ERROR_SUCCESS},
      {"share info", [](Span s) { return srvsvc::DecodeShareGetInfo0(s).status; },
       ShareGetInfo0Reply(), win::ERROR_SUCCESS},
      {"connections", [](Span s) { return srvsvc::DecodeConnectionEnum1(s).status; },
       ConnectionEnum1Reply(), win::ERROR_SUCCESS},
      {"sessions", [](Span s) { return srvsvc::DecodeSessionEnum(s, 502).status; },
       SessionEnum502Reply(), win::ERROR_SUCCESS},
      {"files", [](Span s) { return srvsvc::DecodeFileEnum3(s).status; }, FileEnum3Reply(),
       win::ERROR_SUCCESS},
      {"disks", [](Span s) { return srvsvc::DecodeServerDiskEnum0(s).status; }, DiskEnum0Reply(),
       win::ERROR_SUCCESS},
      {"transports", [](Span s) { return wkssvc::DecodeWkstaTransportEnum0(s).status; },
       TransportEnum0Reply(), win::ERROR_SUCCESS},
      {"sids", [](Span s) { return lsarpc::DecodeLookupSids(s).status; }, LookupSidsReply(),
       win::ERROR_SUCCESS},
      {"names", [](Span s) { return lsarpc::DecodeLookupNames3(s).status; }, LookupNames3Reply(),
       win::ERROR_SUCCESS},
      {"domains", [](Span s) { return DecodeRidEnumeration(s).status; }, EnumerateDomainsReply(),
       win::ERROR_SUCCESS},
      {"domain sid", [](Span s) { return samr::DecodeLookupDomain(s).status; }, LookupDomainReply(),
       win::ERROR_SUCCESS},
      {"machines", [](Span s) { return samr::DecodeQueryDisplayMachines(s).status; },
       DisplayMachinesReply(), win::ERROR_MORE_DATA},
      {"display users", [](Span s) { return samr::DecodeQueryDisplayUsers(s).status; },
       DisplayUsersReply(), win::ERROR_SUCCESS},
      {"rids", [](Span s) { return samr::DecodeLookupIds(s).status; }, LookupIdsReply(),
       win::ERROR_SUCCESS},
      {"user", [](Span s) { return samr::DecodeQueryUserAllInformation(s).status; }, UserAllReply(),
       win::ERROR_SUCCESS},
      {"user groups", [](Span s) { return samr::DecodeGetGroupsForUser(s).status; },
       GroupsForUserReply(), win::ERROR_SUCCESS},
      {"user aliases", [](Span s) { return samr::DecodeGetAliasMembership(s).status; },
       AliasMembershipReply(), win::ERROR_SUCCESS},
      {"group", [](Span s) { return samr::DecodeQueryGroupGeneral(s).status; }, GroupGeneralReply(),
       win::ERROR_SUCCESS},
      {"alias", [](Span s) { return samr::DecodeQueryAliasGeneral(s).status; }, AliasGeneralReply(),
       win::ERROR_SUCCESS},
      {"group members", [](Span s) { return samr::DecodeGetMembersInGroup(s).status; },
       GroupMembersReply(), win::ERROR_SUCCESS},
      {"alias members", [](Span s) { return samr::DecodeGetMembersInAlias(s).status; },
       AliasMembersReply(), win::ERROR_SUCCESS},
      {"password policy", [](Span s) { return samr::DecodeDomainPassword(s).status; },
       DomainPasswordReply(), win::ERROR_SUCCESS},
      {"logoff policy", [](Span s) { return samr::DecodeDomainLogoff(s).status; },
       DomainLogoffReply(), win::ERROR_SUCCESS},
      {"lockout policy", [](Span s) { return samr::DecodeDomainLockout(s).status; },
       DomainLockoutReply(), win::ERROR_SUCCESS},
      {"right holders",
       [](Span s) { return lsarpc::DecodeEnumerateAccountsWithUserRight(s).status; },
       AccountsWithRightReply(), win::ERROR_SUCCESS},
      {"privilege name", [](Span s) { return lsarpc::DecodeLookupPrivilegeDisplayName(s).status; },
       PrivilegeDisplayNameReply(), win::ERROR_SUCCESS},
      {"audit events", [](Span s) { return lsarpc::DecodeAuditEvents(s).status; },
       AuditEventsReply(), win::ERROR_SUCCESS},
      {"policy domain",
       [](Span s) {
         return lsarpc::DecodePolicyDomain(s, lsarpc::PolicyInformationClass::kAccountDomain)
             .status;
       },
       AccountDomainReply(), win::ERROR_SUCCESS},
      {"dc name", [](Span s) { return netlogon::DecodeGetDcName(s).status; }, GetDcNameReply(),
       win::ERROR_SUCCESS},
      {"dc info", [](Span s) { return netlogon::DecodeGetDcNameEx2(s).status; },
       GetDcNameEx2Reply(), win::ERROR_SUCCESS},
      {"open", [](Span s) { return svcctl::DecodeOpenReply(s).status; }, OpenReply(),
       win::ERROR_SUCCESS},
      {"services", [](Span s) { return svcctl::DecodeEnumServicesStatus(s).status; },
       EnumServicesMoreDataReply(), win::ERROR_MORE_DATA},
      {"config", [](Span s) { return svcctl::DecodeQueryServiceConfig(s).status; },
       ServiceConfigReply(), win::ERROR_SUCCESS},
      {"close", [](Span s) { return svcctl::DecodeCloseServiceHandle(s); }, CloseReply(),
       win::ERROR_SUCCESS},
      {"printers", [](Span s) { return spoolss::DecodeEnumPrinters(s).status; },
       EnumPrinters2Reply(PrinterEnum2Buffer()), win::ERROR_SUCCESS},
      {"printers sizing", [](Span s) { return spoolss::DecodeEnumPrinters(s).status; },
       EnumPrintersTooSmallReply(), win::ERROR_INSUFFICIENT_BUFFER},
      {"printer", [](Span s) { return spoolss::DecodeGetPrinter(s).status; }, GetPrinter2Reply(),
       win::ERROR_SUCCESS},
      {"open printer", [](Span s) { return spoolss::DecodeOpenPrinter(s).status; }, OpenReply(),
       win::ERROR_SUCCESS},
      {"close printer", [](Span s) { return spoolss::DecodeClosePrinter(s); }, CloseReply(),
       win::ERROR_SUCCESS},
      {"registry key", [](Span s) { return winreg::DecodeHandleReply(s).status; }, OpenReply(),
       win::ERROR_SUCCESS},
      {"registry value", [](Span s) { return winreg::DecodeQueryValue(s).status; },
       RegQueryValueMoreDataReply(), win::ERROR_MORE_DATA},
      {"registry subkey", [](Span s) { return winreg::DecodeEnumKey(s).status; }, RegEnumKeyReply(),
       win::ERROR_SUCCESS},
      {"registry values", [](Span s) { return winreg::DecodeEnumValue(s).status; },
       RegEnumValueReply(), win::ERROR_SUCCESS},
      {"registry key info", [](Span s) { return winreg::DecodeQueryInfoKey(s).status; },
       RegQueryInfoKeyReply(), win::ERROR_SUCCESS},
  };
}

TEST(StubRobustness, TruncatedStubsFailAsBadStubData) {
  for (const auto& d : Decoders()) {
    SCOPED_TRACE(d.name);
    ASSERT_EQ(d.decode(d.valid), d.valid_status);
    for (std::size_t size = 0; size < d.valid.size(); ++size) {
      EXPECT_EQ(d.decode(Span(d.valid.data(), size)), win::RPC_X_BAD_STUB_DATA) << size;
    }
  }
}

// Under the sanitizer build this is where an unchecked read would show.
TEST(StubRobustness, FlippedBitsAndRandomStubsNeverCrash) {
  std::mt19937 random(8);
  for (const auto& d : Decoders()) {
    SCOPED_TRACE(d.name);
    for (std::size_t bit = 0; bit < d.valid.size() * 8; ++bit) {
      Stub flipped = d.valid;
      flipped[bit / 8] ^= static_cast<std::uint8_t>(1u << (bit % 8));
      d.decode(flipped);
    }
    for (int i = 0; i < 300; ++i) {
      Stub noise(random() % 200);
      for (auto& b : noise) b = static_cast<std::uint8_t>(random());
      // Small counts and ids are likelier to reach deep into a decoder.
      if (i % 2 == 0) {
        for (auto& b : noise) b &= 0x07;
      }
      d.decode(noise);
    }
  }
}

// A count far beyond the stub fails before anything is allocated for it,
// and so does one within the stub but beyond the allocation bound.
TEST(StubRobustness, CountsAreCheckedBeforeAllocating) {
  // clang-format off
  const Stub huge = testing::Stub()
      .U32(1).U32(1).U32(0x20000)    // level 1, container
      .U32(0x10000000).U32(0x20004)  // 268 million entries claimed
      .U32(0x10000000)
      .bytes();
  // clang-format on
  EXPECT_EQ(srvsvc::DecodeShareEnum(huge, 1).status, win::RPC_X_BAD_STUB_DATA);

  const Stub bytes = testing::Stub().U32(64).Raw(Stub(64, 0)).bytes();
  ndr::NdrReader bounded(bytes, ndr::NdrLimits{.max_depth = 4, .max_allocation = 32});
  EXPECT_TRUE(bounded.ConformantBytes().empty());
  EXPECT_EQ(bounded.status(), win::RPC_X_BAD_STUB_DATA);
}

}  // namespace
}  // namespace tabulon::platform::remote
