#include "estate/estate.h"

#include <algorithm>
#include <charconv>

#include "platform/text.h"

namespace tabulon::estate {
namespace {

constexpr std::uint32_t kFirstComputerRid = 1000;
constexpr std::uint32_t kDomainControllerBits = 0x8 | 0x10;  // PDC, BDC

std::string Quote(std::string_view s) {
  return "'" + text::TruncateCodePoints(s, 80) + "'";
}

std::string Indexed(std::string_view list, std::size_t i) {
  return std::string(list) + "[" + std::to_string(i) + "]";
}

}  // namespace

const InjectedFailure* FindFailure(const FailureList& failures, Operation op) {
  for (const auto& failure : failures) {
    if (failure.operation == op) return &failure;
  }
  return nullptr;
}

std::string_view StripBackslashes(std::string_view name) {
  while (!name.empty() && name.front() == '\\') name.remove_prefix(1);
  return name;
}

bool IsDottedIpv4(std::string_view text) {
  int parts = 0;
  while (true) {
    const auto dot = text.find('.');
    const auto part = text.substr(0, dot);
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
    if (part.empty() || part.size() > 3 || ec != std::errc() || end != part.data() + part.size() ||
        value > 255) {
      return false;
    }
    ++parts;
    if (dot == std::string_view::npos) break;
    text.remove_prefix(dot + 1);
  }
  return parts == 4;
}

bool Estate::IndexDomains(std::string& error) {
  domain_keys_.clear();
  for (std::size_t i = 0; i < domains.size(); ++i) {
    const Domain& d = domains[i];
    if (d.name.empty()) {
      error = Indexed("domains", i) + ".name: a domain needs a name";
      return false;
    }
    for (const std::string* key : {&d.name, &d.dns_name}) {
      if (key->empty()) continue;
      const auto [it, added] =
          domain_keys_.emplace(text::ToLower(*key), static_cast<std::uint32_t>(i));
      if (!added && it->second != i) {
        error = Indexed("domains", i) + ": domain name " + Quote(*key) + " is also used by " +
                Indexed("domains", it->second);
        return false;
      }
    }
  }
  return true;
}

bool Estate::IndexComputers(std::string& error) {
  computer_keys_.clear();
  computer_keys_.reserve(computers.size() * 3);
  auto no_services = std::make_shared<const ServiceList>();
  for (std::size_t i = 0; i < computers.size(); ++i) {
    Computer& c = computers[i];
    if (c.name.empty()) {
      error = Indexed("computers", i) + ".name: a computer needs a name";
      return false;
    }
    if (!c.address.empty() && !IsDottedIpv4(c.address)) {
      error = Indexed("computers", i) + ".address: " + Quote(c.address) +
              " is not a dotted IPv4 address";
      return false;
    }
    for (const std::string* key : {&c.name, &c.dns_name, &c.address}) {
      if (key->empty()) continue;
      const auto [it, added] =
          computer_keys_.emplace(text::ToLower(*key), static_cast<std::uint32_t>(i));
      if (!added && it->second != i) {
        error = Indexed("computers", i) + ": computer name or address " + Quote(*key) +
                " is also used by " + Indexed("computers", it->second);
        return false;
      }
    }
    c.server.name = c.name;
    if (!c.services) c.services = no_services;
    c.domain_index = kNoIndex;
    if (!c.domain.empty()) {
      const auto it = domain_keys_.find(text::ToLower(c.domain));
      if (it == domain_keys_.end()) {
        error = Indexed("computers", i) + ".domain: " + Quote(c.domain) +
                " is not a domain of the estate";
        return false;
      }
      c.domain_index = it->second;
    }
  }
  return true;
}

bool Estate::ResolveDomainLists(std::string& error) {
  std::vector<std::vector<std::uint32_t>> members(domains.size());
  for (std::size_t i = 0; i < computers.size(); ++i) {
    if (computers[i].domain_index != kNoIndex) {
      members[computers[i].domain_index].push_back(static_cast<std::uint32_t>(i));
    }
  }
  for (std::size_t d = 0; d < domains.size(); ++d) {
    Domain& domain = domains[d];
    const std::string where = Indexed("domains", d);
    domain.controller_index = kNoIndex;
    if (!domain.controller.empty()) {
      const Computer* controller = FindComputer(domain.controller);
      if (controller == nullptr) {
        error =
            where + ".controller: " + Quote(domain.controller) + " is not a computer of the estate";
        return false;
      }
      domain.controller_index = IndexOf(*controller);
    }

    if (!domain.browse_list || domain.derived_browse_list) {
      domain.derived_browse_list = true;
      std::vector<BrowseEntry> entries;
      entries.reserve(members[d].size());
      for (std::uint32_t m : members[d]) entries.push_back({computers[m].name, std::nullopt, m});
      domain.browse_list = std::move(entries);
    }
    for (std::size_t e = 0; e < domain.browse_list->size(); ++e) {
      BrowseEntry& entry = (*domain.browse_list)[e];
      if (entry.info) {
        entry.info->name = entry.name;
        continue;
      }
      const Computer* listed = FindComputer(entry.name);
      if (listed == nullptr) {
        error = Indexed(where + ".browse_list", e) + ": " + Quote(entry.name) +
                " is not a computer of the estate; give its server information to list it";
        return false;
      }
      entry.computer = IndexOf(*listed);
    }

    if (!domain.computer_accounts || domain.derived_computer_accounts) {
      domain.derived_computer_accounts = true;
      std::vector<ComputerAccount> accounts;
      accounts.reserve(members[d].size());
      for (std::uint32_t m : members[d]) {
        const bool controller =
            m == domain.controller_index || (computers[m].server.type & kDomainControllerBits);
        ComputerAccount account;
        account.name = computers[m].name + "$";
        account.flags =
            controller ? platform::kUfServerTrustAccount : platform::kUfWorkstationTrustAccount;
        account.rid = kFirstComputerRid + static_cast<std::uint32_t>(accounts.size());
        accounts.push_back(std::move(account));
      }
      domain.computer_accounts = std::move(accounts);
    }
    for (auto& account : *domain.computer_accounts) {
      if (!account.name.ends_with('$')) account.name += '$';
    }
    std::stable_sort(domain.computer_accounts->begin(), domain.computer_accounts->end(),
                     [](const ComputerAccount& a, const ComputerAccount& b) {
                       return text::ToLower(a.name) < text::ToLower(b.name);
                     });
  }
  return true;
}

bool Estate::Finalize(std::string& error) {
  if (!IndexDomains(error) || !IndexComputers(error) || !ResolveDomainLists(error)) return false;
  local_index_ = kNoIndex;
  if (!local_computer.empty()) {
    const Computer* local = FindComputer(local_computer);
    if (local == nullptr) {
      error = "local_computer: " + Quote(local_computer) + " is not a computer of the estate";
      return false;
    }
    local_index_ = IndexOf(*local);
  }
  return true;
}

const Computer* Estate::FindComputer(std::string_view name) const {
  name = StripBackslashes(name);
  if (name.empty()) return nullptr;
  const auto it = computer_keys_.find(text::ToLower(name));
  return it == computer_keys_.end() ? nullptr : &computers[it->second];
}

const Domain* Estate::FindDomain(std::string_view name) const {
  if (name.empty()) return nullptr;
  const auto it = domain_keys_.find(text::ToLower(name));
  return it == domain_keys_.end() ? nullptr : &domains[it->second];
}

const Computer* Estate::LocalComputer() const {
  return local_index_ == kNoIndex ? nullptr : &computers[local_index_];
}

const Domain* Estate::DomainOf(const Computer& computer) const {
  return computer.domain_index == kNoIndex ? nullptr : &domains[computer.domain_index];
}

const Computer* Estate::ControllerOf(const Domain& domain) const {
  return domain.controller_index == kNoIndex ? nullptr : &computers[domain.controller_index];
}

}  // namespace tabulon::estate
