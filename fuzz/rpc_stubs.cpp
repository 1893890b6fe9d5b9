// The decoders of the remote interfaces meet response stubs from servers
// that may be hostile, and files' descriptor texts come from them too. The
// first byte picks the decoder, the rest is the stub or text.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/remote/lsarpc_codec.h"
#include "platform/remote/lsarpc_policy_codec.h"
#include "platform/remote/netlogon_codec.h"
#include "platform/remote/samr_codec.h"
#include "platform/remote/samr_domain_codec.h"
#include "platform/remote/samr_group_codec.h"
#include "platform/remote/samr_user_codec.h"
#include "platform/remote/security_text.h"
#include "platform/remote/spoolss_codec.h"
#include "platform/remote/srvsvc_codec.h"
#include "platform/remote/svcctl_codec.h"
#include "platform/remote/winreg_codec.h"
#include "platform/remote/wkssvc_codec.h"

namespace {

using namespace tabulon::platform::remote;
using Span = std::span<const std::uint8_t>;
using Decode = void (*)(Span);

constexpr Decode kDecoders[] = {
    [](Span s) { srvsvc::DecodeServerGetInfo101(s); },
    [](Span s) { srvsvc::DecodeShareEnum(s, 502); },
    [](Span s) { srvsvc::DecodeShareEnum(s, 1); },
    [](Span s) { srvsvc::DecodeShareGetInfo0(s); },
    [](Span s) { srvsvc::DecodeConnectionEnum1(s); },
    [](Span s) { srvsvc::DecodeSessionEnum(s, 502); },
    [](Span s) { srvsvc::DecodeSessionEnum(s, 1); },
    [](Span s) { srvsvc::DecodeFileEnum3(s); },
    [](Span s) { srvsvc::DecodeServerDiskEnum0(s); },
    [](Span s) { wkssvc::DecodeWkstaTransportEnum0(s); },
    [](Span s) { lsarpc::DecodeLookupSids(s); },
    [](Span s) { lsarpc::DecodeLookupNames3(s); },
    [](Span s) { DecodeRidEnumeration(s); },
    [](Span s) { samr::DecodeLookupDomain(s); },
    [](Span s) { samr::DecodeQueryDisplayMachines(s); },
    [](Span s) { netlogon::DecodeGetDcName(s); },
    [](Span s) { netlogon::DecodeGetDcNameEx2(s); },
    [](Span s) { svcctl::DecodeOpenReply(s); },
    [](Span s) { svcctl::DecodeEnumServicesStatus(s); },
    [](Span s) { svcctl::DecodeQueryServiceConfig(s); },
    [](Span s) { svcctl::DecodeCloseServiceHandle(s); },
    [](Span s) { spoolss::DecodeEnumPrinters(s); },
    [](Span s) { spoolss::DecodeGetPrinter(s); },
    [](Span s) { spoolss::DecodeOpenPrinter(s); },
    [](Span s) { spoolss::DecodeClosePrinter(s); },
    [](Span s) { winreg::DecodeHandleReply(s); },
    [](Span s) { winreg::DecodeQueryValue(s); },
    [](Span s) { winreg::DecodeEnumKey(s); },
    [](Span s) { winreg::DecodeEnumValue(s); },
    [](Span s) { winreg::DecodeQueryInfoKey(s); },
    [](Span s) { samr::DecodeQueryDisplayUsers(s); },
    [](Span s) { samr::DecodeLookupIds(s); },
    [](Span s) { samr::DecodeQueryUserAllInformation(s); },
    [](Span s) { samr::DecodeGetGroupsForUser(s); },
    [](Span s) { samr::DecodeGetAliasMembership(s); },
    [](Span s) { samr::DecodeQueryGroupGeneral(s); },
    [](Span s) { samr::DecodeQueryAliasGeneral(s); },
    [](Span s) { samr::DecodeGetMembersInGroup(s); },
    [](Span s) { samr::DecodeGetMembersInAlias(s); },
    [](Span s) { samr::DecodeDomainPassword(s); },
    [](Span s) { samr::DecodeDomainLogoff(s); },
    [](Span s) { samr::DecodeDomainLockout(s); },
    [](Span s) { lsarpc::DecodeEnumerateAccountsWithUserRight(s); },
    [](Span s) { lsarpc::DecodeLookupPrivilegeDisplayName(s); },
    [](Span s) { lsarpc::DecodeAuditEvents(s); },
    [](Span s) { lsarpc::DecodePolicyDomain(s, lsarpc::PolicyInformationClass::kAccountDomain); },
    [](Span s) { srvsvc::DecodeShareGetInfo1501(s); },
    [](Span s) { svcctl::DecodeQueryServiceObjectSecurity(s); },
    [](Span s) { spoolss::DecodeGetPrinterSecurity(s); },
    [](Span s) { winreg::DecodeGetKeySecurity(s); },
    // A file's descriptor as the SMB client library writes it.
    [](Span s) {
      DescriptorFromText({reinterpret_cast<const char*>(s.data()), s.size()}, 0xF);
    },
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  kDecoders[data[0] % std::size(kDecoders)](Span(data + 1, size - 1));
  return 0;
}
