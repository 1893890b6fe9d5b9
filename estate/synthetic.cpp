#include "estate/synthetic.h"

#include <algorithm>
#include <numeric>

#include "estate/synthetic_services.h"
#include "estate/synthetic_users.h"
#include "platform/text.h"

namespace tabulon::estate {
namespace {

// splitmix64: the same sequence on every platform and library, unlike the
// standard distributions.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  std::uint32_t Below(std::uint32_t n) {
    return n == 0 ? 0 : static_cast<std::uint32_t>(Next() % n);
  }
  bool Chance(double rate) {
    return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0) < rate;
  }
  std::uint32_t Word() { return static_cast<std::uint32_t>(Next() >> 32); }

 private:
  std::uint64_t state_;
};

constexpr std::uint32_t kTypeWorkstation = 0x1;
constexpr std::uint32_t kTypeServer = 0x2;
constexpr std::uint32_t kTypePdc = 0x8;
constexpr std::uint32_t kTypeBdc = 0x10;
constexpr std::uint32_t kTypeTime = 0x20;
constexpr std::uint32_t kTypeNt = 0x1000;
constexpr std::uint32_t kTypeServerNt = 0x8000;
constexpr std::uint32_t kTypePotentialBrowser = 0x10000;
constexpr std::uint32_t kTypeMasterBrowser = 0x40000;
constexpr std::uint32_t kTypeDomainBrowser = 0x80000;

// "WS" and 7 with width 5 give "WS00007".
std::string Numbered(std::string_view prefix, std::uint32_t n, std::size_t width) {
  std::string digits = std::to_string(n);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return std::string(prefix) + digits;
}

platform::Sid DomainStyleSid(Random& random) {
  return platform::Sid{1, 5, {21, random.Word(), random.Word(), random.Word()}};
}

std::uint32_t DrawState(Random& random, const Service& service) {
  switch (service.start_type) {
    case 0:
    case 1:
      return kServiceRunning;
    case kServiceAutoStart:
      return random.Chance(0.95) ? kServiceRunning : kServiceStopped;
    case kServiceDemandStart:
      return random.Chance(0.25) ? kServiceRunning : kServiceStopped;
    default:
      return kServiceStopped;
  }
}

std::shared_ptr<const ServiceList> MakeProfile(Random& random, std::uint32_t count) {
  const auto templates = ServiceTemplates();
  std::vector<std::size_t> order(templates.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  for (std::size_t i = order.size(); i > 1; --i) {
    std::swap(order[i - 1], order[random.Below(static_cast<std::uint32_t>(i))]);
  }
  auto list = std::make_shared<ServiceList>();
  list->reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    Service service;
    if (i < order.size()) {
      const ServiceTemplate& t = templates[order[i]];
      service.name = t.name;
      service.display_name = t.display_name;
      service.type = t.type;
      service.start_type = t.start_type;
      service.account = t.account;
      service.binary_path = t.binary_path;
      if (!t.dependency.empty()) service.dependencies.emplace_back(t.dependency);
    } else {
      const std::uint32_t n = i - static_cast<std::uint32_t>(order.size()) + 1;
      service.name = Numbered("AppSvc", n, 4);
      service.display_name = Numbered("Application Service ", n, 0);
      service.start_type = random.Chance(0.5) ? kServiceAutoStart : kServiceDemandStart;
      service.binary_path = "\"C:\\Program Files\\" + Numbered("App", n, 4) + "\\service.exe\"";
    }
    service.state = DrawState(random, service);
    service.controls_accepted = service.state == kServiceRunning ? kServiceAcceptStop : 0;
    list->push_back(std::move(service));
  }
  // The service manager lists services by name.
  std::sort(list->begin(), list->end(), [](const Service& a, const Service& b) {
    return text::ToLower(a.name) < text::ToLower(b.name);
  });
  return list;
}

Domain MakeDomain(Random& random, std::uint32_t number, std::uint32_t users) {
  Domain domain;
  domain.name = Numbered("DOMAIN", number, 2);
  domain.dns_name = Numbered("domain", number, 2) + ".example";
  domain.sid = DomainStyleSid(random);
  const auto add = [&](std::string name, std::uint32_t rid, platform::SidNameUse use) {
    platform::Sid sid = *domain.sid;
    sid.sub_authorities.push_back(rid);
    Account account;
    account.name = std::move(name);
    account.sid = std::move(sid);
    account.use = use;
    domain.accounts.push_back(std::move(account));
  };
  add("Administrator", 500, platform::SidNameUse::kUser);
  add("Domain Admins", 512, platform::SidNameUse::kGroup);
  add("Domain Users", 513, platform::SidNameUse::kGroup);
  add("Domain Computers", 515, platform::SidNameUse::kGroup);
  for (std::uint32_t u = 1; u <= users; ++u) {
    add(Numbered("user", u, 5), 1100 + u, platform::SidNameUse::kUser);
  }
  return domain;
}

// The local groups every computer of `domain` shows: the built-in
// administrators and users with the domain's groups in them, then numbered
// groups of a few domain users each, one of them deleted.
std::shared_ptr<const GroupList> MakeLocalGroups(const Domain& domain, std::uint32_t count,
                                                 std::uint32_t users) {
  auto list = std::make_shared<GroupList>();
  const auto member = [&](std::uint32_t rid) {
    platform::Sid sid = *domain.sid;
    sid.sub_authorities.push_back(rid);
    return sid.ToString();
  };
  for (std::uint32_t g = 0; g < count; ++g) {
    Group group;
    if (g == 0) {
      group.name = "Administrators";
      group.members = {member(500), member(512)};
    } else if (g == 1) {
      group.name = "Users";
      group.members = {member(513)};
    } else {
      group.name = Numbered("Group", g - 1, 3);
      group.comment = "Synthetic group " + std::to_string(g - 1);
      for (std::uint32_t m = 0; m < kSyntheticMembersPerGroup && users > 0; ++m) {
        group.members.push_back(member(1101 + (g * kSyntheticMembersPerGroup + m) % users));
      }
      group.members.push_back(member(1100 + users + g));  // no longer there
    }
    list->push_back(std::move(group));
  }
  return list;
}

}  // namespace

SyntheticOptions BoundedOptions(SyntheticOptions o) {
  const auto bound = [](std::uint32_t& value, std::uint32_t low, std::uint64_t high) {
    value = static_cast<std::uint32_t>(std::clamp<std::uint64_t>(value, low, high));
  };
  bound(o.domains, 1, kMaxSyntheticDomains);
  bound(o.computers, 0, kMaxSyntheticComputers);
  bound(o.service_profiles, 1, kMaxSyntheticProfiles);
  bound(o.local_groups_per_computer, 0, kMaxSyntheticGroups);
  bound(o.users_per_domain, 0,
        std::min<std::uint64_t>(kMaxSyntheticUsers, kMaxSyntheticRecords / o.domains));
  // Every controller counts logons of every user of its domain.
  const std::uint64_t users =
      std::max<std::uint64_t>(std::uint64_t{o.users_per_domain} * o.domains, 1);
  bound(o.controllers_per_domain, 1,
        std::max<std::uint64_t>(
            1, std::min<std::uint64_t>(kMaxSyntheticControllers, kMaxSyntheticRecords / users)));
  const std::uint64_t per_profile = kMaxSyntheticRecords / o.service_profiles;
  bound(o.services_per_computer, 0, std::min<std::uint64_t>(kMaxSyntheticServices, per_profile));
  SyntheticResources& r = o.resources;
  bound(r.disks_per_computer, 0, kMaxSyntheticDisks);
  bound(r.shares_per_computer, 0, std::min<std::uint64_t>(kMaxSyntheticShares, per_profile));
  bound(r.transports_per_computer, 0, std::min<std::uint64_t>(kMaxSyntheticShares, per_profile));
  bound(r.sessions_per_computer, 0, std::min<std::uint64_t>(kMaxSyntheticListEntries, per_profile));
  bound(r.open_files_per_computer, 0,
        std::min<std::uint64_t>(kMaxSyntheticListEntries, per_profile));
  // Connections multiply with the shares (and the default shares of the
  // disks).
  const std::uint64_t shares = std::uint64_t{r.shares_per_computer} + r.disks_per_computer + 2;
  bound(r.connections_per_share, 0,
        std::min<std::uint64_t>(kMaxSyntheticShares, per_profile / shares));
  return o;
}

void GenerateEstate(const SyntheticOptions& requested, Estate& estate) {
  const SyntheticOptions options = BoundedOptions(requested);
  Random random(options.seed);
  const std::uint32_t domain_count = std::max<std::uint32_t>(options.domains, 1);
  const std::size_t first_domain = estate.domains.size();
  for (std::uint32_t d = 0; d < domain_count; ++d) {
    estate.domains.push_back(MakeDomain(random, d + 1, options.users_per_domain));
  }

  std::vector<std::shared_ptr<const GroupList>> local_groups;
  if (options.local_groups_per_computer > 0) {
    for (std::uint32_t d = 0; d < domain_count; ++d) {
      local_groups.push_back(MakeLocalGroups(estate.domains[first_domain + d],
                                             options.local_groups_per_computer,
                                             options.users_per_domain));
    }
  }

  std::vector<std::shared_ptr<const ServiceList>> profiles;
  const std::uint32_t profile_count = std::max<std::uint32_t>(options.service_profiles, 1);
  for (std::uint32_t p = 0; p < profile_count; ++p) {
    profiles.push_back(MakeProfile(random, options.services_per_computer));
  }
  std::vector<std::shared_ptr<const ServerResources>> resources;
  if (options.resources.any()) {
    for (std::uint32_t p = 0; p < profile_count; ++p) {
      resources.push_back(MakeResourceProfile(options.resources, p));
    }
  }

  estate.computers.reserve(estate.computers.size() + options.computers);
  std::uint32_t current_domain = kNoIndex;
  std::uint32_t in_domain = 0;  // position of the computer in its domain's block
  for (std::uint32_t n = 0; n < options.computers; ++n) {
    // Computers come in one block per domain; the first of a block is the
    // domain's controller.
    const auto d = static_cast<std::uint32_t>(std::uint64_t{n} * domain_count / options.computers);
    Domain& domain = estate.domains[first_domain + d];
    const bool controller = d != current_domain;
    in_domain = controller ? 0 : in_domain + 1;
    const bool backup = !controller && in_domain < options.controllers_per_domain;
    current_domain = d;
    const std::uint32_t number = n + 1;

    Computer c;
    c.server.platform_id = 500;
    if (controller) {
      c.name = Numbered("DC", number, 5);
      c.server.type = kTypeWorkstation | kTypeServer | kTypePdc | kTypeTime | kTypeNt |
                      kTypeServerNt | kTypeMasterBrowser | kTypeDomainBrowser;
      domain.controller = c.name;
    } else if (backup) {
      c.name = Numbered("DC", number, 5);
      c.server.type = kTypeWorkstation | kTypeServer | kTypeBdc | kTypeNt | kTypeServerNt;
    } else if (random.Chance(options.server_rate)) {
      c.name = Numbered("SRV", number, 5);
      c.server.type = kTypeWorkstation | kTypeServer | kTypeNt | kTypeServerNt;
    } else {
      c.name = Numbered("WS", number, 5);
      c.server.type = kTypeWorkstation | kTypeServer | kTypeNt | kTypePotentialBrowser;
    }
    const bool older = !controller && !backup && random.Chance(0.2);
    c.server.version_major = older ? 6 : 10;
    c.server.version_minor = older ? 1 : 0;
    if (controller || backup) {
      c.server.version_major = options.controller_version;
      c.server.version_minor = 0;
    }
    c.dns_name = text::ToLower(c.name) + "." + domain.dns_name;
    c.address = "10." + std::to_string((number >> 16) & 0xFF) + "." +
                std::to_string((number >> 8) & 0xFF) + "." + std::to_string(number & 0xFF);
    c.domain = domain.name;
    c.offline = !controller && !backup && random.Chance(options.offline_rate);
    if (options.max_ping_delay_ms > 0)
      c.ping.delay_ms = random.Below(options.max_ping_delay_ms + 1);
    c.services = profiles[random.Below(profile_count)];
    c.sid = DomainStyleSid(random);
    if (!resources.empty()) c.resources = resources[n % resources.size()];
    if (!local_groups.empty()) c.local_groups = local_groups[d];
    if (options.user_records && (controller || backup)) {
      if (!domain.users) domain.users = MakeUserRecords(domain);
      c.logon_counters = MakeLogonCounters(*domain.users, number);
    }
    estate.computers.push_back(std::move(c));
  }
}

}  // namespace tabulon::estate
