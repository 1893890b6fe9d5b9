#include "platform/remote/winreg_stubs.h"

#include "platform/remote/sample_stubs.h"

namespace tabulon::platform::remote::testing {

// Hand layout: one line per parameter.
// clang-format off
std::vector<std::uint8_t> RegQueryValueReply() {
  return Stub()
      .U32(0x20000).U32(1)                                      // lpType: REG_SZ
      .U32(0x20004).U32(6).U32(0).U32(6).Raw({'H', 0, 'i', 0, 0, 0})  // lpData
      .U32(0x20008).U32(6)                                      // lpcbData
      .U32(0x2000c).U32(6)                                      // lpcbLen
      .U32(0)
      .bytes();
}

std::vector<std::uint8_t> RegQueryValueMoreDataReply() {
  return Stub()
      .U32(0x20000).U32(3)
      .U32(0x20004).U32(300).U32(0).U32(0)  // nothing sent
      .U32(0x20008).U32(300)                // the size needed
      .U32(0x2000c).U32(0)
      .U32(234)
      .bytes();
}

std::vector<std::uint8_t> RegEnumKeyReply() {
  return Stub()
      .U16(12).U16(512).U32(0x20000)                 // lpNameOut, the NUL counted
      .U32(256).U32(0).U32(6).Units(u"NetBT")
      .U32(0x20004).U16(0).U16(0).U32(0)             // lplpClassOut: empty, no buffer
      .U32(0x20008).U32(0x89abcdef).U32(0x01d00000)  // lpftLastWriteTime
      .U32(0)
      .bytes();
}

std::vector<std::uint8_t> RegEnumValueReply() {
  return Stub()
      .U16(14).U16(200).U32(0x20000)                        // lpValueNameOut
      .U32(100).U32(0).U32(7).Units(u"Domain")
      .U32(0x20004).U32(4)                                  // lpType: REG_DWORD
      .U32(0x20008).U32(4).U32(0).U32(4).Raw({1, 0, 0, 0})  // lpData
      .U32(0x2000c).U32(4).U32(0x20010).U32(4)              // lpcbData, lpcbLen
      .U32(0)
      .bytes();
}

std::vector<std::uint8_t> RegQueryInfoKeyReply() {
  return Stub()
      .U16(0).U16(512).U32(0x20000).U32(256).U32(0).U32(0)  // lpClassOut: empty
      .U32(3).U32(12).U32(0)                                // subkeys, longest name, class
      .U32(5).U32(18).U32(520)                              // values, longest name, data
      .U32(100)                                             // security descriptor
      .U32(0x89abcdef).U32(0x01d00000)                      // last write
      .U32(0)
      .bytes();
}
// clang-format on

}  // namespace tabulon::platform::remote::testing
