#include "exporters/accounts/rights/policies.h"

#include <algorithm>
#include <string>

#include "engine/error_text.h"
#include "engine/messages.h"
#include "engine/row.h"
#include "exporters/toolkit/decimal.h"
#include "exporters/toolkit/export_progress.h"
#include "exporters/toolkit/handle_guard.h"
#include "exporters/toolkit/simple_unit.h"
#include "format/special_values.h"

namespace tabulon {
namespace {

constexpr std::uint32_t kAuditAccess =
    platform::kPolicyViewAuditInformation | platform::kPolicySetAuditRequirements;
constexpr std::uint32_t kSecondsPerDay = 86400;
constexpr std::uint32_t kSecondsPerMinute = 60;

enum Column : std::uint32_t {
  kMinPasswordLength = 0,
  kMaxPasswordAge,
  kMinPasswordAge,
  kForceLogoff,
  kHistoryLength,
  kLockoutDuration,
  kLockoutThreshold,
  kLockoutReset,
  kAuditEnabled,
  kFirstAuditColumn,  // success of category 0, then failure; two columns per category
};
// Categories from system (0) to account logon (8) have columns.
constexpr std::uint32_t kAuditCategories = 9;

// A forever value as its word, any other value divided into its unit.
std::string Period(std::uint32_t seconds, std::string_view forever, std::uint32_t unit) {
  return seconds == platform::kTimeqForever ? std::string(forever) : DecimalText(seconds / unit);
}

void FillAccountPolicy(Row& row, const platform::UserModalsInfo0& info) {
  row[kMinPasswordLength] = DecimalText(info.min_passwd_len);
  row[kMaxPasswordAge] = Period(info.max_passwd_age, "NEVER_EXPIRES", kSecondsPerDay);
  row[kMinPasswordAge] = DecimalText(info.min_passwd_age / kSecondsPerDay);
  row[kForceLogoff] = Period(info.force_logoff, "NEVER_FORCE", 1);
  row[kHistoryLength] = DecimalText(info.password_hist_len);
}

void FillLockoutPolicy(Row& row, const platform::UserModalsInfo3& info) {
  row[kLockoutDuration] = Period(info.lockout_duration, "FOREVER", kSecondsPerMinute);
  row[kLockoutThreshold] = DecimalText(info.lockout_threshold);
  row[kLockoutReset] = DecimalText(info.lockout_observation_window / kSecondsPerMinute);
}

void FillAuditPolicy(Row& row, const platform::PolicyAuditEventsInfo& info) {
  row[kAuditEnabled] = info.auditing_mode ? format::kTrue : format::kFalse;
  const std::size_t count =
      std::min<std::size_t>(info.event_auditing_options.size(), kAuditCategories);
  for (std::size_t category = 0; category < count; ++category) {
    const std::uint32_t option = info.event_auditing_options[category];
    const auto column = static_cast<std::uint32_t>(kFirstAuditColumn + 2 * category);
    if (option & platform::kPolicyAuditEventSuccess) row[column] = format::kTrue;
    if (option & platform::kPolicyAuditEventFailure) row[column + 1] = format::kTrue;
  }
}

}  // namespace

void ExportPolicyRow(ExportContext& context, const tagCObjects& target) {
  RunOutput& out = context.output;
  platform::UserModals& modals = context.session.user_modals();
  platform::LsaPolicy& lsa = context.session.policy();
  ExportProgress progress(out, target, "Exporting policies...", ProgressKind::kPolicies);
  Row row(out, context.files.of(kPolicies), &target);

  std::string failure;
  if (const auto passwords = modals.NetUserModalsGet0(target.path);
      passwords.status != win::ERROR_SUCCESS) {
    failure = FillMessage("Unable to retrieve account policy information on '%s'. ", {target.path});
  } else {
    FillAccountPolicy(row, passwords.info);
    if (const auto lockout = modals.NetUserModalsGet3(target.path);
        lockout.status != win::ERROR_SUCCESS) {
      failure =
          FillMessage("Unable to retrieve account policy information on '%s'. ", {target.path});
    } else {
      FillLockoutPolicy(row, lockout.info);
    }
  }

  // The account-policy fields wait in the row for the audit fields; without
  // those no row is written.
  nt::Status lsa_status = nt::STATUS_SUCCESS;
  const platform::LsaOpenResult policy = lsa.OpenPolicy(target.path, kAuditAccess);
  if (policy.status != nt::STATUS_SUCCESS) {
    lsa_status = policy.status;
    failure = FillMessage("Unable to open policy on computer '%s'. ", {target.path});
  } else {
    const HandleGuard close(policy.handle, [&lsa](platform::LsaHandle h) { lsa.Close(h); });
    const platform::AuditEventsResult audit =
        lsa.QueryAuditEvents(policy.handle, platform::kPolicyAuditEventsInformation);
    if (audit.status != nt::STATUS_SUCCESS) {
      lsa_status = audit.status;
      failure = FillMessage("Unable to get policy information from '%s'. ", {target.path});
    } else {
      FillAuditPolicy(row, audit.info);
      row.Write();
    }
  }

  if (lsa_status != nt::STATUS_SUCCESS) failure += NtStatusText(lsa_status);
  if (!failure.empty()) progress.ReportFailure(failure);
  out.LogLine(&target, ExportTypeInfo(kPolicies).log_name, !failure.empty(), failure);
}

ExporterUnit PoliciesUnit() {
  static constexpr ExportType kTypes[] = {kPolicies};
  return {.name = "policies",
          .types = kTypes,
          .start = StartEnabledTypeRun<kPolicies, ExportPolicyRow>};
}

}  // namespace tabulon
