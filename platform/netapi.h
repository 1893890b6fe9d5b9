#pragma once
// Network management of a Windows computer or domain, after the NetAPI32
// functions: the same levels, resume handles and ERROR_MORE_DATA paging, with
// records returned as values instead of raw buffers.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace tabulon::platform {

inline constexpr std::uint32_t kMaxPreferredLength = 0xFFFFFFFF;
inline constexpr std::uint32_t kSvTypeAll = 0xFFFFFFFF;

// SERVER_INFO_101.
struct ServerInfo101 {
  std::uint32_t platform_id = 500;
  std::string name;
  std::uint32_t version_major = 0;
  std::uint32_t version_minor = 0;
  std::uint32_t type = 0;
  std::string comment;
};

struct ServerInfoResult {
  win::Status status = win::ERROR_SUCCESS;
  ServerInfo101 info;
};

// One page of NetServerEnum: status ERROR_SUCCESS or ERROR_MORE_DATA with the
// entries of this page.
struct ServerEnumResult {
  win::Status status = win::ERROR_SUCCESS;
  std::vector<ServerInfo101> entries;
  std::uint32_t total_entries = 0;
  std::uint32_t resume_handle = 0;
};

// NET_DISPLAY_MACHINE (level 2 of NetQueryDisplayInformation).
struct DisplayMachine {
  std::string name;  // with the trailing "$" of a machine account
  std::string comment;
  std::uint32_t flags = 0;  // UF_* account flags
  std::uint32_t user_id = 0;
  std::uint32_t next_index = 0;
};

inline constexpr std::uint32_t kUfWorkstationTrustAccount = 0x1000;
inline constexpr std::uint32_t kUfServerTrustAccount = 0x2000;
inline constexpr std::uint32_t kUfAccountDisable = 0x0002;

struct DisplayMachinesResult {
  win::Status status = win::ERROR_SUCCESS;  // or ERROR_MORE_DATA
  std::vector<DisplayMachine> entries;
};

struct DcNameResult {
  win::Status status = win::ERROR_SUCCESS;
  std::string dc_name;  // "\\NAME" as returned
};

class NetworkManagement {
 public:
  virtual ~NetworkManagement() = default;

  // NetServerGetInfo level 101 on `server` ("\\NAME" or a DNS name).
  virtual ServerInfoResult NetServerGetInfo101(std::string_view server) = 0;
  // NetServerEnum level 101 of a domain's browse list.
  virtual ServerEnumResult NetServerEnum101(std::string_view domain, std::uint32_t server_type,
                                            std::uint32_t preferred_max_length,
                                            std::uint32_t resume_handle) = 0;
  // NetQueryDisplayInformation level 2 (machine accounts) from `index`.
  virtual DisplayMachinesResult NetQueryDisplayMachines(std::string_view server,
                                                        std::uint32_t index,
                                                        std::uint32_t entries_requested,
                                                        std::uint32_t preferred_max_length) = 0;
  // NetGetDCName: the primary domain controller of `domain`.
  virtual DcNameResult NetGetDCName(std::string_view server, std::string_view domain) = 0;
};

}  // namespace tabulon::platform
