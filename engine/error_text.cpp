#include "engine/error_text.h"

#include <cstdio>
#include <string_view>

#include "platform/text.h"
#include "platform/win_error.h"

namespace tabulon {
namespace {

constexpr std::uint32_t kWin32Facility = 7;

// Names of the directory-interface results 0x80005000-0x80005010 and 0x80005014.
constexpr std::string_view kAdsErrorNames[] = {
    "E_ADS_BAD_PATHNAME",           "E_ADS_INVALID_DOMAIN_OBJECT",
    "E_ADS_INVALID_USER_OBJECT",    "E_ADS_INVALID_COMPUTER_OBJECT",
    "E_ADS_UNKNOWN_OBJECT",         "E_ADS_PROPERTY_NOT_SET",
    "E_ADS_PROPERTY_NOT_SUPPORTED", "E_ADS_PROPERTY_INVALID",
    "E_ADS_BAD_PARAMETER",          "E_ADS_OBJECT_UNBOUND",
    "E_ADS_PROPERTY_NOT_MODIFIED",  "E_ADS_PROPERTY_MODIFIED",
    "E_ADS_CANT_CONVERT_DATATYPE",  "E_ADS_PROPERTY_NOT_FOUND",
    "E_ADS_OBJECT_EXISTS",          "E_ADS_SCHEMA_VIOLATION",
    "E_ADS_COLUMN_NOT_SET",
};
constexpr std::uint32_t kAdsFirst = 0x80005000;
constexpr std::uint32_t kAdsInvalidFilter = 0x80005014;

std::string Hex(std::uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%X", v);
  return buf;
}

}  // namespace

std::string WindowsErrorText(win::Status code) {
  return std::string(text::TrimRight(win::SystemMessageText(code)));
}

std::string DirectoryErrorText(std::int32_t status,
                               const std::optional<DirectoryExtendedError>& extended) {
  if (status >= 0) return "Success";
  const auto u = static_cast<std::uint32_t>(status);
  std::string out;
  if ((u & 0x5000) == 0x5000) {
    if (u >= kAdsFirst && u - kAdsFirst < std::size(kAdsErrorNames)) {
      out = kAdsErrorNames[u - kAdsFirst];
    } else if (u == kAdsInvalidFilter) {
      out = "E_ADS_INVALID_FILTER";
    }
  } else if (((u >> 16) & 0x1FFF) != kWin32Facility) {
    out = Hex(u);
  } else {
    out = WindowsErrorText(u & 0xFFFF);
    if (out.empty()) out = "Error " + std::to_string(status);
  }
  if (extended && extended->code != 13 && !extended->text.empty()) {
    out += "  -- Extended Error --- " + extended->provider + " : " + extended->text;
  }
  return out;
}

std::string WmiErrorText(std::int32_t status, const WmiStatusTexts& texts) {
  return texts.facility + " HRESULT 0x" + Hex(static_cast<std::uint32_t>(status)) + " => " +
         texts.error;
}

}  // namespace tabulon
