#include "format/directory_values.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <span>

#include "format/account_texts.h"
#include "format/lists.h"
#include "format/sddl.h"
#include "format/security_descriptor.h"
#include "format/special_values.h"
#include "format/time_texts.h"
#include "platform/ole_date.h"
#include "platform/text.h"
#include "platform/time.h"

namespace tabulon::format {
namespace {

using platform::DirectoryValueKind;

// Octet strings by what they hold; names compare without regard to case.
constexpr std::array<std::string_view, 6> kSidAttributes{"objectSID",
                                                         "SidHistory",
                                                         "TokenGroups",
                                                         "tokenGroupsGlobalAndUniversal",
                                                         "tokenGroupsNoGCAcceptable",
                                                         "msexchmasteraccountsid"};

constexpr std::array<std::string_view, 10> kGuidAttributes{"objectGUID",
                                                           "schemaidGUID",
                                                           "msExchMailboxGUID",
                                                           "msExchArchiveGUID",
                                                           "msExchDisabledArchiveGUID",
                                                           "msFVE-RecoveryGUID",
                                                           "msFVE-VolumeGUID",
                                                           "invocationID",
                                                           "ms-DS-ConsistencyGUID",
                                                           "msDS-OptionalFeatureGUID"};

constexpr std::array<std::string_view, 2> kPhotoAttributes{"jpegphoto", "thumbnailPhoto"};

// Large integers that are file times.
constexpr std::array<std::string_view, 10> kDateAttributes{
    "accountExpires",
    "badPasswordTime",
    "lastLogon",
    "lastLogoff",
    "lockoutTime",
    "pwdLastSet",
    "lastlogontimestamp",
    "msDS-LastFailedInteractiveLogonTime",
    "msDS-LastSuccessfulInteractiveLogonTime",
    "msDS-userpasswordexpirytimecomputed"};

constexpr std::size_t kLogonHoursBytes = 21;
constexpr std::uint32_t kGroupLocal = 0x4;
constexpr std::uint32_t kGroupGlobal = 0x2;
constexpr std::uint32_t kGroupSecurity = 0x80000000;
constexpr std::uint32_t kAllOnes = 0xFFFFFFFF;

template <std::size_t N>
bool Names(const std::array<std::string_view, N>& names, std::string_view attribute) {
  return std::any_of(names.begin(), names.end(),
                     [attribute](std::string_view n) { return text::EqualsNoCase(n, attribute); });
}

Bytes AsBytes(std::string_view value) {
  return {reinterpret_cast<const std::uint8_t*>(value.data()), value.size()};
}

// The whole text as a decimal number, as the server writes integers.
std::optional<std::int64_t> ParseInteger(std::string_view value) {
  std::int64_t n = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
  if (error != std::errc() || end != value.data() + value.size()) return std::nullopt;
  return n;
}

// Integer attributes are 32 bits; the server may write them signed or not.
std::optional<std::uint32_t> ParseInteger32(std::string_view value) {
  const auto n = ParseInteger(value);
  if (!n || *n < INT32_MIN || *n > UINT32_MAX) return std::nullopt;
  return static_cast<std::uint32_t>(*n);
}

std::string GroupTypeText(std::uint32_t type) {
  std::string text = (type & kGroupLocal) != 0    ? "Local"
                     : (type & kGroupGlobal) != 0 ? "Global"
                                                  : "Universal";
  text += (type & kGroupSecurity) != 0 ? " - (Security)" : " - (Distribution)";
  return text;
}

std::string OctetText(std::string_view attribute, std::string_view value,
                      const DirectoryValueContext& context) {
  if (Names(kSidAttributes, attribute)) {
    std::size_t used = 0;
    const auto sid = ParseSid(AsBytes(value), used);
    return sid ? sid->ToString() : std::string(kUnableToFormat);
  }
  if (Names(kGuidAttributes, attribute)) {
    const auto guid = ParseGuid(AsBytes(value));
    return guid ? GuidText(*guid) : std::string(kUnableToFormat);
  }
  if (text::EqualsNoCase(attribute, "logonhours")) {
    const Bytes bytes = AsBytes(value);
    return LogonHoursBits(bytes.first(std::min(bytes.size(), kLogonHoursBytes)));
  }
  if (IsPhotoAttribute(attribute)) {
    return context.photo_result ? *context.photo_result : std::string(kUnableToFormat);
  }
  return text::Latin1ToUtf8(value);
}

// "YYYYMMDDHHMMSS[.f]Z" (generalized time) or "YYMMDDHHMMSSZ" (UTC time).
std::optional<platform::SystemTime> ParseDirectoryTime(std::string_view value) {
  const std::size_t digits =
      std::find_if(value.begin(), value.end(), [](char c) { return c < '0' || c > '9'; }) -
      value.begin();
  if (digits != 12 && digits != 14) return std::nullopt;
  std::size_t at = 0;
  auto field = [&value, &at](std::size_t width) {
    int n = 0;
    for (std::size_t i = 0; i < width; ++i) n = n * 10 + (value[at + i] - '0');
    at += width;
    return n;
  };
  platform::SystemTime t;
  t.year = digits == 14 ? field(4) : field(2);
  // Two-digit years: 50-99 are the 1900s, as the UTC time syntax defines.
  if (digits == 12) t.year += t.year < 50 ? 2000 : 1900;
  t.month = field(2);
  t.day = field(2);
  t.hour = field(2);
  t.minute = field(2);
  t.second = field(2);
  // Through a file time so that the day of the week is filled and an
  // impossible date refused.
  const auto file_time = platform::SystemTimeToFileTime(t);
  if (!file_time) return std::nullopt;
  return platform::FileTimeToSystemTime(*file_time);
}

// As a date variant converts to text: the date, then the time unless it is
// midnight; the variant's zero day alone shows just the time.
std::string VariantDateText(const platform::SystemTime& t, platform::Locale& locale) {
  const bool zero_day = t.year == 1899 && t.month == 12 && t.day == 30;
  const bool midnight = t.hour == 0 && t.minute == 0 && t.second == 0;
  std::string text;
  if (!zero_day) text = locale.FormatDate(t, "").value_or("");
  if (zero_day || !midnight) {
    if (!text.empty()) text += ' ';
    text += locale.FormatTime(t, "").value_or("");
  }
  return text;
}

std::string LargeIntegerDate(std::string_view attribute, std::int64_t value,
                             const DirectoryValueContext& context) {
  if ((static_cast<std::uint64_t>(value) & kAllOnes) == kAllOnes) {
    return std::string(context.texts.no_expiration);
  }
  // accountExpires names the first moment the account no longer works.
  if (text::EqualsNoCase(attribute, "accountExpires")) --value;
  if (!platform::FileTimeToSystemTime(value)) return std::string(kUnableToFormat);
  const platform::FileTime local = platform::FileTimeToLocalFileTime(value);
  const auto local_time = platform::FileTimeToSystemTime(local);
  if (!local_time) return std::string(kUnableToFormat);
  if (!context.settings.custom_date_format.empty()) {
    // Local wall-clock seconds shown as UTC give the local time back.
    const auto seconds = static_cast<std::uint32_t>((local - platform::kFileTimeUnixEpoch) /
                                                    platform::kFileTimeTicksPerSecond);
    return FormatEpochTime(seconds, true, context.settings);
  }
  const auto date = platform::SystemTimeToOleDate(*local_time);
  if (!date) return std::string(kUnableToFormat);
  const auto rounded = platform::OleDateToSystemTime(*date);
  if (!rounded) return std::string(kUnableToFormat);
  return VariantDateText(*rounded, context.locale);
}

std::string LargeIntegerText(std::string_view attribute, std::string_view value,
                             const DirectoryValueContext& context) {
  const auto n = ParseInteger(value);
  if (!n) return std::string(kUnableToFormat);
  if (*n == 0) return std::string(kNone);
  if (Names(kDateAttributes, attribute)) return LargeIntegerDate(attribute, *n, context);
  return std::to_string(*n);
}

std::string IntegerText(std::string_view attribute, std::string_view value,
                        const DirectoryValueContext& context) {
  const auto n = ParseInteger32(value);
  if (!n) return std::string(kUnableToFormat);
  if (!text::EqualsNoCase(attribute, "useraccountcontrol")) {
    return std::to_string(static_cast<std::int32_t>(*n));
  }
  std::string names;
  for (const std::string& name : AccountFlagNames(*n)) {
    AppendDelimited(names, name, context.settings.secondary_delimiter);
  }
  return names;
}

bool NeedsVersion5(std::string_view attribute, DirectoryValueKind kind) {
  if (kind == DirectoryValueKind::kSecurityDescriptor) return true;
  return kind == DirectoryValueKind::kOctetString &&
         (Names(kSidAttributes, attribute) || Names(kGuidAttributes, attribute));
}

std::string ValueText(std::string_view attribute, DirectoryValueKind kind, std::string_view value,
                      const DirectoryValueContext& context) {
  if (text::EqualsNoCase(attribute, "groupType")) {
    const auto type = ParseInteger32(value);
    return type ? GroupTypeText(*type) : std::string(kUnableToFormat);
  }
  if (context.settings.local_major_version < 5 && NeedsVersion5(attribute, kind)) {
    return std::string(context.texts.unable_under_nt);
  }
  switch (kind) {
    case DirectoryValueKind::kUnknown:
    case DirectoryValueKind::kDnString:
    case DirectoryValueKind::kCaseExactString:
    case DirectoryValueKind::kCaseIgnoreString:
    case DirectoryValueKind::kPrintableString:
    case DirectoryValueKind::kNumericString:
      return std::string(value);
    case DirectoryValueKind::kBoolean:
      return std::string(text::EqualsNoCase(value, "TRUE") ? kTrue : kFalse);
    case DirectoryValueKind::kInteger:
      return IntegerText(attribute, value, context);
    case DirectoryValueKind::kOctetString:
      return OctetText(attribute, value, context);
    case DirectoryValueKind::kUtcTime: {
      const auto time = ParseDirectoryTime(value);
      return time ? FormatSystemTime(*time, true, context.settings, context.locale)
                  : std::string(kUnableToFormat);
    }
    case DirectoryValueKind::kLargeInteger:
      return LargeIntegerText(attribute, value, context);
    case DirectoryValueKind::kSecurityDescriptor: {
      const DescriptorParse parse = ParseSecurityDescriptor(AsBytes(value));
      return parse.ok() ? SddlText(parse.value) : std::string(kUnableToFormat);
    }
    case DirectoryValueKind::kDnWithBinary:
    case DirectoryValueKind::kDnWithString:
      break;
  }
  return std::string(kUnableToFormat);
}

}  // namespace

bool IsPhotoAttribute(std::string_view attribute) {
  return Names(kPhotoAttributes, attribute);
}

std::string FormatDirectoryValue(std::string_view attribute, platform::DirectoryValueKind kind,
                                 std::string_view value, const DirectoryValueContext& context) {
  return ReplaceLineBreaks(ValueText(attribute, kind, value, context),
                           context.line_break_replacement);
}

}  // namespace tabulon::format
