#pragma once
// What a computer of the estate offers and uses on the network: its shares
// with their connections, the sessions of its server service and the files
// opened through them, its disks, and the transports of its workstation
// service.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "estate/stated_security.h"
#include "platform/netapi.h"
#include "platform/status.h"

namespace tabulon::estate {

// A client connected to a share.
struct ShareConnection {
  std::uint32_t id = 0;
  std::string user;
  std::string computer;  // the client
  std::uint32_t users = 1;
  std::uint32_t opens = 0;
  std::uint32_t seconds = 0;
};

struct Share {
  platform::ShareInfo info;
  std::vector<ShareConnection> connections;
  std::optional<StatedSecurity> security;  // nothing: the default of its type
};

struct Disk {
  char letter = 'C';  // upper case
  // A drive without a medium is listed but cannot be measured.
  bool ready = true;
  // Removable drives get no administrative share of their own.
  bool removable = false;
  std::uint64_t total_bytes = 0;
  std::uint64_t free_bytes = 0;
  std::uint64_t caller_free_bytes = 0;  // after the caller's quota
  std::string label;
  std::string file_system = "NTFS";
  std::uint32_t serial = 0;
  std::uint32_t max_component_length = 255;
  std::uint32_t file_system_flags = 0;
};

struct ServerResources {
  std::vector<Share> shares;  // in the order NetShareEnum lists them
  std::vector<platform::SessionInfo> sessions;
  // Set: every level-502 session listing fails with this status (a server
  // that only answers level 1).
  std::optional<win::Status> session_502_refusal;
  std::vector<platform::FileInfo3> open_files;
  std::vector<Disk> disks;  // by drive letter
  std::vector<platform::WkstaTransportInfo0> transports;

  // Case-insensitive.
  const Share* FindShare(std::string_view name) const;
  const Disk* FindDisk(char letter) const;
};

}  // namespace tabulon::estate
