#include "format/directory_values.h"

#include <gtest/gtest.h>

#include <string>

#include "descriptor_bytes.h"
#include "platform/posix/locale.h"
#include "support/scoped_env.h"

namespace tabulon::format {
namespace {

using platform::DirectoryValueKind;
using tabulon::testing::ScopedEnv;
using Kind = DirectoryValueKind;

constexpr const char* kPlusTwo = "XST-2";  // two hours east of UTC, no DST
// 2024-03-15 13:05:09 UTC and 2024-03-14 22:00:00 UTC (local midnight).
constexpr const char* kMarch15 = "133549815090000000";
constexpr const char* kLocalMidnight = "133549272000000000";
constexpr const char* kPhotoPath = "C:\\photos\\jdoe.jpg";

struct Case {
  const char* attribute;
  Kind kind;
  std::string value;
  std::string expected;
  int major_version = 10;
  const char* custom_date = "";
  const char* photo = nullptr;
};

std::string Repeat(char c, std::size_t n) {
  return std::string(n, c);
}

TEST(FormatDirectoryValue, ByNameAndKind) {
  using format::testing::DescriptorBytes;
  using format::testing::SidBytes;
  const std::string sid = SidBytes(5, {21, 0x01020304, 2, 3, 500}) + "tail";
  const std::string guid("\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f", 16);
  const std::string descriptor = DescriptorBytes(0x8000, SidBytes(5, {32, 544}), "", "", "");
  const std::string hours = std::string("\x01\x80", 2) + Repeat('\xFF', 19) + "\x0F";
  const Case cases[] = {
      // The group type whatever the value type; signed or unsigned as sent.
      {"groupType", Kind::kInteger, "-2147483646", "Global - (Security)"},
      {"GROUPTYPE", Kind::kUnknown, "8", "Universal - (Distribution)"},
      {"groupType", Kind::kInteger, "2147483654", "Local - (Security)"},
      {"groupType", Kind::kInteger, "4", "Local - (Distribution)"},
      {"groupType", Kind::kInteger, "x", "Unable to format"},
      {"cn", Kind::kCaseIgnoreString, "Jane Doe", "Jane Doe"},
      {"description", Kind::kUnknown, "one\r\ntwo", "one  two"},
      {"isDeleted", Kind::kBoolean, "TRUE", "TRUE"},
      {"isDeleted", Kind::kBoolean, "FALSE", "FALSE"},
      {"userAccountControl", Kind::kInteger, "514", "DISABLED^NORMAL_ACCOUNT"},
      {"useraccountcontrol", Kind::kInteger, "66048", "DONT_EXPIRE_PASSWD^NORMAL_ACCOUNT"},
      {"useraccountcontrol", Kind::kInteger, "0", ""},
      {"badPwdCount", Kind::kInteger, "4294967295", "-1"},
      {"badPwdCount", Kind::kInteger, "12a", "Unable to format"},
      // SID sub-authorities are little-endian, the authority big-endian;
      // bytes after the SID do not count.
      {"objectSid", Kind::kOctetString, sid, "S-1-5-21-16909060-2-3-500"},
      {"sidHistory", Kind::kOctetString, sid.substr(0, 10), "Unable to format"},
      {"objectGUID", Kind::kOctetString, guid, "{03020100-0504-0706-0809-0A0B0C0D0E0F}"},
      {"invocationId", Kind::kOctetString, guid.substr(1), "Unable to format"},
      {"logonHours", Kind::kOctetString, hours,
       "10000000" + std::string("00000001") + Repeat('1', 152)},
      {"jpegPhoto", Kind::kOctetString, "\xFF\xD8", kPhotoPath, 10, "", kPhotoPath},
      {"thumbnailphoto", Kind::kOctetString, "\xFF\xD8", "Unable to format"},
      {"userCertificate", Kind::kOctetString, "A\xE9\n", "A\xC3\xA9 "},
      {"whenChanged", Kind::kUtcTime, "20240315130509.0Z", "03/15/24 15:05:09"},
      {"whenChanged", Kind::kUtcTime, "240315130509Z", "03/15/24 15:05:09"},
      {"whenChanged", Kind::kUtcTime, "20241315130509.0Z", "Unable to format"},
      {"accountExpires", Kind::kLargeInteger, "0", "(None)"},
      {"uSNChanged", Kind::kLargeInteger, "0", "(None)"},
      {"accountExpires", Kind::kLargeInteger, "9223372036854775807", "No Expiration"},
      {"lockoutTime", Kind::kLargeInteger, "4294967295", "No Expiration"},
      // accountExpires is one tick past the last moment; other dates are not.
      {"accountExpires", Kind::kLargeInteger, "133549815090000001", "03/15/24 15:05:09"},
      {"accountExpires", Kind::kLargeInteger, kLocalMidnight, "03/14/24 23:59:59"},
      {"pwdLastSet", Kind::kLargeInteger, kMarch15, "03/15/24 15:05:09"},
      {"lastLogonTimestamp", Kind::kLargeInteger, kLocalMidnight, "03/15/24"},
      {"pwdLastSet", Kind::kLargeInteger, kMarch15, "2024-03-15 15:05", 10, "%Y-%m-%d %H:%M"},
      {"pwdLastSet", Kind::kLargeInteger, "-5", "Unable to format"},
      {"uSNChanged", Kind::kLargeInteger, "-5", "-5"},
      {"nTSecurityDescriptor", Kind::kSecurityDescriptor, descriptor, "O:BA"},
      {"nTSecurityDescriptor", Kind::kSecurityDescriptor, descriptor.substr(0, 30),
       "Unable to format"},
      {"dnWithBinaryValue", Kind::kDnWithBinary, "B:2:00:CN=x", "Unable to format"},
      // Before version 5 the system cannot convert SIDs, GUIDs and descriptors.
      {"objectSid", Kind::kOctetString, sid, "NT text", 4},
      {"objectGUID", Kind::kOctetString, guid, "NT text", 4},
      {"nTSecurityDescriptor", Kind::kSecurityDescriptor, descriptor, "NT text", 4},
      {"logonHours", Kind::kOctetString, "\x03", "11000000", 4},
  };
  ScopedEnv tz("TZ", kPlusTwo);
  const auto locale = platform::MakePosixLocale("C.UTF-8");
  for (const Case& c : cases) {
    FormatSettings settings;
    settings.local_major_version = c.major_version;
    settings.custom_date_format = c.custom_date;
    const std::string photo = c.photo ? c.photo : "";
    const DirectoryValueContext context{
        settings, *locale, " ", {"No Expiration", "NT text"}, c.photo ? &photo : nullptr};
    EXPECT_EQ(FormatDirectoryValue(c.attribute, c.kind, c.value, context), c.expected)
        << c.attribute << " " << c.value;
  }
}

}  // namespace
}  // namespace tabulon::format
