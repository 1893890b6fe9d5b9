#include "platform/win32/net_buffer.h"

#include <windows.h>

#include <lm.h>

#include <cwchar>

#include "platform/win32/wide.h"

namespace tabulon::platform::win32 {

NetBuffer::~NetBuffer() {
  if (buffer_ != nullptr) ::NetApiBufferFree(buffer_);
}

std::size_t NetBuffer::bytes() const {
  DWORD size = 0;
  if (buffer_ == nullptr || ::NetApiBufferSize(buffer_, &size) != NERR_Success) return 0;
  return size;
}

std::string NetText(const wchar_t* text, std::size_t max_units) {
  if (text == nullptr) return {};
  return ToUtf8(std::wstring_view(text, ::wcsnlen(text, max_units)));
}

NetName::NetName(std::string_view utf8) : wide_(ToWide(utf8)), empty_(utf8.empty()) {}

}  // namespace tabulon::platform::win32
