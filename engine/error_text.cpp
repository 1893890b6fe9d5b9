#include "engine/error_text.h"

#include <cstdio>
#include <string_view>

#include "platform/status_table.h"
#include "platform/text.h"
#include "platform/win_error.h"

namespace tabulon {
namespace {

constexpr std::uint32_t kWin32Facility = 7;

std::string Hex(std::uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%X", v);
  return buf;
}

}  // namespace

std::string WindowsErrorText(win::Status code) {
  return std::string(text::TrimRight(win::SystemMessageText(code)));
}

std::string NtStatusText(nt::Status status) {
  return std::string(text::TrimRight(nt::StatusText(status)));
}

std::string DirectoryErrorText(std::int32_t status,
                               const std::optional<DirectoryExtendedError>& extended) {
  if (status >= 0) return "Success";
  const auto u = static_cast<std::uint32_t>(status);
  std::string out;
  if ((u & 0x5000) == 0x5000) {
    // The directory interface's own results are shown by their names.
    const win::StatusRow* row = win::FindStatus(u);
    if (row != nullptr && row->name.starts_with("E_ADS_")) out = std::string(row->name);
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

std::string DirectoryErrorText(const platform::DirectoryStatus& status) {
  return DirectoryErrorText(static_cast<std::int32_t>(status.status),
                            DirectoryExtendedError{status.extended_code, status.extended_text,
                                                   std::string(platform::kDirectoryProvider)});
}

std::string WmiErrorText(std::int32_t status, const WmiStatusTexts& texts) {
  return texts.facility + " HRESULT 0x" + Hex(static_cast<std::uint32_t>(status)) + " => " +
         texts.error;
}

}  // namespace tabulon
