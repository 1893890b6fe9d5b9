#include "exporters/accounts/rights/rights.h"

#include <array>
#include <string_view>

#include "engine/error_text.h"
#include "engine/messages.h"
#include "engine/row.h"
#include "exporters/toolkit/export_progress.h"
#include "exporters/toolkit/handle_guard.h"
#include "exporters/toolkit/simple_unit.h"
#include "format/accounts.h"
#include "format/special_values.h"

namespace tabulon {
namespace {

constexpr std::uint32_t kRightsAccess = platform::kGenericRead | platform::kGenericExecute |
                                        platform::kPolicyLookupNames |
                                        platform::kPolicyViewLocalInformation;
constexpr std::uint32_t kDisplayNameChars = 256;

enum Column : std::uint32_t { kName = 0, kDescription, kTrustee, kTrusteeType };

// The rights in the order they are exported.
constexpr std::array<std::string_view, 45> kExportedRights{
    "SeNetworkLogonRight",
    "SeTcbPrivilege",
    "SeMachineAccountPrivilege",
    "SeBackupPrivilege",
    "SeChangeNotifyPrivilege",
    "SeUnsolicitedInputPrivilege",
    "SeSystemtimePrivilege",
    "SeCreatePagefilePrivilege",
    "SeCreateTokenPrivilege",
    "SeCreatePermanentPrivilege",
    "SeDebugPrivilege",
    "SeRemoteShutdownPrivilege",
    "SeAuditPrivilege",
    "SeIncreaseQuotaPrivilege",
    "SeIncreaseBasePriorityPrivilege",
    "SeLoadDriverPrivilege",
    "SeLockMemoryPrivilege",
    "SeBatchLogonRight",
    "SeServiceLogonRight",
    "SeInteractiveLogonRight",
    "SeSecurityPrivilege",
    "SeSystemEnvironmentPrivilege",
    "SeProfileSingleProcessPrivilege",
    "SeSystemProfilePrivilege",
    "SeAssignPrimaryTokenPrivilege",
    "SeRestorePrivilege",
    "SeShutdownPrivilege",
    "SeTakeOwnershipPrivilege",
    "SeUndockPrivilege",
    "SeSyncAgentPrivilege",
    "SeEnableDelegationPrivilege",
    "SeDenyInteractiveLogonRight",
    "SeDenyNetworkLogonRight",
    "SeDenyBatchLogonRight",
    "SeDenyServiceLogonRight",
    "SeImpersonatePrivilege",
    "SeCreateGlobalPrivilege",
    "SeRemoteInteractiveLogonRight",
    "SeDenyRemoteInteractiveLogonRight",
    "SeManageVolumePrivilege",
    "SeTimeZonePrivilege",
    "SeIncreaseWorkingSetPrivilege",
    "SeCreateSymbolicLinkPrivilege",
    "SeRelabelPrivilege",
    "SeTrustedCredManAccessPrivilege",
};

std::string_view TrusteeType(platform::SidNameUse use) {
  switch (use) {
    case platform::SidNameUse::kUser:
      return "USER";
    case platform::SidNameUse::kGroup:
      return "GROUP";
    case platform::SidNameUse::kAlias:
      return "ALIAS";
    case platform::SidNameUse::kWellKnownGroup:
      return "WELL-KNOWN";
    case platform::SidNameUse::kComputer:
      return "COMPUTER";
    default:
      return format::kUnknown;
  }
}

class RightsExport {
 public:
  RightsExport(ExportContext& context, const tagCObjects& target, platform::LsaHandle policy)
      : context_(context),
        lsa_(context.session.policy()),
        target_(target),
        row_(context.output, context.files.of(kRights), &target),
        policy_(policy) {}

  void Run() {
    for (std::string_view right : kExportedRights) ExportRight(right);
  }

 private:
  void ExportRight(std::string_view right) {
    const platform::PrivilegeDisplayNameResult display =
        lsa_.LookupPrivilegeDisplayName(target_.path, right, kDisplayNameChars);
    const std::string description =
        display.status == win::ERROR_SUCCESS ? display.display_name : std::string(right);
    const platform::AccountsWithRightResult holders =
        lsa_.EnumerateAccountsWithUserRight(policy_, right);
    if (holders.status != nt::STATUS_SUCCESS) {
      row_[kName] = right;
      row_[kDescription] = description;
      row_[kTrustee] = nt::LsaNtStatusToWinError(holders.status) == win::ERROR_NO_MORE_ITEMS
                           ? std::string(format::kNone)
                           : "ERROR: " + std::to_string(static_cast<std::int32_t>(holders.status));
      row_.Write();
      return;
    }
    for (const platform::Sid& sid : holders.sids) {
      const format::ResolvedSid account =
          format::ResolveSid(context_.session.lookup(), target_.path, sid);
      if (account.ok() && account.use == platform::SidNameUse::kDeletedAccount) continue;
      row_[kName] = right;
      row_[kDescription] = description;
      if (!account.ok()) {
        row_[kTrustee] = format::kError;
        row_[kTrusteeType] = format::kError;
      } else {
        row_[kTrustee] =
            account.domain.empty() ? account.name : account.domain + "\\" + account.name;
        row_[kTrusteeType] = TrusteeType(account.use);
      }
      row_.Write();
    }
  }

  ExportContext& context_;
  platform::LsaPolicy& lsa_;
  const tagCObjects& target_;
  Row row_;
  platform::LsaHandle policy_;
};

}  // namespace

void ExportRightsRows(ExportContext& context, const tagCObjects& target) {
  RunOutput& out = context.output;
  platform::LsaPolicy& lsa = context.session.policy();
  ExportProgress progress(out, target, "Exporting rights...", ProgressKind::kRights);

  std::string failure;
  const platform::LsaOpenResult policy = lsa.OpenPolicy(target.path, kRightsAccess);
  if (policy.status != nt::STATUS_SUCCESS) {
    failure = FillMessage("Unable to open policy on computer '%s'. ", {target.path}) +
              NtStatusText(policy.status);
  } else {
    const HandleGuard close(policy.handle, [&lsa](platform::LsaHandle h) { lsa.Close(h); });
    RightsExport(context, target, policy.handle).Run();
  }

  if (!failure.empty()) progress.ReportFailure(failure);
  out.LogLine(&target, ExportTypeInfo(kRights).log_name, !failure.empty(), failure);
}

ExporterUnit RightsUnit() {
  static constexpr ExportType kTypes[] = {kRights};
  return {
      .name = "rights", .types = kTypes, .start = StartEnabledTypeRun<kRights, ExportRightsRows>};
}

}  // namespace tabulon
