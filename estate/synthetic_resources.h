#pragma once
// What the computers of a generated estate serve: shares with connections,
// sessions, open files, disks and transports, in a few shared profiles.
#include <cstdint>
#include <memory>

#include "estate/resources.h"

namespace tabulon::estate {

struct SyntheticResources {
  std::uint32_t shares_per_computer = 0;  // besides the default shares
  std::uint32_t connections_per_share = 0;
  std::uint32_t sessions_per_computer = 0;
  std::uint32_t open_files_per_computer = 0;
  std::uint32_t disks_per_computer = 0;  // C: onwards, each with its default share
  std::uint32_t transports_per_computer = 0;

  bool any() const {
    return shares_per_computer != 0 || sessions_per_computer != 0 || open_files_per_computer != 0 ||
           disks_per_computer != 0 || transports_per_computer != 0;
  }
};

inline constexpr std::uint32_t kMaxSyntheticShares = 1000;
inline constexpr std::uint32_t kMaxSyntheticDisks = 24;  // C: to Z:
inline constexpr std::uint32_t kMaxSyntheticListEntries = 10000;

// Profile `profile` of the given sizes. The values vary with the profile
// number alone, so generation draws no random numbers and leaves the rest of
// a generated estate as it was.
std::shared_ptr<const ServerResources> MakeResourceProfile(const SyntheticResources& options,
                                                           std::uint32_t profile);

}  // namespace tabulon::estate
