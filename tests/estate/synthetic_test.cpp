#include "estate/synthetic.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/text.h"
#include "sample_estate.h"

namespace tabulon::estate {
namespace {

// Everything a backend can report about a computer, as one text.
std::string Describe(const Estate& estate) {
  std::string out;
  for (const Domain& d : estate.domains) {
    out += d.name + " " + d.dns_name + " " + d.controller + " " + d.sid->ToString() + "\n";
  }
  for (const Computer& c : estate.computers) {
    out += c.name + " " + c.dns_name + " " + c.address + " " + c.domain + " " +
           std::to_string(c.offline) + " " + std::to_string(c.ping.delay_ms) + " " +
           std::to_string(c.server.type) + " " + std::to_string(c.server.version_major) + " " +
           c.sid->ToString() + ":";
    for (const Service& s : *c.services) {
      out += " " + s.name + "/" + std::to_string(s.state) + "/" + std::to_string(s.start_type);
    }
    out += "\n";
  }
  return out;
}

Estate Generate(const std::string& options) {
  LoadResult loaded = ParseEstate(R"({"synthetic": )" + options + "}", "synthetic.json");
  EXPECT_TRUE(loaded.ok) << loaded.error;
  return std::move(loaded.estate);
}

TEST(EstateSynthetic, SameOptionsGiveTheSameEstate) {
  const std::string options =
      R"({"seed": 7, "domains": 3, "computers": 300, "services_per_computer": 60,
          "max_ping_delay_ms": 20})";
  const std::string first = Describe(Generate(options));
  EXPECT_EQ(first, Describe(Generate(options)));
  EXPECT_NE(first, Describe(Generate(R"({"seed": 8, "domains": 3, "computers": 300,
                                         "services_per_computer": 60, "max_ping_delay_ms": 20})")));
}

TEST(EstateSynthetic, ExplicitComputersJoinGeneratedDomains) {
  auto backend = testing::BackendFrom(R"({
    "synthetic": {"computers": 5, "services_per_computer": 10, "offline_rate": 0},
    "computers": [{"name": "EXTRA", "domain": "DOMAIN01"}]})");
  auto p = backend->OpenSession("");
  const auto list = p->browser().NetServerEnum101("DOMAIN01", platform::kSvTypeAll,
                                                  platform::kMaxPreferredLength, 0);
  ASSERT_EQ(list.entries.size(), 6u);
  EXPECT_EQ(list.entries.back().name, "EXTRA");

  const auto manager = p->services().OpenSCManager(list.entries[1].name, 4);
  const auto services = p->services().EnumServicesStatus(manager.handle, 0x33, 3, 65536, 0);
  EXPECT_EQ(services.status, win::ERROR_SUCCESS);
  ASSERT_EQ(services.services.size(), 10u);
  for (std::size_t i = 1; i < services.services.size(); ++i) {
    EXPECT_LT(text::ToLower(services.services[i - 1].service_name),
              text::ToLower(services.services[i].service_name))
        << "listed by name, as the service manager does";
  }
  p->services().CloseServiceHandle(manager.handle);
}

TEST(EstateSynthetic, SizesAreBoundedInTotal) {
  constexpr std::uint32_t kHuge = 0xFFFFFFFFu;
  SyntheticOptions asked;
  asked.domains = kHuge;
  asked.computers = kHuge;
  asked.services_per_computer = kHuge;
  asked.service_profiles = kHuge;
  asked.users_per_domain = kHuge;
  asked.resources = {kHuge, kHuge, kHuge, kHuge, kHuge, kHuge};
  const SyntheticOptions o = BoundedOptions(asked);
  EXPECT_EQ(o.domains, kMaxSyntheticDomains);
  EXPECT_EQ(o.computers, kMaxSyntheticComputers);
  EXPECT_EQ(o.service_profiles, kMaxSyntheticProfiles);
  EXPECT_EQ(o.resources.disks_per_computer, kMaxSyntheticDisks);
  const std::uint64_t profiles = o.service_profiles;
  EXPECT_LE(std::uint64_t{o.users_per_domain} * o.domains, kMaxSyntheticRecords);
  EXPECT_LE(o.services_per_computer * profiles, kMaxSyntheticRecords);
  EXPECT_LE(o.resources.sessions_per_computer * profiles, kMaxSyntheticRecords);
  EXPECT_LE(o.resources.open_files_per_computer * profiles, kMaxSyntheticRecords);
  EXPECT_LE(std::uint64_t{o.resources.connections_per_share} *
                (o.resources.shares_per_computer + o.resources.disks_per_computer + 2) * profiles,
            kMaxSyntheticRecords);
  // Sizes within the limits stay as they are.
  SyntheticOptions small;
  small.users_per_domain = 20;
  EXPECT_EQ(BoundedOptions(small).users_per_domain, 20u);
  EXPECT_EQ(BoundedOptions(small).services_per_computer, small.services_per_computer);
}

}  // namespace
}  // namespace tabulon::estate
