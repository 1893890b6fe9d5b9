// A remote registry reply must hold together even where every read stays
// inside the stub.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/remote/sample_stubs.h"
#include "platform/remote/winreg_codec.h"

namespace tabulon::platform::remote {
namespace {

// The data array must carry exactly the length the reply gives it.
TEST(WinregReplies, DataLongerThanItsLengthIsMalformed) {
  // clang-format off
  const std::vector<std::uint8_t> stub = testing::Stub()
      .U32(0x20000).U32(1)
      .U32(0x20004).U32(6).U32(0).U32(6).Raw({'H', 0, 'i', 0, 0, 0})
      .U32(0x20008).U32(6).U32(0x2000c).U32(2)
      .U32(0)
      .bytes();
  // clang-format on
  EXPECT_EQ(winreg::DecodeQueryValue(stub).status, win::RPC_X_BAD_STUB_DATA);
}

}  // namespace
}  // namespace tabulon::platform::remote
