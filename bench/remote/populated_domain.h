#pragma once
// A provisioned test domain with many user accounts, made once and kept:
// the accounts are added offline into a copy of the provisioned domain's
// database (its own modules give them SIDs), not one tool run per account.
#include <string>

namespace tabulon::bench {

// The folder of the domain with `users` accounts "bench00001"... under
// TABULON_BENCH_DC_CACHE (else the temporary folder), made when missing;
// empty with `why_not` set when it cannot be.
std::string PopulatedDomain(int users, std::string& why_not);

}  // namespace tabulon::bench
