#include "exporters/accounts/tasks/task_texts.h"

#include <cstdio>

#include "platform/ole_date.h"

namespace tabulon {
namespace {

constexpr win::Status kDispatchFirst = 0x80040200;
constexpr win::Status kDispatchLast = 0x8004FFFF;

std::string Hex(win::Status code) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%X", code);
  return buf;
}

}  // namespace

std::string TaskRunTimeText(double date, platform::Locale& locale) {
  if (date == 0.0) return "NEVER";
  const auto time = platform::OleDateToSystemTime(date);
  if (!time) return {};
  const bool midnight = time->hour == 0 && time->minute == 0 && time->second == 0;
  std::string text = locale.FormatDate(*time, "").value_or("");
  if (!midnight) text += " " + locale.FormatTime(*time, "").value_or("");
  return text;
}

std::string TaskResultText(win::Status code) {
  std::string message = WindowsErrorText(code);
  if (message.empty()) {
    const win::Status distance = (code - kDispatchFirst) & 0xFFFF;
    message = code >= kDispatchFirst && code <= kDispatchLast && distance != 0
                  ? "IDispatch error #" + std::to_string(distance)
                  : "Unknown error 0x" + Hex(code);
  }
  return message + " (0x" + Hex(code) + ")";
}

WmiStatusTexts TaskStatusTexts(win::Status status) {
  // Facility names as the status-text service gives them.
  static constexpr struct {
    std::uint32_t facility;
    std::string_view name;
  } kFacilities[] = {{0, "Null"}, {1, "RPC"},   {2, "Dispatch"}, {3, "Storage"},
                     {4, "ITF"},  {7, "Win32"}, {8, "Windows"}};
  WmiStatusTexts texts;
  const std::uint32_t facility = (status >> 16) & 0x1FFF;
  for (const auto& known : kFacilities) {
    if (known.facility == facility) texts.facility = known.name;
  }
  texts.error = WindowsErrorText(status);
  return texts;
}

}  // namespace tabulon
