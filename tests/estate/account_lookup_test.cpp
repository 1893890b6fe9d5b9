#include <gtest/gtest.h>

#include "sample_estate.h"

namespace tabulon::estate {
namespace {

using platform::Sid;
using platform::SidNameUse;

class AccountLookupTest : public ::testing::Test {
 protected:
  std::unique_ptr<EstateBackend> backend_ = testing::SampleBackend();
  std::unique_ptr<EstateSession> platform_;
  void SetUp() override { platform_ = backend_->OpenSession(""); }
};

TEST_F(AccountLookupTest, SidsResolveByComputerWellKnownAndDomain) {
  struct Case {
    const char* system;
    const char* sid;
    win::Status status;
    const char* domain;
    const char* name;
    SidNameUse use;
  };
  const Case cases[] = {
      {"FWWS01", "S-1-5-18", win::ERROR_SUCCESS, "NT AUTHORITY", "SYSTEM",
       SidNameUse::kWellKnownGroup},
      {"LAB01", "S-1-5-32-544", win::ERROR_SUCCESS, "BUILTIN", "Administrators",
       SidNameUse::kAlias},
      {"", "S-1-1-0", win::ERROR_SUCCESS, "", "Everyone", SidNameUse::kWellKnownGroup},
      // A computer's own entry renames a well-known group, as a localised system does.
      {"\\\\FWSRV01", "S-1-5-32-544", win::ERROR_SUCCESS, "FWSRV01", "Administratoren",
       SidNameUse::kAlias},
      {"FWSRV01", "S-1-5-21-7-8-9-1001", win::ERROR_SUCCESS, "FWSRV01", "backup",
       SidNameUse::kUser},
      {"FWSRV01", "S-1-5-21-7-8-9", win::ERROR_SUCCESS, "FWSRV01", "FWSRV01", SidNameUse::kDomain},
      {"FWWS01", "S-1-5-21-7-8-9-1001", win::ERROR_NONE_MAPPED, "", "", SidNameUse::kNone},
      {"FWWS01", "S-1-5-21-1111-2222-3333-512", win::ERROR_SUCCESS, "FERNWOOD", "Domain Admins",
       SidNameUse::kGroup},
      // Every domain of the estate trusts the others, workgroups included.
      {"LAB01", "S-1-5-21-1111-2222-3333-1105", win::ERROR_SUCCESS, "FERNWOOD", "jdoe",
       SidNameUse::kUser},
      {"FWWS01", "S-1-5-21-1111-2222-3333", win::ERROR_SUCCESS, "FERNWOOD", "FERNWOOD",
       SidNameUse::kDomain},
      {"FWWS01", "S-1-5-21-1-1-1-1", win::ERROR_NONE_MAPPED, "", "", SidNameUse::kNone},
      {"\\\\NOSUCH", "S-1-5-18", win::RPC_S_SERVER_UNAVAILABLE, "", "", SidNameUse::kNone},
      {"FWWS02", "S-1-5-18", win::RPC_S_SERVER_UNAVAILABLE, "", "", SidNameUse::kNone},
  };
  for (const Case& c : cases) {
    const auto result = platform_->lookup().LookupAccountSid(c.system, *Sid::Parse(c.sid));
    EXPECT_EQ(result.status, c.status) << c.system << " " << c.sid;
    EXPECT_EQ(result.domain, c.domain) << c.system << " " << c.sid;
    EXPECT_EQ(result.name, c.name) << c.system << " " << c.sid;
    EXPECT_EQ(result.use, c.use) << c.system << " " << c.sid;
  }
}

TEST_F(AccountLookupTest, NamesResolveQualifiedOrBare) {
  struct Case {
    const char* system;
    const char* account;
    win::Status status;
    const char* sid;
    const char* domain;
  };
  const Case cases[] = {
      {"FWWS01", "FERNWOOD\\jdoe", win::ERROR_SUCCESS, "S-1-5-21-1111-2222-3333-1105", "FERNWOOD"},
      {"FWWS01", "fernwood.example\\JDOE", win::ERROR_SUCCESS, "S-1-5-21-1111-2222-3333-1105",
       "FERNWOOD"},
      {"FWWS01", "jdoe", win::ERROR_SUCCESS, "S-1-5-21-1111-2222-3333-1105", "FERNWOOD"},
      {"FWWS01", "NT AUTHORITY\\SYSTEM", win::ERROR_SUCCESS, "S-1-5-18", "NT AUTHORITY"},
      {"LAB01", "Administrators", win::ERROR_SUCCESS, "S-1-5-32-544", "BUILTIN"},
      {"LAB01", "FERNWOOD", win::ERROR_SUCCESS, "S-1-5-21-1111-2222-3333", "FERNWOOD"},
      {"FWWS01", "HARBOR\\jdoe", win::ERROR_NONE_MAPPED, "", ""},
      {"FWWS01", "FERNWOOD\\nobody", win::ERROR_NONE_MAPPED, "", ""},
      {"FWSRV01", "backup", win::RPC_S_SERVER_UNAVAILABLE, "", ""},  // injected
  };
  for (const Case& c : cases) {
    const auto result = platform_->lookup().LookupAccountName(c.system, c.account, 68);
    EXPECT_EQ(result.status, c.status) << c.account;
    if (c.status == win::ERROR_SUCCESS) {
      EXPECT_EQ(result.sid.ToString(), c.sid) << c.account;
    }
    EXPECT_EQ(result.domain, c.domain) << c.account;
  }
}

TEST_F(AccountLookupTest, SmallSidBufferReportsTheSizeNeeded) {
  const auto sized = platform_->lookup().LookupAccountName("FWWS01", "FERNWOOD\\jdoe", 0);
  EXPECT_EQ(sized.status, win::ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(sized.required_sid_size, 28u);  // 8 + 5 sub-authorities of 4
  EXPECT_EQ(platform_->lookup().LookupAccountName("FWWS01", "FERNWOOD\\jdoe", 27).status,
            win::ERROR_INSUFFICIENT_BUFFER);
  const auto fits = platform_->lookup().LookupAccountName("FWWS01", "FERNWOOD\\jdoe", 28);
  EXPECT_EQ(fits.status, win::ERROR_SUCCESS);
  EXPECT_EQ(fits.use, SidNameUse::kUser);
  EXPECT_EQ(platform_->lookup().LookupAccountName("", "SYSTEM", 12).status, win::ERROR_SUCCESS);
}

}  // namespace
}  // namespace tabulon::estate
