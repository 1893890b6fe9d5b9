#pragma once
// Text is UTF-8 inside the program and UTF-16 in the W functions of the
// Windows API: these two convert at that edge, and nowhere else.
#include <string>
#include <string_view>

namespace tabulon::platform::win32 {

// Malformed UTF-8 becomes U+FFFD, as MultiByteToWideChar replaces it.
std::wstring ToWide(std::string_view utf8);
// An unpaired surrogate becomes U+FFFD, as WideCharToMultiByte replaces it.
std::string ToUtf8(std::wstring_view utf16);

}  // namespace tabulon::platform::win32
