// File descriptors as the SMB client library writes them, laid out as the
// self-relative bytes a Windows client gets; texts that do not read give
// nothing rather than a descriptor that says less than the file has.
#include "platform/remote/security_text.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/object_security.h"

namespace tabulon::platform::remote {
namespace {

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (const std::uint8_t b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 0xF];
  }
  return text;
}

constexpr std::uint32_t kAll =
    kOwnerSecurityInformation | kGroupSecurityInformation | kDaclSecurityInformation;

TEST(SecurityText, LaysOutTheAskedPartsInWindowsOrder) {
  struct Case {
    const char* text;
    std::uint32_t information;
    const char* hex;
  };
  const std::string owner = "01020000000000052000000020020000";  // S-1-5-32-544
  const std::string group = "010100000000000512000000";          // S-1-5-18
  const std::string deny_everyone = "01031400ff011f00010100000000000100000000";
  const Case cases[] = {
      // Header (self-relative, DACL present; owner 20, group 36, DACL 48),
      // then the parts; the entry keeps its type 1 and flags 3.
      {"REVISION:1,OWNER:S-1-5-32-544,GROUP:S-1-5-18,ACL:S-1-1-0:1/3/0x001f01ff", kAll, ""},
      // Tabs and newlines separate as commas do; no owner asked, none laid out.
      {"REVISION:1\tOWNER:S-1-5-32-544\nGROUP:S-1-5-18,ACL:S-1-1-0:1/3/0x001f01ff",
       kGroupSecurityInformation | kDaclSecurityInformation, ""},
      // An object without owner or entries: an empty DACL, not a null one.
      {"REVISION:1,OWNER:,GROUP:", kAll,
       "010004800000000000000000000000001400000002000800000000"
       "00"},
  };
  const std::string expected[] = {
      "0100048014000000240000000000000030000000" + owner + group + "02001c0001000000" +
          deny_everyone,
      "0100048000000000140000000000000020000000" + group + "02001c0001000000" + deny_everyone,
      cases[2].hex,
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto bytes = DescriptorFromText(cases[i].text, cases[i].information);
    ASSERT_TRUE(bytes) << cases[i].text;
    EXPECT_EQ(Hex(*bytes), expected[i]) << cases[i].text;
  }
}

TEST(SecurityText, TextsThatDoNotReadGiveNothing) {
  for (const char* text : {
           "OWNER:someone",                // a name, not a SID
           "ACL:S-1-1-0:0/0",              // no mask
           "ACL:S-1-1-0:5/0/0x1",          // an object entry needs GUIDs
           "ACL:S-1-1-0:0/256/0x1",        // flags are a byte
           "ACL:S-1-1-0:0/0/0x100000000",  // a mask is 32 bits
           "ACL:nobody:0/0/0x1",
           "CONTROL:0x8004",  // not written by the library
           "REVISION",
       }) {
    EXPECT_FALSE(DescriptorFromText(text, kAll)) << text;
  }
}

}  // namespace
}  // namespace tabulon::platform::remote
