#pragma once
// Account and SID lookups answered from the estate. A computer resolves, in
// this order: its own accounts (which may rename a well-known account, as a
// localised system does), the well-known SIDs, its domain, every other
// domain of the estate (all domains trust each other).
#include <optional>
#include <string>
#include <string_view>

#include "estate/simulation.h"
#include "platform/security.h"

namespace tabulon::estate {

// An account as a computer of the estate resolves it, without a call.
struct ResolvedAccount {
  platform::Sid sid;
  std::string domain;
  std::string name;
  platform::SidNameUse use = platform::SidNameUse::kNone;
};
std::optional<ResolvedAccount> ResolveSidOn(const Estate& estate, const Computer* computer,
                                            const platform::Sid& sid);
// `account` may be qualified ("DOMAIN\name").
std::optional<ResolvedAccount> ResolveNameOn(const Estate& estate, const Computer* computer,
                                             std::string_view account);

class EstateAccountLookup final : public platform::AccountLookup {
 public:
  EstateAccountLookup(Simulation& simulation, const platform::SessionOptions& session)
      : sim_(simulation), session_(session) {}

  platform::AccountOfSid LookupAccountSid(std::string_view system,
                                          const platform::Sid& sid) override;
  platform::SidOfAccount LookupAccountName(std::string_view system, std::string_view account,
                                           std::uint32_t sid_buffer_size) override;

 private:
  // Records the call and reaches `system`: ERROR_SUCCESS, or what the call
  // answers instead.
  template <typename DetailFn>
  win::Status Reach(Operation op, std::string_view system, const Computer* computer,
                    DetailFn&& detail);

  Simulation& sim_;
  const platform::SessionOptions& session_;
};

}  // namespace tabulon::estate
