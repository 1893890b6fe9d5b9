// What the exports cannot show: the paging of the group calls and the local
// groups of generated estates.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sample_estate.h"

namespace tabulon::estate {
namespace {

TEST(EstateGroups, MemberListsPageByPreferredLength) {
  auto backend = testing::BackendFrom(R"({"synthetic": {"computers": 2, "users_per_domain": 40,
                                          "local_groups_per_computer": 4, "offline_rate": 0,
                                          "server_rate": 0}})");
  auto session = backend->OpenSession("");
  platform::GroupService& groups = session->groups();
  // One entry per page at the smallest length; the resume handle goes on.
  std::vector<std::string> names;
  std::uint32_t resume = 0;
  for (int page = 0; page < 10; ++page) {
    const auto result = groups.NetLocalGroupGetMembers2("WS00002", "Group002", 1, resume);
    ASSERT_TRUE(result.status == win::ERROR_SUCCESS || result.status == win::ERROR_MORE_DATA);
    ASSERT_EQ(result.entries.size(), 1u);
    EXPECT_EQ(result.total_entries, 4u);
    names.push_back(result.entries[0].domain_and_name);
    if (result.status == win::ERROR_SUCCESS) break;
    resume = result.resume_handle;
  }
  ASSERT_EQ(names.size(), 4u);
  EXPECT_EQ(names[0].rfind("DOMAIN01\\user", 0), 0u) << names[0];
  // The last member of a numbered group no longer exists.
  const auto all = groups.NetLocalGroupGetMembers2("WS00002", "Group002", 0xFFFFFFFF, 0);
  EXPECT_EQ(all.entries.back().sid_usage, platform::SidNameUse::kDeletedAccount);
  EXPECT_EQ(all.entries.back().domain_and_name, all.entries.back().sid.ToString());

  // The controller answers from the domain, which has no local groups here.
  EXPECT_TRUE(groups.NetLocalGroupEnum1("DC00001", 0xFFFFFFFF, 0).entries.empty());
  const auto listed = groups.NetLocalGroupEnum1("WS00002", 0xFFFFFFFF, 0);
  ASSERT_EQ(listed.entries.size(), 4u);
  EXPECT_EQ(listed.entries[0].name, "Administrators");
  EXPECT_EQ(groups.NetLocalGroupGetMembers2("WS00002", "Nope", 0xFFFFFFFF, 0).status,
            win::NERR_GroupNotFound);
}

}  // namespace
}  // namespace tabulon::estate
