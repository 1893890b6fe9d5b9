#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sample_estate.h"

namespace tabulon::estate {
namespace {

using platform::kMaxPreferredLength;
using platform::kSvTypeAll;

class NetworkManagementTest : public ::testing::Test {
 protected:
  std::unique_ptr<EstateBackend> backend_ = testing::SampleBackend();
  std::unique_ptr<EstateSession> platform_;
  void SetUp() override { platform_ = backend_->OpenSession(""); }
};

TEST_F(NetworkManagementTest, UnreachableServersGiveBadNetpath) {
  EXPECT_EQ(platform_->server().NetServerGetInfo101("\\\\NOSUCH").status, win::ERROR_BAD_NETPATH);
  EXPECT_EQ(platform_->server().NetServerGetInfo101("\\\\FWWS02").status, win::ERROR_BAD_NETPATH)
      << "offline";
  EXPECT_EQ(platform_->server().NetServerGetInfo101("\\\\OLDFAX").status, win::ERROR_BAD_NETPATH)
      << "only in a browse list";
}

std::vector<std::string> Names(const std::vector<platform::ServerInfo101>& entries) {
  std::vector<std::string> names;
  for (const auto& e : entries) names.push_back(e.name);
  return names;
}

TEST_F(NetworkManagementTest, BrowseListPagesAreSizedAsWindowsSizesThem) {
  // SERVER_INFO_101 is 24 bytes; "FWDC01" and "Head office controller" add
  // 14 and 46 bytes: 84 in all. A 100-byte page holds only that entry.
  const auto page = platform_->browser().NetServerEnum101("FERNWOOD", kSvTypeAll, 100, 0);
  EXPECT_EQ(page.status, win::ERROR_MORE_DATA);
  EXPECT_EQ(Names(page.entries), (std::vector<std::string>{"FWDC01"}));
  EXPECT_EQ(page.resume_handle, 1u);
  const auto all = platform_->browser().NetServerEnum101("FERNWOOD", kSvTypeAll, 100000, 0);
  EXPECT_EQ(Names(all.entries),
            (std::vector<std::string>{"FWDC01", "FWWS01", "FWWS02", "FWSRV01", "ADMIN01"}));
}

TEST_F(NetworkManagementTest, DisplayMachinesComeSortedFromTheController) {
  const auto result = platform_->accounts().NetQueryDisplayMachines("\\\\FWDC01", 0, 1000, 128000);
  EXPECT_EQ(result.status, win::ERROR_SUCCESS);
  std::vector<std::string> names;
  for (const auto& e : result.entries) names.push_back(e.name);
  EXPECT_EQ(names,
            (std::vector<std::string>{"ADMIN01$", "FWDC01$", "FWSRV01$", "FWWS01$", "FWWS02$"}))
      << "derived from the domain's computers";

  const auto harbor = platform_->accounts().NetQueryDisplayMachines("HBDC01", 0, 1000, 128000);
  ASSERT_EQ(harbor.entries.size(), 2u);
  EXPECT_EQ(harbor.entries[1].name, "OLDFAX$") << "a missing $ is added";

  EXPECT_TRUE(
      platform_->accounts().NetQueryDisplayMachines("FWWS01", 0, 1000, 128000).entries.empty())
      << "a member computer's own database has no machine accounts";
  EXPECT_EQ(platform_->accounts().NetQueryDisplayMachines("NOSUCH", 0, 1000, 128000).status,
            win::ERROR_BAD_NETPATH);
}

// `count` pages of `size` entries, then the remainder, then the empty page
// that ends the listing.
std::vector<std::size_t> Pages(std::size_t count, std::size_t size, std::size_t rest) {
  std::vector<std::size_t> pages(count, size);
  if (rest > 0) pages.push_back(rest);
  pages.push_back(0);
  return pages;
}

TEST(EstateNetworkManagement, DisplayMachinesPageAtOneHundredAndByBytes) {
  auto backend = testing::BackendFrom(
      R"({"synthetic": {"computers": 250, "offline_rate": 0, "server_rate": 0}})");
  auto platform = backend->OpenSession("");
  struct Case {
    std::uint32_t requested;
    std::uint32_t max_length;
    std::vector<std::size_t> pages;
  };
  // NET_DISPLAY_MACHINE is 20 bytes; a name like "WS00002$" adds 18 and the
  // empty comment 2: 40 bytes an entry.
  const Case cases[] = {
      {1000, 128000, Pages(2, 100, 50)}, {30, kMaxPreferredLength, Pages(8, 30, 10)},
      {1000, 4000, Pages(2, 100, 50)},   {1000, 3999, Pages(2, 99, 52)},
      {1000, 400, Pages(25, 10, 0)},     {1000, 1, Pages(250, 1, 0)},  // at least one entry a call
  };
  for (const Case& c : cases) {
    std::vector<std::size_t> sizes;
    std::uint32_t index = 0;
    std::size_t total = 0;
    for (int guard = 0; guard < 300; ++guard) {
      const auto page =
          platform->accounts().NetQueryDisplayMachines("DC00001", index, c.requested, c.max_length);
      sizes.push_back(page.entries.size());
      total += page.entries.size();
      if (page.entries.empty()) break;
      EXPECT_EQ(page.status, total < 250 ? win::ERROR_MORE_DATA : win::ERROR_SUCCESS);
      index = page.entries.back().next_index;
    }
    EXPECT_EQ(sizes, c.pages) << c.requested << " " << c.max_length;
  }
}

}  // namespace
}  // namespace tabulon::estate
