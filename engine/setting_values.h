#pragma once
// The named values of the configuration's choice settings. The key table
// (engine/config_key_table.h) gives each its text and says which value an
// unlisted number stands for; units compare what they read with these names,
// never with bare numbers.
#include <cstdint>

namespace tabulon {

// General/ComputerSource: where the computers of a domain target come from.
enum class ComputerSource : std::int32_t { kAccountDatabase = 0, kBrowseList = 1 };
// Computers/PingType: how a computer is pinged.
enum class PingMethod : std::int32_t { kRawSocket = 0, kSystemEcho = 1 };
// Services/ServiceType: which kinds of service are listed.
enum class ServiceTypeChoice : std::int32_t {
  kDriversOnly = 0,
  kServicesOnly = 1,
  kDriversAndServices = 2
};
// Services/ServiceState: which states of service are listed.
enum class ServiceStateChoice : std::int32_t {
  kActiveOnly = 0,
  kInactiveOnly = 1,
  kActiveAndInactive = 2
};
// Users/LastLogonType: how the values of several domain controllers meet.
enum class LastLogonChoice : std::int32_t { kCombined = 0, kEachController = 1 };

}  // namespace tabulon
