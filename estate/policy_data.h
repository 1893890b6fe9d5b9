#pragma once
// A computer's local security policy in the estate: who holds which right,
// the account database's password and lockout settings, and the audit
// policy.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/security.h"
#include "platform/user_modals.h"

namespace tabulon::estate {

// POLICY_AUDIT_EVENT_TYPE runs from system (0) to account logon (8).
inline constexpr std::uint32_t kAuditCategoryCount = 9;

struct HeldRight {
  std::string name;                    // as the privilege table spells it
  std::vector<platform::Sid> holders;  // in the order the LSA returns them
};

struct AuditPolicy {
  bool auditing_mode = false;
  // By category; the size is what the computer reports as its
  // MaximumAuditEventCount.
  std::vector<std::uint32_t> options = std::vector<std::uint32_t>(kAuditCategoryCount, 0);
};

struct LocalPolicy {
  std::vector<HeldRight> rights;  // a right not listed is held by nobody
  platform::UserModalsInfo0 passwords;
  platform::UserModalsInfo3 lockout;
  AuditPolicy audit;
};

}  // namespace tabulon::estate
