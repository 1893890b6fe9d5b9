// The remote registry stubs: requests against bytes worked out by hand from
// the interface definition (RRP_UNICODE_STRING counts the NUL it carries;
// name buffers travel empty with their size), replies built by hand.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/remote/sample_stubs.h"
#include "platform/remote/winreg_codec.h"
#include "platform/remote/winreg_stubs.h"

namespace tabulon::platform::remote {
namespace {

ndr::ContextHandle Handle1To20() {
  ndr::ContextHandle h;
  for (std::uint8_t i = 0; i < 20; ++i) h.bytes[i] = static_cast<std::uint8_t>(i + 1);
  return h;
}

std::vector<std::uint8_t> WithHandle(std::vector<std::uint8_t> rest) {
  const ndr::ContextHandle h = Handle1To20();
  rest.insert(rest.begin(), h.bytes.begin(), h.bytes.end());
  return rest;
}

struct EncodeCase {
  const char* name;
  std::vector<std::uint8_t> actual;
  std::vector<std::uint8_t> expected;
};

// clang-format off
TEST(WinregRequests, MatchHandDerivedBytes) {
  const ndr::ContextHandle h = Handle1To20();
  const EncodeCase cases[] = {
    {"OpenLocalMachine", winreg::EncodeOpenHive(winreg::kMaximumAllowed), {
        0, 0, 0, 0,                                 // ServerName: null
        0, 0, 0, 0x02}},                            // MAXIMUM_ALLOWED
    {"BaseRegOpenKey", winreg::EncodeOpenKey(h, "Ab", kKeyRead), WithHandle({
        6, 0, 6, 0,  0x00, 0x00, 0x02, 0x00,        // Length, MaximumLength with NUL; Buffer
        3, 0, 0, 0,  0, 0, 0, 0,  3, 0, 0, 0,       // max 3, offset 0, actual 3
        'A', 0, 'b', 0, 0, 0,  0, 0,                // "Ab" NUL, padding
        0, 0, 0, 0,                                 // dwOptions
        0x19, 0, 0x02, 0})},                        // KEY_READ
    {"BaseRegQueryValue default", winreg::EncodeQueryValue(h, "", 256), WithHandle({
        2, 0, 2, 0,  0x00, 0x00, 0x02, 0x00,        // the empty name is its NUL
        1, 0, 0, 0,  0, 0, 0, 0,  1, 0, 0, 0,  0, 0,  0, 0,
        0x04, 0x00, 0x02, 0x00,  0, 0, 0, 0,        // lpType
        0x08, 0x00, 0x02, 0x00,                     // lpData: 256 bytes, none sent
        0, 1, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,
        0x0c, 0x00, 0x02, 0x00,  0, 1, 0, 0,        // lpcbData
        0x10, 0x00, 0x02, 0x00,  0, 0, 0, 0})},     // lpcbLen
    {"BaseRegEnumKey", winreg::EncodeEnumKey(h, 3, 256), WithHandle({
        3, 0, 0, 0,                                 // dwIndex
        0, 0, 0, 2,  0x00, 0x00, 0x02, 0x00,        // lpNameIn: empty, 512 bytes
        0, 1, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,
        0x04, 0x00, 0x02, 0x00,                     // lpClassIn, the same
        0, 0, 0, 2,  0x08, 0x00, 0x02, 0x00,
        0, 1, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,
        0x0c, 0x00, 0x02, 0x00,  0, 0, 0, 0,  0, 0, 0, 0})},  // lpftLastWriteTime
    {"BaseRegEnumValue", winreg::EncodeEnumValue(h, 1, 100, 0x4000001), WithHandle({
        1, 0, 0, 0,
        0, 0, 200, 0,  0x00, 0x00, 0x02, 0x00,      // lpValueNameIn: 100 characters
        100, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,
        0x04, 0x00, 0x02, 0x00,  0, 0, 0, 0,        // lpType
        0x08, 0x00, 0x02, 0x00,                     // lpData held to the range's 64 MiB
        0, 0, 0, 4,  0, 0, 0, 0,  0, 0, 0, 0,
        0x0c, 0x00, 0x02, 0x00,  0, 0, 0, 4,
        0x10, 0x00, 0x02, 0x00,  0, 0, 0, 0})},
    {"BaseRegQueryInfoKey", winreg::EncodeQueryInfoKey(h), WithHandle({
        0, 0, 0, 2,  0x00, 0x00, 0x02, 0x00,
        0, 1, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0})},
    {"BaseRegCloseKey", winreg::EncodeCloseKey(h), WithHandle({})},
  };
  for (const auto& c : cases) EXPECT_EQ(c.actual, c.expected) << c.name;
}
// clang-format on

TEST(WinregReplies, ValuesWithTheirSizes) {
  const winreg::ValueReply text = winreg::DecodeQueryValue(testing::RegQueryValueReply());
  EXPECT_EQ(text.status, win::ERROR_SUCCESS);
  EXPECT_EQ(text.type, kRegSz);
  EXPECT_EQ(text.data, (std::vector<std::uint8_t>{'H', 0, 'i', 0, 0, 0}));
  EXPECT_EQ(text.data_size, 6u);

  const winreg::ValueReply big = winreg::DecodeQueryValue(testing::RegQueryValueMoreDataReply());
  EXPECT_EQ(big.status, win::ERROR_MORE_DATA);
  EXPECT_EQ(big.type, kRegBinary);
  EXPECT_TRUE(big.data.empty());
  EXPECT_EQ(big.data_size, 300u);

  const winreg::EnumValueReply value = winreg::DecodeEnumValue(testing::RegEnumValueReply());
  EXPECT_EQ(value.status, win::ERROR_SUCCESS);
  EXPECT_EQ(value.name.name, "Domain");
  EXPECT_EQ(value.name.chars, 6u);
  EXPECT_EQ(value.value.type, kRegDword);
  EXPECT_EQ(value.value.data, (std::vector<std::uint8_t>{1, 0, 0, 0}));
}

TEST(WinregReplies, KeysAndKeyInformation) {
  const winreg::EnumKeyReply key = winreg::DecodeEnumKey(testing::RegEnumKeyReply());
  EXPECT_EQ(key.status, win::ERROR_SUCCESS);
  EXPECT_EQ(key.name.name, "NetBT");
  EXPECT_EQ(key.name.chars, 5u);
  EXPECT_EQ(key.last_write_time, 0x01d0000089abcdefLL);

  const RegistryKeyInfo info = winreg::DecodeQueryInfoKey(testing::RegQueryInfoKeyReply());
  EXPECT_EQ(info.status, win::ERROR_SUCCESS);
  EXPECT_EQ(info.subkeys, 3u);
  EXPECT_EQ(info.max_subkey_name_chars, 12u);
  EXPECT_EQ(info.values, 5u);
  EXPECT_EQ(info.max_value_name_chars, 18u);
  EXPECT_EQ(info.max_value_data_bytes, 520u);
  EXPECT_EQ(info.last_write_time, 0x01d0000089abcdefLL);
}

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
