#pragma once
// Network management answered from the estate: server information, browse
// lists, machine accounts, domain controllers, and what a computer serves:
// shares, connections, sessions, open files, disks and transports.
#include "estate/simulation.h"
#include "platform/netapi.h"

namespace tabulon::estate {

class EstateNetworkManagement final : public platform::NetworkManagement {
 public:
  EstateNetworkManagement(Simulation& simulation, const platform::SessionOptions& session)
      : sim_(simulation), session_(session) {}

  platform::ServerInfoResult NetServerGetInfo101(std::string_view server) override;
  platform::ServerEnumResult NetServerEnum101(std::string_view domain, std::uint32_t server_type,
                                              std::uint32_t preferred_max_length,
                                              std::uint32_t resume_handle) override;
  platform::DisplayMachinesResult NetQueryDisplayMachines(
      std::string_view server, std::uint32_t index, std::uint32_t entries_requested,
      std::uint32_t preferred_max_length) override;
  platform::DcNameResult NetGetDCName(std::string_view server, std::string_view domain) override;
  platform::ShareEnumResult NetShareEnum(std::string_view server, std::uint32_t level,
                                         std::uint32_t preferred_max_length,
                                         std::uint32_t resume_handle) override;
  platform::ShareGetInfoResult NetShareGetInfo0(std::string_view server,
                                                std::string_view netname) override;
  platform::ConnectionEnumResult NetConnectionEnum1(std::string_view server,
                                                    std::string_view qualifier,
                                                    std::uint32_t preferred_max_length,
                                                    std::uint32_t resume_handle) override;
  platform::SessionEnumResult NetSessionEnum(std::string_view server, std::string_view client_name,
                                             std::string_view user_name, std::uint32_t level,
                                             std::uint32_t preferred_max_length,
                                             std::uint32_t resume_handle) override;
  platform::FileEnumResult NetFileEnum3(std::string_view server, std::string_view base_path,
                                        std::string_view user_name,
                                        std::uint32_t preferred_max_length,
                                        std::uint32_t resume_handle) override;
  platform::ServerDiskEnumResult NetServerDiskEnum0(std::string_view server,
                                                    std::uint32_t preferred_max_length) override;
  platform::WkstaTransportEnumResult NetWkstaTransportEnum0(std::string_view server,
                                                            std::uint32_t preferred_max_length,
                                                            std::uint32_t resume_handle) override;

  // Windows returns at most this many display entries per call, whatever
  // the caller asks for.
  static constexpr std::uint32_t kMaxDisplayEntries = 100;

 private:
  // Records a call on `server` and reaches it: the computer, or null with
  // `status` set to what the call answers instead.
  template <typename DetailFn>
  const Computer* Reach(Operation op, std::string_view server, DetailFn&& detail,
                        win::Status& status);

  Simulation& sim_;
  const platform::SessionOptions& session_;
};

}  // namespace tabulon::estate
