// What the exports cannot show: the members and local groups of generated
// estates (the paging of the group calls is every backend's contract).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sample_estate.h"

namespace tabulon::estate {
namespace {

TEST(EstateGroups, MembersOfGeneratedGroups) {
  auto backend = testing::BackendFrom(R"({"synthetic": {"computers": 2, "users_per_domain": 40,
                                          "local_groups_per_computer": 4, "offline_rate": 0,
                                          "server_rate": 0}})");
  auto session = backend->OpenSession("");
  platform::GroupService& groups = session->groups();
  const auto first = groups.NetLocalGroupGetMembers2("WS00002", "Group002", 1, 0);
  EXPECT_EQ(first.entries.size(), 1u) << "one entry at the smallest length";
  EXPECT_EQ(first.total_entries, 4u);
  EXPECT_EQ(first.entries.at(0).domain_and_name.rfind("DOMAIN01\\user", 0), 0u);
  // The last member of a numbered group no longer exists.
  const auto all = groups.NetLocalGroupGetMembers2("WS00002", "Group002", 0xFFFFFFFF, 0);
  EXPECT_EQ(all.entries.back().sid_usage, platform::SidNameUse::kDeletedAccount);
  EXPECT_EQ(all.entries.back().domain_and_name, all.entries.back().sid.ToString());

  // The controller answers from the domain, which has no local groups here.
  EXPECT_TRUE(groups.NetLocalGroupEnum1("DC00001", 0xFFFFFFFF, 0).entries.empty());
  const auto listed = groups.NetLocalGroupEnum1("WS00002", 0xFFFFFFFF, 0);
  ASSERT_EQ(listed.entries.size(), 4u);
  EXPECT_EQ(listed.entries[0].name, "Administrators");
}

}  // namespace
}  // namespace tabulon::estate
