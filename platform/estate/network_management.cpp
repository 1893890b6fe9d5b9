#include "platform/estate/network_management.h"

#include <algorithm>

#include "platform/estate/sizes.h"

namespace tabulon::estate {
namespace {

constexpr std::uint32_t kDomainControllerBits = 0x8 | 0x10;  // PDC, BDC

bool Fits(std::uint32_t used, std::uint32_t bytes, std::uint32_t preferred_max_length) {
  return preferred_max_length == platform::kMaxPreferredLength ||
         static_cast<std::uint64_t>(used) + bytes <= preferred_max_length;
}

}  // namespace

platform::ServerInfoResult EstateNetworkManagement::NetServerGetInfo101(std::string_view server) {
  platform::ServerInfoResult result;
  const Computer* computer = sim_.estate().FindServer(server);
  sim_.Record(Operation::kNetServerGetInfo, server, [] { return std::string("level=101"); });
  sim_.Wait(computer);
  if (computer == nullptr || computer->offline) {
    result.status = win::ERROR_BAD_NETPATH;
    return result;
  }
  result.status = sim_.Injected(Operation::kNetServerGetInfo, computer->failures,
                                sim_.estate().IndexOf(*computer));
  if (result.status == win::ERROR_SUCCESS) result.info = computer->server;
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
  sim_.Record(Operation::kNetServerEnum, domain_name, [&] {
    return "level=101 type=" + Hex(server_type) +
           " prefmaxlen=" + std::to_string(preferred_max_length) +
           " resume=" + std::to_string(resume_handle);
  });
  sim_.Wait(domain != nullptr ? estate.ControllerOf(*domain) : nullptr);
  if (domain == nullptr) {
    result.status = win::ERROR_NO_BROWSER_SERVERS_FOUND;
    return result;
  }
  result.status = sim_.Injected(Operation::kNetServerEnum, domain->failures, 0);
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
    const std::uint32_t bytes = ServerInfo101Bytes(info);
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
  const Computer* computer = estate.FindServer(server);
  sim_.Record(Operation::kNetQueryDisplayInformation, server, [&] {
    return "level=2 index=" + std::to_string(index) +
           " entries=" + std::to_string(entries_requested) +
           " prefmaxlen=" + std::to_string(preferred_max_length);
  });
  sim_.Wait(computer);
  if (computer == nullptr || computer->offline) {
    result.status = win::ERROR_BAD_NETPATH;
    return result;
  }
  result.status = sim_.Injected(Operation::kNetQueryDisplayInformation, computer->failures,
                                estate.IndexOf(*computer));
  if (result.status != win::ERROR_SUCCESS) return result;

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
    const std::uint32_t bytes = DisplayMachineBytes(accounts[i]);
    if (!result.entries.empty() && !Fits(used, bytes, preferred_max_length)) break;
    used += bytes;
    result.entries.push_back({accounts[i].name, accounts[i].comment, accounts[i].flags,
                              accounts[i].rid, static_cast<std::uint32_t>(i + 1)});
  }
  if (i < accounts.size()) result.status = win::ERROR_MORE_DATA;
  return result;
}

platform::DcNameResult EstateNetworkManagement::NetGetDCName(std::string_view server,
                                                             std::string_view domain_name) {
  const Estate& estate = sim_.estate();
  platform::DcNameResult result;
  const Computer* computer = estate.FindServer(server);
  sim_.Record(Operation::kNetGetDCName, server,
              [&] { return "domain=" + std::string(domain_name); });
  sim_.Wait(computer);
  if (!StripBackslashes(server).empty() && (computer == nullptr || computer->offline)) {
    result.status = win::ERROR_BAD_NETPATH;
    return result;
  }
  if (computer != nullptr) {
    result.status =
        sim_.Injected(Operation::kNetGetDCName, computer->failures, estate.IndexOf(*computer));
    if (result.status != win::ERROR_SUCCESS) return result;
  }
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

}  // namespace tabulon::estate
