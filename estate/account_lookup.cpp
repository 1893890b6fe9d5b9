#include "estate/account_lookup.h"

#include <optional>
#include <vector>

#include "estate/well_known_sids.h"
#include "platform/text.h"

namespace tabulon::estate {
namespace {

using platform::Sid;
using platform::SidNameUse;

struct Found {
  Sid sid;
  std::string domain;
  std::string name;
  SidNameUse use = SidNameUse::kNone;
};

// The account databases a computer consults, in order.
class Resolver {
 public:
  Resolver(const Estate& estate, const Computer* computer) : estate_(estate), computer_(computer) {}

  std::optional<Found> BySid(const Sid& sid) const {
    if (computer_ != nullptr) {
      if (auto found = InDatabase(computer_->name, computer_->sid, computer_->accounts, &sid, {})) {
        return found;
      }
    }
    for (const auto& wk : WellKnownAccounts()) {
      if (wk.sid == sid) return Found{wk.sid, std::string(wk.domain), std::string(wk.name), wk.use};
    }
    for (const Domain* domain : Domains()) {
      if (auto found = InDatabase(domain->name, domain->sid, domain->accounts, &sid, {})) {
        return found;
      }
    }
    return std::nullopt;
  }

  std::optional<Found> ByName(std::string_view account) const {
    std::optional<std::string_view> qualifier;
    if (const auto slash = account.find('\\'); slash != std::string_view::npos) {
      qualifier = account.substr(0, slash);
      account.remove_prefix(slash + 1);
    }
    const auto matches = [&](std::string_view database) {
      return !qualifier || text::EqualsNoCase(*qualifier, database);
    };
    if (computer_ != nullptr && matches(computer_->name)) {
      if (auto found =
              InDatabase(computer_->name, computer_->sid, computer_->accounts, nullptr, account)) {
        return found;
      }
    }
    for (const auto& wk : WellKnownAccounts()) {
      if (matches(wk.domain) && text::EqualsNoCase(wk.name, account)) {
        return Found{wk.sid, std::string(wk.domain), std::string(wk.name), wk.use};
      }
    }
    for (const Domain* domain : Domains()) {
      const bool named =
          !qualifier || text::EqualsNoCase(*qualifier, domain->name) ||
          (!domain->dns_name.empty() && text::EqualsNoCase(*qualifier, domain->dns_name));
      if (!named) continue;
      if (auto found = InDatabase(domain->name, domain->sid, domain->accounts, nullptr, account)) {
        return found;
      }
      if (!qualifier && domain->sid && text::EqualsNoCase(domain->dns_name, account)) {
        return Found{*domain->sid, domain->name, domain->name, SidNameUse::kDomain};
      }
    }
    return std::nullopt;
  }

 private:
  // One account database: the accounts of a domain or computer and the SID
  // of the database itself, which resolves to its own name.
  static std::optional<Found> InDatabase(const std::string& database,
                                         const std::optional<Sid>& database_sid,
                                         const std::vector<Account>& accounts, const Sid* sid,
                                         std::string_view name) {
    for (const Account& account : accounts) {
      if (sid != nullptr ? account.sid == *sid : text::EqualsNoCase(account.name, name)) {
        return Found{account.sid, database, account.name, account.use};
      }
    }
    if (database_sid &&
        (sid != nullptr ? *database_sid == *sid : text::EqualsNoCase(database, name))) {
      return Found{*database_sid, database, database, SidNameUse::kDomain};
    }
    return std::nullopt;
  }

  // The computer's own domain first, then the others in estate order.
  std::vector<const Domain*> Domains() const {
    std::vector<const Domain*> out;
    const Domain* own = computer_ != nullptr ? estate_.DomainOf(*computer_) : nullptr;
    if (own != nullptr) out.push_back(own);
    for (const Domain& domain : estate_.domains) {
      if (&domain != own) out.push_back(&domain);
    }
    return out;
  }

  const Estate& estate_;
  const Computer* computer_;
};

ResolvedAccount Resolved(Found found) {
  return {std::move(found.sid), std::move(found.domain), std::move(found.name), found.use};
}

}  // namespace

std::optional<ResolvedAccount> ResolveSidOn(const Estate& estate, const Computer* computer,
                                            const platform::Sid& sid) {
  auto found = Resolver(estate, computer).BySid(sid);
  if (!found) return std::nullopt;
  return Resolved(std::move(*found));
}

std::optional<ResolvedAccount> ResolveNameOn(const Estate& estate, const Computer* computer,
                                             std::string_view account) {
  auto found = Resolver(estate, computer).ByName(account);
  if (!found) return std::nullopt;
  return Resolved(std::move(*found));
}

template <typename DetailFn>
win::Status EstateAccountLookup::Reach(Operation op, std::string_view system,
                                       const Computer* computer, DetailFn&& detail) {
  // No system: this computer looks up, and always answers.
  Destination to = sim_.ToComputer(computer);
  to.reachable |= StripBackslashes(system).empty();
  return sim_.Reach(session_, op, system, detail, to, win::RPC_S_SERVER_UNAVAILABLE);
}

platform::AccountOfSid EstateAccountLookup::LookupAccountSid(std::string_view system,
                                                             const platform::Sid& sid) {
  const Estate& estate = sim_.estate();
  platform::AccountOfSid result;
  const Computer* computer = estate.FindServer(system);
  result.status = Reach(Operation::kLookupAccountSid, system, computer,
                        [&] { return "sid=" + sid.ToString(); });
  if (result.status != win::ERROR_SUCCESS) return result;
  const auto found = Resolver(estate, computer).BySid(sid);
  if (!found) {
    result.status = win::ERROR_NONE_MAPPED;
    return result;
  }
  result.name = found->name;
  result.domain = found->domain;
  result.use = found->use;
  return result;
}

platform::SidOfAccount EstateAccountLookup::LookupAccountName(std::string_view system,
                                                              std::string_view account,
                                                              std::uint32_t sid_buffer_size) {
  const Estate& estate = sim_.estate();
  platform::SidOfAccount result;
  const Computer* computer = estate.FindServer(system);
  result.status = Reach(Operation::kLookupAccountName, system, computer, [&] {
    return "account=" + std::string(account) + " size=" + std::to_string(sid_buffer_size);
  });
  if (result.status != win::ERROR_SUCCESS) return result;
  const auto found = Resolver(estate, computer).ByName(account);
  if (!found) {
    result.status = win::ERROR_NONE_MAPPED;
    return result;
  }
  if (sid_buffer_size < found->sid.ByteSize()) {
    result.status = win::ERROR_INSUFFICIENT_BUFFER;
    result.required_sid_size = found->sid.ByteSize();
    return result;
  }
  result.sid = found->sid;
  result.domain = found->domain;
  result.use = found->use;
  return result;
}

}  // namespace tabulon::estate
