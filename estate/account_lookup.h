#pragma once
// Account and SID lookups answered from the estate. A computer resolves, in
// this order: its own accounts (which may rename a well-known account, as a
// localised system does), the well-known SIDs, its domain, every other
// domain of the estate (all domains trust each other).
#include "estate/simulation.h"
#include "platform/security.h"

namespace tabulon::estate {

class EstateAccountLookup final : public platform::AccountLookup {
 public:
  explicit EstateAccountLookup(Simulation& simulation) : sim_(simulation) {}

  platform::AccountOfSid LookupAccountSid(std::string_view system,
                                          const platform::Sid& sid) override;
  platform::SidOfAccount LookupAccountName(std::string_view system, std::string_view account,
                                           std::uint32_t sid_buffer_size) override;

 private:
  Simulation& sim_;
};

}  // namespace tabulon::estate
