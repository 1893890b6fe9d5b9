// The local security authority and account lookups on this computer, and
// the decoding of what the LSA returns, made by hand.
#include "platform/win32/lsa_policy.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/account_lookup.h"

// After the platform's headers, whose names it would take for macros.
#include <windows.h>
// After <windows.h>, which it needs.
#include <ntsecapi.h>

#undef LookupAccountName
#undef LookupAccountSid
#undef LookupPrivilegeDisplayName

namespace tabulon::platform {
namespace {

constexpr win::Status Win(long error) {
  return static_cast<win::Status>(error);
}

Sid SidOf(const char* text) {
  return *Sid::Parse(text);
}

class Win32Lsa : public ::testing::Test {
 protected:
  BoundedCalls calls_{std::chrono::seconds(60), CancelToken()};
  win32::Win32LsaPolicy lsa_{calls_};
  win32::Win32AccountLookup lookup_{calls_};
};

TEST_F(Win32Lsa, WellKnownAccountsBothWays) {
  const AccountOfSid admins = lookup_.LookupAccountSid("", SidOf("S-1-5-32-544"));
  ASSERT_EQ(admins.status, Win(ERROR_SUCCESS));
  EXPECT_EQ(admins.name, "Administrators");
  EXPECT_EQ(admins.domain, "BUILTIN");
  EXPECT_EQ(admins.use, SidNameUse::kAlias);
  EXPECT_EQ(lookup_.LookupAccountSid("", SidOf("S-1-5-21-1-2-3-999999")).status,
            Win(ERROR_NONE_MAPPED));

  // The SID buffer is the caller's to size.
  const SidOfAccount sizing = lookup_.LookupAccountName("", "Administrators", 8);
  ASSERT_EQ(sizing.status, Win(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(sizing.required_sid_size, 16u);
  const SidOfAccount found = lookup_.LookupAccountName("", "Administrators", 16);
  ASSERT_EQ(found.status, Win(ERROR_SUCCESS));
  EXPECT_EQ(found.sid.ToString(), "S-1-5-32-544");
  EXPECT_EQ(found.domain, "BUILTIN");
  EXPECT_EQ(found.use, SidNameUse::kAlias);
}

TEST_F(Win32Lsa, PolicyHandleAndAuditEvents) {
  const LsaOpenResult policy = lsa_.OpenPolicy(
      "", kPolicyViewAuditInformation | kPolicyViewLocalInformation | kPolicyLookupNames);
  ASSERT_EQ(policy.status, nt::STATUS_SUCCESS);
  EXPECT_EQ(lsa_.QueryAuditEvents(policy.handle, 3).status, nt::STATUS_INVALID_INFO_CLASS);
  const AuditEventsResult audit =
      lsa_.QueryAuditEvents(policy.handle, kPolicyAuditEventsInformation);
  // Wine answers auditing off with no options; Windows with one option
  // for each of its nine event types.
  ASSERT_EQ(audit.status, nt::STATUS_SUCCESS);
  EXPECT_LE(audit.info.event_auditing_options.size(), win32::kMaxAuditEventCount);
  const AccountsWithRightResult holders =
      lsa_.EnumerateAccountsWithUserRight(policy.handle, "SeBackupPrivilege");
  // Nobody holds it in a fresh prefix, or somebody does: never a success
  // with nobody.
  if (holders.status == nt::STATUS_SUCCESS) {
    EXPECT_FALSE(holders.sids.empty());
  } else {
    EXPECT_EQ(holders.status, nt::STATUS_NO_MORE_ENTRIES);
  }
  EXPECT_EQ(lsa_.Close(policy.handle), nt::STATUS_SUCCESS);
  EXPECT_EQ(lsa_.Close(policy.handle), static_cast<nt::Status>(STATUS_INVALID_HANDLE));
  EXPECT_EQ(lsa_.EnumerateAccountsWithUserRight(policy.handle, "SeBackupPrivilege").status,
            static_cast<nt::Status>(STATUS_INVALID_HANDLE));
}

TEST_F(Win32Lsa, PrivilegeDisplayNameSizedByTheCaller) {
  const PrivilegeDisplayNameResult small =
      lsa_.LookupPrivilegeDisplayName("", "SeShutdownPrivilege", 4);
  if (small.status == Win(ERROR_NOT_SUPPORTED)) GTEST_SKIP() << "a stub under Wine";
  ASSERT_EQ(small.status, Win(ERROR_INSUFFICIENT_BUFFER));
  ASSERT_GT(small.required_chars, 4u);
  const PrivilegeDisplayNameResult name =
      lsa_.LookupPrivilegeDisplayName("", "SeShutdownPrivilege", small.required_chars);
  ASSERT_EQ(name.status, Win(ERROR_SUCCESS));
  EXPECT_EQ(name.display_name.size() + 1, small.required_chars);
  EXPECT_EQ(lsa_.LookupPrivilegeDisplayName("", "SeNetworkLogonRight", 256).status,
            Win(ERROR_NO_SUCH_PRIVILEGE));
}

// SIDs in their binary form, as the LSA hands them over.
std::vector<std::uint8_t> BytesOf(const char* text) {
  std::vector<std::uint8_t> bytes;
  SidOf(text).AppendBytes(bytes);
  return bytes;
}

TEST(Win32LsaRecords, AccountsWithRightAreValidSidsWithinTheBound) {
  std::vector<std::uint8_t> first = BytesOf("S-1-5-32-544");
  std::vector<std::uint8_t> second = BytesOf("S-1-5-21-10-20-30-1001");
  LSA_ENUMERATION_INFORMATION entries[2] = {{first.data()}, {second.data()}};
  std::vector<Sid> sids;
  ASSERT_EQ(win32::DecodeAccountsWithRight(entries, 2, sids), nt::STATUS_SUCCESS);
  ASSERT_EQ(sids.size(), 2u);
  EXPECT_EQ(sids[1].ToString(), "S-1-5-21-10-20-30-1001");

  const nt::Status bad = nt::FromWinError(Win(RPC_X_BAD_STUB_DATA));
  EXPECT_EQ(win32::DecodeAccountsWithRight(entries, win32::kMaxAccountsWithRight + 1, sids), bad);
  EXPECT_EQ(win32::DecodeAccountsWithRight(nullptr, 1, sids), bad);
  EXPECT_EQ(win32::DecodeAccountsWithRight(entries, 0, sids), bad);
  second[1] = 16;  // more sub-authorities than a SID has
  EXPECT_EQ(win32::DecodeAccountsWithRight(entries, 2, sids), bad);
  EXPECT_TRUE(sids.empty());
  entries[1].Sid = nullptr;
  EXPECT_EQ(win32::DecodeAccountsWithRight(entries, 2, sids), bad);
}

TEST(Win32LsaRecords, AuditOptionsWithinTheBound) {
  POLICY_AUDIT_EVENT_OPTIONS options[9] = {0, 1, 2, 3, 0, 0, 0, 0, 1};
  POLICY_AUDIT_EVENTS_INFO info{TRUE, options, 9};
  PolicyAuditEventsInfo out;
  ASSERT_EQ(win32::DecodeAuditEvents(&info, out), nt::STATUS_SUCCESS);
  EXPECT_TRUE(out.auditing_mode);
  EXPECT_EQ(out.event_auditing_options, (std::vector<std::uint32_t>{0, 1, 2, 3, 0, 0, 0, 0, 1}));

  const nt::Status bad = nt::FromWinError(Win(RPC_X_BAD_STUB_DATA));
  info.MaximumAuditEventCount = win32::kMaxAuditEventCount + 1;
  EXPECT_EQ(win32::DecodeAuditEvents(&info, out), bad);
  info = {FALSE, nullptr, 3};
  EXPECT_EQ(win32::DecodeAuditEvents(&info, out), bad);
  info = {FALSE, nullptr, 0};
  EXPECT_EQ(win32::DecodeAuditEvents(&info, out), nt::STATUS_SUCCESS);
}

TEST(Win32SidRecords, BinarySidsAreReadWithinTheirSize) {
  const std::vector<std::uint8_t> bytes = BytesOf("S-1-5-21-10-20-30-1001");
  ASSERT_TRUE(win32::SidFromNative(bytes.data(), bytes.size()));
  EXPECT_EQ(win32::SidFromNative(bytes.data(), bytes.size())->ToString(), "S-1-5-21-10-20-30-1001");
  EXPECT_FALSE(win32::SidFromNative(bytes.data(), bytes.size() - 1));
  EXPECT_FALSE(win32::SidFromNative(nullptr, 68));
  std::vector<std::uint8_t> other = bytes;
  other[0] = 2;
  EXPECT_FALSE(win32::SidFromNative(other.data(), other.size()));
}

}  // namespace
}  // namespace tabulon::platform
