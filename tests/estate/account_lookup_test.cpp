#include <gtest/gtest.h>

#include "sample_estate.h"

namespace tabulon::estate {
namespace {

using platform::SidNameUse;

class AccountLookupTest : public ::testing::Test {
 protected:
  std::unique_ptr<EstateBackend> backend_ = testing::SampleBackend();
  std::unique_ptr<EstateSession> platform_;
  void SetUp() override { platform_ = backend_->OpenSession(""); }
};

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
