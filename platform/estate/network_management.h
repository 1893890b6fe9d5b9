#pragma once
// Network management answered from the estate: server information, browse
// lists, machine accounts and domain controllers.
#include "platform/estate/simulation.h"
#include "platform/netapi.h"

namespace tabulon::estate {

class EstateNetworkManagement final : public platform::NetworkManagement {
 public:
  explicit EstateNetworkManagement(Simulation& simulation) : sim_(simulation) {}

  platform::ServerInfoResult NetServerGetInfo101(std::string_view server) override;
  platform::ServerEnumResult NetServerEnum101(std::string_view domain, std::uint32_t server_type,
                                              std::uint32_t preferred_max_length,
                                              std::uint32_t resume_handle) override;
  platform::DisplayMachinesResult NetQueryDisplayMachines(
      std::string_view server, std::uint32_t index, std::uint32_t entries_requested,
      std::uint32_t preferred_max_length) override;
  platform::DcNameResult NetGetDCName(std::string_view server, std::string_view domain) override;

  // Windows returns at most this many display entries per call, whatever
  // the caller asks for.
  static constexpr std::uint32_t kMaxDisplayEntries = 100;

 private:
  Simulation& sim_;
};

}  // namespace tabulon::estate
