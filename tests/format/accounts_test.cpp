#include "format/accounts.h"

#include <gtest/gtest.h>

#include "mocks.h"

namespace tabulon::format {
namespace {

using ::testing::_;
using ::testing::InSequence;
using ::testing::Return;
using ::testing::StrictMock;

platform::Sid Administrators() {
  return platform::Sid::Parse("S-1-5-32-544").value();
}

platform::AccountOfSid Found(const char* domain, const char* name) {
  return platform::AccountOfSid{win::ERROR_SUCCESS, name, domain, platform::SidNameUse::kAlias};
}

platform::AccountOfSid NotFound() {
  platform::AccountOfSid out;
  out.status = win::ERROR_NONE_MAPPED;
  out.name = "leftover";
  out.use = platform::SidNameUse::kUnknown;
  return out;
}

platform::SidOfAccount SidFound(const char* sid) {
  platform::SidOfAccount out;
  out.sid = platform::Sid::Parse(sid).value();
  return out;
}

platform::SidOfAccount SidFailed(win::Status status, std::uint32_t required = 0) {
  platform::SidOfAccount out;
  out.status = status;
  out.required_sid_size = required;
  return out;
}

TEST(ResolveSid, RetriesOnTheLocalComputer) {
  StrictMock<MockAccountLookup> accounts;
  InSequence order;
  EXPECT_CALL(accounts, LookupAccountSid(std::string_view("PC1"), _)).WillOnce(Return(NotFound()));
  EXPECT_CALL(accounts, LookupAccountSid(std::string_view(""), _))
      .WillOnce(Return(Found("CORP", "alice")));
  const ResolvedSid r = ResolveSid(accounts, "PC1", Administrators());
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.domain, "CORP");
  EXPECT_EQ(r.name, "alice");
}

TEST(ResolveSid, FailureKeepsNamesEmpty) {
  StrictMock<MockAccountLookup> accounts;
  EXPECT_CALL(accounts, LookupAccountSid(_, _)).Times(2).WillRepeatedly(Return(NotFound()));
  const ResolvedSid r = ResolveSid(accounts, "PC1", Administrators());
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.status, win::ERROR_NONE_MAPPED);
  EXPECT_EQ(r.name, "");
  EXPECT_EQ(r.domain, "");
  EXPECT_EQ(r.use, platform::SidNameUse::kUnknown);
}

TEST(ResolveAccountName, GrowsTheSidBufferToTheReportedSize) {
  StrictMock<MockAccountLookup> accounts;
  InSequence order;
  EXPECT_CALL(accounts, LookupAccountName(std::string_view("PC1"), std::string_view("alice"), 128))
      .WillOnce(Return(SidFailed(win::ERROR_INSUFFICIENT_BUFFER, 200)));
  EXPECT_CALL(accounts, LookupAccountName(std::string_view("PC1"), std::string_view("alice"), 200))
      .WillOnce(Return(SidFound("S-1-5-21-1-2-3-1001")));
  const ResolvedAccount r = ResolveAccountName(accounts, "PC1", "alice");
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.sid.ToString(), "S-1-5-21-1-2-3-1001");
}

TEST(ResolveAccountName, StopsOnOtherErrorsAndOnSizesThatDoNotGrow) {
  struct Case {
    platform::SidOfAccount reply;
    win::Status status;
  } cases[] = {
      {SidFailed(win::ERROR_NONE_MAPPED), win::ERROR_NONE_MAPPED},
      {SidFailed(win::ERROR_INSUFFICIENT_BUFFER, 128), win::ERROR_INSUFFICIENT_BUFFER},
      {SidFailed(win::ERROR_INSUFFICIENT_BUFFER, 0), win::ERROR_INSUFFICIENT_BUFFER},
  };
  for (const auto& c : cases) {
    StrictMock<MockAccountLookup> accounts;
    EXPECT_CALL(accounts, LookupAccountName(_, _, 128)).WillOnce(Return(c.reply));
    const ResolvedAccount r = ResolveAccountName(accounts, "", "nobody");
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.status, c.status);
  }
}

TEST(SidStringToAccount, ReplacesOnlyResolvedSids) {
  StrictMock<MockAccountLookup> accounts;
  EXPECT_CALL(accounts, LookupAccountSid(std::string_view("PC1"), Administrators()))
      .WillOnce(Return(Found("BUILTIN", "Administrators")));
  std::string text = "S-1-5-32-544";
  EXPECT_TRUE(SidStringToAccount(accounts, "PC1", text));
  EXPECT_EQ(text, "BUILTIN\\Administrators");

  // Not a SID: no lookup at all.
  text = "Everyone";
  EXPECT_FALSE(SidStringToAccount(accounts, "PC1", text));
  EXPECT_EQ(text, "Everyone");

  EXPECT_CALL(accounts, LookupAccountSid(_, _)).Times(2).WillRepeatedly(Return(NotFound()));
  text = "S-1-5-21-9-9-9-500";
  EXPECT_FALSE(SidStringToAccount(accounts, "PC1", text));
  EXPECT_EQ(text, "S-1-5-21-9-9-9-500");
}

TEST(AccountSidString, FallbackTexts) {
  StrictMock<MockAccountLookup> accounts;
  FormatSettings old_windows;
  old_windows.local_major_version = 4;
  EXPECT_EQ(AccountSidString(accounts, "PC1", "alice", old_windows), "NO_FORMAT");

  EXPECT_CALL(accounts, LookupAccountName(_, std::string_view("alice"), _))
      .WillOnce(Return(SidFound("S-1-5-21-1-2-3-500")));
  EXPECT_CALL(accounts, LookupAccountName(_, std::string_view("ghost"), _))
      .WillOnce(Return(SidFailed(win::ERROR_NONE_MAPPED)));
  FormatSettings current;
  current.local_major_version = 5;
  EXPECT_EQ(AccountSidString(accounts, "PC1", "alice", current), "S-1-5-21-1-2-3-500");
  EXPECT_EQ(AccountSidString(accounts, "PC1", "ghost", current), "ERROR");
}

}  // namespace
}  // namespace tabulon::format
