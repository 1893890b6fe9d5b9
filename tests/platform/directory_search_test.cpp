// What the directory family does for every backend: LDAP results as the
// statuses a Windows caller sees, and ranged attributes made whole.
#include <gtest/gtest.h>

#include <string>

#include "platform/directory_ranges.h"
#include "platform/directory_status.h"

namespace tabulon::platform {
namespace {

TEST(DirectoryStatusTest, LdapResultsBecomeTheDirectoryInterfacesStatuses) {
  struct Case {
    int ldap;
    win::Status status;
    win::Status extended;
  } cases[] = {
      {kLdapSuccess, win::ERROR_SUCCESS, win::ERROR_SUCCESS},
      {kLdapInvalidCredentials, 0x8007052E, win::ERROR_LOGON_FAILURE},
      {kLdapNoSuchObject, 0x80072030, win::ERROR_DS_NO_SUCH_OBJECT},
      {kLdapServerDown, 0x8007203A, win::ERROR_DS_SERVER_DOWN},
      {kLdapConnectError, 0x8007203A, win::ERROR_DS_SERVER_DOWN},
      {kLdapTimeout, 0x800705B4, win::ERROR_TIMEOUT},
      {kLdapFilterError, win::E_ADS_INVALID_FILTER, win::ERROR_DS_FILTER_UNKNOWN},
      {kLdapUserCancelled, 0x800704C7, win::ERROR_CANCELLED},
      {123, win::E_FAIL, win::ERROR_DS_OPERATIONS_ERROR},
  };
  for (const Case& c : cases) {
    const DirectoryStatus status = DirectoryStatusFromLdap(c.ldap, "");
    EXPECT_EQ(status.status, c.status) << c.ldap;
    EXPECT_EQ(status.extended_code, c.extended) << c.ldap;
    // A failure always says something in its extended error.
    EXPECT_EQ(status.extended_text.empty(), c.ldap == kLdapSuccess) << c.ldap;
  }
  EXPECT_EQ(DirectoryStatusFromLdap(kLdapUnwillingToPerform, "00002024: SvcErr").extended_text,
            "00002024: SvcErr");
}

TEST(DirectoryRangesTest, RangeOptionsAreReadOrRefused) {
  const auto range = ParseAttributeRange("member;Range=1500-2999");
  ASSERT_TRUE(range);
  EXPECT_EQ(range->attribute, "member");
  EXPECT_EQ(range->low, 1500u);
  EXPECT_EQ(range->high, 2999u);
  EXPECT_FALSE(range->last);
  EXPECT_TRUE(ParseAttributeRange("member;range=3000-*")->last);
  for (const char* name : {"member", ";range=0-1", "member;range=5-2", "member;range=x-1",
                           "member;range=1", "member;range=0-"}) {
    EXPECT_FALSE(ParseAttributeRange(name)) << name;
  }
}

// A server that gives `total` values of "member" in slices of `slice`.
struct SlicingServer {
  int total;
  int slice;
  int fetches = 0;

  DirectoryStatus Fetch(std::string_view dn, std::string_view name, DirectoryAttribute& out) {
    ++fetches;
    EXPECT_EQ(dn, "CN=G");
    const auto asked = ParseAttributeRange(name);
    EXPECT_TRUE(asked && asked->last);
    const int low = static_cast<int>(asked->low);
    const int high = std::min(total, low + slice) - 1;
    out.name = "member;range=" + std::to_string(low) + "-" +
               (high == total - 1 ? std::string("*") : std::to_string(high));
    for (int i = low; i <= high; ++i) out.values.push_back(std::to_string(i));
    return {};
  }
};

TEST(DirectoryRangesTest, RangedAttributesAreReadToTheEnd) {
  SlicingServer server{3200, 1500};
  DirectoryEntry entry;
  entry.dn = "CN=G";
  entry.attributes.push_back({"cn", DirectoryValueKind::kUnknown, {"G"}});
  DirectoryAttribute first{"member;range=0-1499", DirectoryValueKind::kUnknown, {}};
  for (int i = 0; i < 1500; ++i) first.values.push_back(std::to_string(i));
  entry.attributes.push_back(first);

  const DirectoryStatus status =
      CompleteRanges(entry, [&](std::string_view dn, std::string_view name,
                                DirectoryAttribute& out) { return server.Fetch(dn, name, out); });
  ASSERT_TRUE(status.ok());
  EXPECT_EQ(server.fetches, 2);
  const DirectoryAttribute* member = entry.Find("member");
  ASSERT_NE(member, nullptr);
  ASSERT_EQ(member->values.size(), 3200u);
  EXPECT_EQ(member->values[1500], "1500");
  EXPECT_EQ(member->values.back(), "3199");
}

TEST(DirectoryRangesTest, ASliceThatDoesNotContinueIsAnErrorNotALoop) {
  DirectoryEntry entry{"CN=G", {{"member;range=0-9", DirectoryValueKind::kUnknown, {"a"}}}};
  const DirectoryStatus status =
      CompleteRanges(entry, [](std::string_view, std::string_view, DirectoryAttribute& out) {
        out.name = "member;range=0-9";  // the same slice again
        return DirectoryStatus{};
      });
  EXPECT_EQ(status.status, DirectoryHresult(win::ERROR_DS_DECODING_ERROR));
}

}  // namespace
}  // namespace tabulon::platform
