#pragma once
// Deterministic generation of large estates for benchmarks: the same options
// always give the same estate. Computers share a few service lists
// ("profiles") instead of holding their own copies.
#include <cstdint>

#include "estate/estate.h"
#include "estate/synthetic_resources.h"

namespace tabulon::estate {

struct SyntheticOptions {
  std::uint32_t seed = 1;
  std::uint32_t domains = 1;
  std::uint32_t computers = 100;  // controllers included, one per domain
  std::uint32_t services_per_computer = 40;
  std::uint32_t service_profiles = 8;
  double offline_rate = 0.05;  // share of computers, controllers excepted, that are off
  double server_rate = 0.1;    // share of member servers among the other computers
  std::uint32_t users_per_domain = 0;
  // Local groups of every computer, one list per domain; none by default.
  std::uint32_t local_groups_per_computer = 0;
  std::uint32_t max_ping_delay_ms = 0;  // reply delays drawn from 0 to this
  // Shares, sessions, disks ... in `service_profiles` shared lists; none by
  // default.
  SyntheticResources resources;
  // Users export: each domain's users also get account database records;
  // the first computers of a domain are its controllers (one primary, the
  // rest backups), each counting logons on its own, at this version.
  bool user_records = false;
  std::uint32_t controllers_per_domain = 1;
  std::uint32_t controller_version = 10;
};

// The largest estate a file may ask for.
inline constexpr std::uint32_t kMaxSyntheticComputers = 200000;
inline constexpr std::uint32_t kMaxSyntheticDomains = 999;
inline constexpr std::uint32_t kMaxSyntheticServices = 2000;
inline constexpr std::uint32_t kMaxSyntheticProfiles = 1000;
inline constexpr std::uint32_t kMaxSyntheticUsers = 100000;
inline constexpr std::uint32_t kMaxSyntheticGroups = 1000;
// Domain users in each numbered local group.
inline constexpr std::uint32_t kSyntheticMembersPerGroup = 3;
inline constexpr std::uint32_t kMaxSyntheticControllers = 100;

// Accounts of all domains, services of all profiles, and entries of each
// resource list across all profiles, at most: with the limits above alone a
// file could ask for tens of GB.
inline constexpr std::uint64_t kMaxSyntheticRecords = 1000000;

// `options` with every size within its limit and the totals within
// kMaxSyntheticRecords; GenerateEstate applies it.
SyntheticOptions BoundedOptions(SyntheticOptions options);

// Appends the generated domains and computers to `estate`; the caller
// finalizes it. Domains are DOMAIN01.., computers DC00001 (the first of each
// domain, its controller), SRV00002 or WS00003.., numbered across the estate.
void GenerateEstate(const SyntheticOptions& options, Estate& estate);

}  // namespace tabulon::estate
