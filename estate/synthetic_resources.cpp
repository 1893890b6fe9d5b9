#include "estate/synthetic_resources.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace tabulon::estate {
namespace {

constexpr std::uint64_t kGiB = 1ULL << 30;

std::string Numbered(std::string_view prefix, std::uint32_t n, std::size_t width) {
  std::string digits = std::to_string(n);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return std::string(prefix) + digits;
}

std::string Client(std::uint32_t profile, std::uint32_t i) {
  return Numbered("WS", (profile * 7919 + i * 104729) % 99999 + 1, 5);
}

std::string User(std::uint32_t profile, std::uint32_t i) {
  return Numbered("user", (profile * 31 + i * 17) % 9999 + 1, 5);
}

}  // namespace

std::shared_ptr<const ServerResources> MakeResourceProfile(const SyntheticResources& options,
                                                           std::uint32_t profile) {
  auto r = std::make_shared<ServerResources>();
  const std::uint32_t disks = std::min(options.disks_per_computer, kMaxSyntheticDisks);
  for (std::uint32_t d = 0; d < disks; ++d) {
    Disk disk;
    disk.letter = static_cast<char>('C' + d);
    disk.total_bytes = (64 + 32 * ((profile + d) % 16)) * kGiB;
    disk.free_bytes = disk.total_bytes / 100 * (5 + (profile * 37 + d * 11) % 90);
    disk.caller_free_bytes = disk.free_bytes;
    disk.label = d == 0 ? "System" : Numbered("Data", d, 0);
    disk.serial = 0x5A3C0000u + profile * 0x101u + d;
    r->disks.push_back(std::move(disk));
  }
  const auto add_share = [&](std::string name, std::uint32_t type, std::string remark,
                             std::string path) {
    Share share;
    share.info.netname = std::move(name);
    share.info.type = type;
    share.info.remark = std::move(remark);
    share.info.path = std::move(path);
    r->shares.push_back(std::move(share));
  };
  if (disks != 0) {
    add_share("ADMIN$", platform::kStypeSpecial, "Remote Admin", "C:\\Windows");
    for (const Disk& disk : r->disks) {
      add_share(std::string(1, disk.letter) + "$", platform::kStypeSpecial, "Default share",
                std::string(1, disk.letter) + ":\\");
    }
    add_share("IPC$", platform::kStypeSpecial | platform::kStypeIpc, "Remote IPC", "");
  }
  const char data_drive = disks > 1 ? 'D' : 'C';
  std::uint32_t connection_id = 1;
  for (std::uint32_t s = 1; s <= options.shares_per_computer; ++s) {
    const std::string name = Numbered("Share", s, 3);
    add_share(name, platform::kStypeDisktree, "Department files " + std::to_string(s),
              std::string(1, data_drive) + ":\\Shares\\" + name);
    Share& share = r->shares.back();
    share.info.max_uses = s % 4 == 0 ? 25 : platform::kShiUsesUnlimited;
    for (std::uint32_t c = 0; c < options.connections_per_share; ++c) {
      ShareConnection connection;
      connection.id = connection_id++;
      connection.user = User(profile, s * 13 + c);
      connection.computer = Client(profile, s * 13 + c);
      connection.opens = c % 5;
      connection.seconds = 60 * (s * 7 + c * 13) % 86400;
      share.connections.push_back(std::move(connection));
    }
    share.info.current_uses = static_cast<std::uint32_t>(share.connections.size());
  }
  for (std::uint32_t i = 0; i < options.sessions_per_computer; ++i) {
    platform::SessionInfo session;
    session.cname = Client(profile, i);
    session.username = User(profile, i);
    session.num_opens = i % 6;
    session.time = 300 + i * 97 % 28800;
    session.idle_time = i * 41 % 3600;
    session.cltype_name = "Windows 10 Enterprise";
    session.transport = "\\Device\\NetbiosSmb";
    r->sessions.push_back(std::move(session));
  }
  for (std::uint32_t i = 0; i < options.open_files_per_computer; ++i) {
    platform::FileInfo3 file;
    file.id = 1000 + i;
    file.permissions = i % 3 == 0 ? 3 : 1;
    file.num_locks = i % 4 == 0 ? 1 : 0;
    file.pathname = std::string(1, data_drive) + ":\\Shares\\" +
                    Numbered("Share", i % std::max(options.shares_per_computer, 1u) + 1, 3) + "\\" +
                    Numbered("report", i, 4) + ".docx";
    file.username = User(profile, i);
    r->open_files.push_back(std::move(file));
  }
  for (std::uint32_t t = 0; t < options.transports_per_computer; ++t) {
    platform::WkstaTransportInfo0 transport;
    transport.transport_name =
        "\\Device\\NetBT_Tcpip_{" + Numbered("", profile, 8) + "-" + Numbered("", t, 4) + "}";
    char address[16];
    std::snprintf(address, sizeof address, "00155D%02X%02X%02X", profile & 0xFF, t & 0xFF,
                  (profile * 7 + t) & 0xFF);
    transport.transport_address = address;
    transport.number_of_vcs = t + 1;
    r->transports.push_back(std::move(transport));
  }
  return r;
}

}  // namespace tabulon::estate
