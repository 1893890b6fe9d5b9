#include "estate/network_management.h"

#include <algorithm>

#include "platform/paging.h"
#include "platform/sizes.h"
#include "platform/text.h"

namespace tabulon::estate {
namespace {

constexpr std::uint32_t kDomainControllerBits = 0x8 | 0x10;  // PDC, BDC

bool Fits(std::uint32_t used, std::uint32_t bytes, std::uint32_t preferred_max_length) {
  return preferred_max_length == platform::kMaxPreferredLength ||
         static_cast<std::uint64_t>(used) + bytes <= preferred_max_length;
}

const ServerResources& ResourcesOf(const Computer& computer) {
  static const ServerResources kNothing;
  return computer.resources ? *computer.resources : kNothing;
}

std::string PagingDetail(std::uint32_t preferred_max_length, std::uint32_t resume_handle) {
  return " prefmaxlen=" + std::to_string(preferred_max_length) +
         " resume=" + std::to_string(resume_handle);
}

}  // namespace

template <typename DetailFn>
const Computer* EstateNetworkManagement::Reach(Operation op, std::string_view server,
                                               DetailFn&& detail, win::Status& status) {
  const Computer* computer = sim_.estate().FindServer(server);
  status =
      sim_.Reach(session_, op, server, detail, sim_.ToComputer(computer), win::ERROR_BAD_NETPATH);
  return status == win::ERROR_SUCCESS ? computer : nullptr;
}

platform::ServerInfoResult EstateNetworkManagement::NetServerGetInfo101(std::string_view server) {
  platform::ServerInfoResult result;
  const Computer* computer = Reach(
      Operation::kNetServerGetInfo, server, [] { return std::string("level=101"); }, result.status);
  if (computer != nullptr) result.info = computer->server;
  return result;
}

platform::ServerEnumResult EstateNetworkManagement::NetServerEnum101(
    std::string_view domain_name, std::uint32_t server_type, std::uint32_t preferred_max_length,
    std::uint32_t resume_handle) {
  const Estate& estate = sim_.estate();
  platform::ServerEnumResult result;
  const Domain* domain = nullptr;
  if (!domain_name.empty()) {
    domain = estate.FindDomain(domain_name);
  } else if (const Computer* local = estate.LocalComputer()) {
    domain = estate.DomainOf(*local);
  }
  result.status = sim_.Reach(
      session_, Operation::kNetServerEnum, domain_name,
      [&] {
        return "level=101 type=" + Hex(server_type) +
               " prefmaxlen=" + std::to_string(preferred_max_length) +
               " resume=" + std::to_string(resume_handle);
      },
      sim_.ToDomain(domain), win::ERROR_NO_BROWSER_SERVERS_FOUND);
  if (result.status != win::ERROR_SUCCESS) return result;

  std::uint32_t used = 0;
  std::uint32_t position = 0;  // among the entries that match the type
  bool more = false;
  for (const BrowseEntry& entry : *domain->browse_list) {
    const platform::ServerInfo101& info =
        entry.info ? *entry.info : estate.computers[entry.computer].server;
    if (server_type != platform::kSvTypeAll && (info.type & server_type) == 0) continue;
    const std::uint32_t index = position++;
    if (index < resume_handle || more) continue;
    const std::uint32_t bytes = platform::ServerInfo101Bytes(info);
    if (!result.entries.empty() && !Fits(used, bytes, preferred_max_length)) {
      more = true;
      result.resume_handle = index;
      continue;
    }
    used += bytes;
    result.entries.push_back(info);
  }
  result.total_entries = position;
  result.status = more ? win::ERROR_MORE_DATA : win::ERROR_SUCCESS;
  return result;
}

platform::DisplayMachinesResult EstateNetworkManagement::NetQueryDisplayMachines(
    std::string_view server, std::uint32_t index, std::uint32_t entries_requested,
    std::uint32_t preferred_max_length) {
  const Estate& estate = sim_.estate();
  platform::DisplayMachinesResult result;
  const Computer* computer = Reach(
      Operation::kNetQueryDisplayInformation, server,
      [&] {
        return "level=2 index=" + std::to_string(index) +
               " entries=" + std::to_string(entries_requested) +
               " prefmaxlen=" + std::to_string(preferred_max_length);
      },
      result.status);
  if (computer == nullptr) return result;

  // A controller answers from its domain's account database; any other
  // computer's own database holds no machine accounts.
  const Domain* domain = estate.DomainOf(*computer);
  const bool controller =
      domain != nullptr && (domain->controller_index == estate.IndexOf(*computer) ||
                            (computer->server.type & kDomainControllerBits) != 0);
  if (!controller) return result;

  const auto& accounts = *domain->computer_accounts;
  const std::uint32_t limit = std::min(entries_requested, kMaxDisplayEntries);
  std::uint32_t used = 0;
  std::size_t i = index;
  for (; i < accounts.size() && result.entries.size() < limit; ++i) {
    platform::DisplayMachine entry{accounts[i].name, accounts[i].comment, accounts[i].flags,
                                   accounts[i].rid, static_cast<std::uint32_t>(i + 1)};
    const std::uint32_t bytes = platform::DisplayMachineBytes(entry);
    if (!result.entries.empty() && !Fits(used, bytes, preferred_max_length)) break;
    used += bytes;
    result.entries.push_back(std::move(entry));
  }
  if (i < accounts.size()) result.status = win::ERROR_MORE_DATA;
  return result;
}

platform::DcNameResult EstateNetworkManagement::NetGetDCName(std::string_view server,
                                                             std::string_view domain_name) {
  const Estate& estate = sim_.estate();
  platform::DcNameResult result;
  const Computer* computer = estate.FindServer(server);
  // No server: this computer asks, and always answers.
  Destination to = sim_.ToComputer(computer);
  to.reachable |= StripBackslashes(server).empty();
  result.status = sim_.Reach(
      session_, Operation::kNetGetDCName, server,
      [&] { return "domain=" + std::string(domain_name); }, to, win::ERROR_BAD_NETPATH);
  if (result.status != win::ERROR_SUCCESS) return result;
  const Domain* domain = nullptr;
  if (!domain_name.empty()) {
    domain = estate.FindDomain(domain_name);
  } else if (computer != nullptr) {
    domain = estate.DomainOf(*computer);
  }
  if (domain == nullptr) {
    result.status = win::NERR_DCNotFound;
    return result;
  }
  result.status = sim_.Injected(Operation::kNetGetDCName, domain->failures, 0);
  if (result.status != win::ERROR_SUCCESS) return result;
  const Computer* controller = estate.ControllerOf(*domain);
  if (controller == nullptr || controller->offline) {
    result.status = win::NERR_DCNotFound;
    return result;
  }
  result.dc_name = "\\\\" + controller->name;
  return result;
}

platform::ShareEnumResult EstateNetworkManagement::NetShareEnum(std::string_view server,
                                                                std::uint32_t level,
                                                                std::uint32_t preferred_max_length,
                                                                std::uint32_t resume_handle) {
  platform::ShareEnumResult result;
  const Computer* computer = Reach(
      Operation::kNetShareEnum, server,
      [&] {
        return "level=" + std::to_string(level) + PagingDetail(preferred_max_length, resume_handle);
      },
      result.status);
  if (computer == nullptr) return result;
  if (level != 1 && level != 502) {
    result.status = win::ERROR_INVALID_LEVEL;
    return result;
  }
  std::vector<platform::ShareInfo> all;
  for (const Share& share : ResourcesOf(*computer).shares) {
    if (level == 502) {
      all.push_back(share.info);
    } else {
      platform::ShareInfo brief;
      brief.netname = share.info.netname;
      brief.type = share.info.type;
      brief.remark = share.info.remark;
      all.push_back(std::move(brief));
    }
  }
  platform::FillPage(
      result, all, resume_handle, preferred_max_length,
      [level](const platform::ShareInfo& s) { return platform::ShareInfoBytes(s, level); });
  return result;
}

platform::ShareGetInfoResult EstateNetworkManagement::NetShareGetInfo0(std::string_view server,
                                                                       std::string_view netname) {
  platform::ShareGetInfoResult result;
  const Computer* computer = Reach(
      Operation::kNetShareGetInfo, server,
      [&] { return "share=" + std::string(netname) + " level=0"; }, result.status);
  if (computer == nullptr) return result;
  const Share* share = ResourcesOf(*computer).FindShare(netname);
  if (share == nullptr) {
    result.status = win::NERR_NetNameNotFound;
    return result;
  }
  result.netname = share->info.netname;
  return result;
}

platform::ConnectionEnumResult EstateNetworkManagement::NetConnectionEnum1(
    std::string_view server, std::string_view qualifier, std::uint32_t preferred_max_length,
    std::uint32_t resume_handle) {
  platform::ConnectionEnumResult result;
  const Computer* computer = Reach(
      Operation::kNetConnectionEnum, server,
      [&] {
        return "qualifier=" + std::string(qualifier) + " level=1" +
               PagingDetail(preferred_max_length, resume_handle);
      },
      result.status);
  if (computer == nullptr) return result;
  const ServerResources& resources = ResourcesOf(*computer);
  const auto record = [](const Share& share, const ShareConnection& c, std::string netname) {
    platform::ConnectionInfo1 info;
    info.id = c.id;
    info.type = share.info.type;
    info.num_opens = c.opens;
    info.num_users = c.users;
    info.time = c.seconds;
    info.username = c.user;
    info.netname = std::move(netname);
    return info;
  };
  std::vector<platform::ConnectionInfo1> all;
  if (qualifier.empty()) {
    result.status = win::ERROR_INVALID_PARAMETER;
    return result;
  }
  if (qualifier.starts_with("\\\\")) {
    const std::string_view client = StripBackslashes(qualifier);
    for (const Share& share : resources.shares) {
      for (const ShareConnection& c : share.connections) {
        if (text::EqualsNoCase(StripBackslashes(c.computer), client)) {
          all.push_back(record(share, c, share.info.netname));
        }
      }
    }
    if (all.empty()) {
      result.status = win::NERR_ClientNameNotFound;
      return result;
    }
  } else {
    const Share* share = resources.FindShare(qualifier);
    if (share == nullptr) {
      result.status = win::NERR_NetNameNotFound;
      return result;
    }
    for (const ShareConnection& c : share->connections)
      all.push_back(record(*share, c, c.computer));
  }
  platform::FillPage(result, all, resume_handle, preferred_max_length,
                     platform::ConnectionInfo1Bytes);
  return result;
}

platform::SessionEnumResult EstateNetworkManagement::NetSessionEnum(
    std::string_view server, std::string_view client_name, std::string_view user_name,
    std::uint32_t level, std::uint32_t preferred_max_length, std::uint32_t resume_handle) {
  platform::SessionEnumResult result;
  const Computer* computer = Reach(
      Operation::kNetSessionEnum, server,
      [&] {
        return "client=" + std::string(client_name) + " user=" + std::string(user_name) +
               " level=" + std::to_string(level) +
               PagingDetail(preferred_max_length, resume_handle);
      },
      result.status);
  if (computer == nullptr) return result;
  const ServerResources& resources = ResourcesOf(*computer);
  if (level != 1 && level != 502) {
    result.status = win::ERROR_INVALID_LEVEL;
    return result;
  }
  if (level == 502 && resources.session_502_refusal) {
    result.status = *resources.session_502_refusal;
    return result;
  }
  const std::string_view client = StripBackslashes(client_name);
  std::vector<platform::SessionInfo> all;
  bool client_seen = false;
  for (const platform::SessionInfo& session : resources.sessions) {
    if (!client.empty() && !text::EqualsNoCase(StripBackslashes(session.cname), client)) continue;
    client_seen = true;
    if (!user_name.empty() && !text::EqualsNoCase(session.username, user_name)) continue;
    all.push_back(session);
    if (level == 1) {
      all.back().cltype_name.clear();
      all.back().transport.clear();
    }
  }
  if (!client.empty() && !client_seen) {
    result.status = win::NERR_ClientNameNotFound;
    return result;
  }
  if (!user_name.empty() && all.empty()) {
    result.status = win::NERR_UserNotFound;
    return result;
  }
  platform::FillPage(
      result, all, resume_handle, preferred_max_length,
      [level](const platform::SessionInfo& s) { return platform::SessionInfoBytes(s, level); });
  return result;
}

platform::FileEnumResult EstateNetworkManagement::NetFileEnum3(std::string_view server,
                                                               std::string_view base_path,
                                                               std::string_view user_name,
                                                               std::uint32_t preferred_max_length,
                                                               std::uint32_t resume_handle) {
  platform::FileEnumResult result;
  const Computer* computer = Reach(
      Operation::kNetFileEnum, server,
      [&] {
        return "base=" + std::string(base_path) + " user=" + std::string(user_name) + " level=3" +
               PagingDetail(preferred_max_length, resume_handle);
      },
      result.status);
  if (computer == nullptr) return result;
  std::vector<platform::FileInfo3> all;
  for (const platform::FileInfo3& file : ResourcesOf(*computer).open_files) {
    if (!text::StartsWithNoCase(file.pathname, base_path)) continue;
    if (!user_name.empty() && !text::EqualsNoCase(file.username, user_name)) continue;
    all.push_back(file);
  }
  platform::FillPage(result, all, resume_handle, preferred_max_length, platform::FileInfo3Bytes);
  return result;
}

platform::ServerDiskEnumResult EstateNetworkManagement::NetServerDiskEnum0(
    std::string_view server, std::uint32_t preferred_max_length) {
  platform::ServerDiskEnumResult result;
  const Computer* computer = Reach(
      Operation::kNetServerDiskEnum, server,
      [&] { return "level=0 prefmaxlen=" + std::to_string(preferred_max_length); }, result.status);
  if (computer == nullptr) return result;
  for (const Disk& disk : ResourcesOf(*computer).disks) {
    result.disks.push_back(std::string(1, disk.letter) + ":");
  }
  result.total_entries = static_cast<std::uint32_t>(result.disks.size());
  return result;
}

platform::WkstaTransportEnumResult EstateNetworkManagement::NetWkstaTransportEnum0(
    std::string_view server, std::uint32_t preferred_max_length, std::uint32_t resume_handle) {
  platform::WkstaTransportEnumResult result;
  const Computer* computer = Reach(
      Operation::kNetWkstaTransportEnum, server,
      [&] { return "level=0" + PagingDetail(preferred_max_length, resume_handle); }, result.status);
  if (computer == nullptr) return result;
  std::vector<platform::WkstaTransportInfo0> all = ResourcesOf(*computer).transports;
  platform::FillPage(result, all, resume_handle, preferred_max_length,
                     platform::WkstaTransportInfo0Bytes);
  return result;
}

}  // namespace tabulon::estate
