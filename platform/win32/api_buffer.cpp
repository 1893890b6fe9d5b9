#include "platform/win32/api_buffer.h"

#include <cwchar>
#include <string_view>

#include "platform/win32/wide.h"

namespace tabulon::platform::win32 {

std::optional<std::string> StringInBuffer(const wchar_t* text, const void* begin,
                                          std::size_t size) {
  if (text == nullptr) return std::string();
  const auto at = reinterpret_cast<std::uintptr_t>(text);
  const auto start = reinterpret_cast<std::uintptr_t>(begin);
  if (at < start || at >= start + size || (at - start) % sizeof(wchar_t) != 0) {
    return std::nullopt;
  }
  const std::size_t room = (start + size - at) / sizeof(wchar_t);
  const std::size_t length = ::wcsnlen(text, room);
  if (length == room) return std::nullopt;
  return ToUtf8(std::wstring_view(text, length));
}

}  // namespace tabulon::platform::win32
