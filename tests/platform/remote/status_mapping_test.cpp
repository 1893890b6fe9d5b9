#include "platform/remote/status_mapping.h"

#include <gtest/gtest.h>

#include "platform/status_table.h"

namespace tabulon::platform::remote {
namespace {

TEST(StatusMapping, RulesBesideTheTables) {
  EXPECT_EQ(StatusFromNtStatus(0xC0000034), win::RPC_S_SERVER_UNAVAILABLE);  // no such pipe
  EXPECT_EQ(StatusFromNtStatus(0xC0070005), win::ERROR_ACCESS_DENIED);       // Win32 in facility 7
  EXPECT_EQ(StatusFromNtStatus(0xC0071234), win::RPC_S_CALL_FAILED);         // ... one without text
  EXPECT_EQ(StatusFromDceFault(0x1C010002), win::RPC_S_PROCNUM_OUT_OF_RANGE);
  EXPECT_EQ(StatusFromDceFault(5), win::ERROR_ACCESS_DENIED);      // nca_s_fault_access_denied
  EXPECT_EQ(StatusFromDceFault(0x6F7), win::RPC_X_BAD_STUB_DATA);  // nca_s_fault_ndr
  EXPECT_EQ(StatusFromDceFault(0), win::RPC_S_CALL_FAILED);        // a fault is never success
}

// Whatever comes in, the status going out has a text for the failure row.
TEST(StatusMapping, EveryResultHasAText) {
  for (std::uint32_t base : {0xC0000000u, 0xC0020000u, 0xC0030000u, 0x1C000000u, 0x1C010000u}) {
    for (std::uint32_t low = 0; low < 0x300; ++low) {
      EXPECT_NE(win::FindStatus(StatusFromNtStatus(base | low)), nullptr);
      EXPECT_NE(win::FindStatus(StatusFromDceFault(base | low)), nullptr);
    }
  }
}

}  // namespace
}  // namespace tabulon::platform::remote
