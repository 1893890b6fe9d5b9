#pragma once
// Names of local files are UTF-8 inside the program, but a
// std::filesystem::path made from a narrow string reads it in the system's
// code page on Windows (and a stream opened by a narrow name does too). So
// every name that reaches the standard library's file functions goes
// through these two.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace tabulon::platform {

inline std::filesystem::path Utf8Path(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8Name(const std::filesystem::path& path) {
  const std::u8string name = path.u8string();
  return std::string(name.begin(), name.end());
}

// std::fopen by a UTF-8 name; null with errno set when it fails.
std::FILE* OpenUtf8File(const std::string& path, const char* mode);

}  // namespace tabulon::platform
