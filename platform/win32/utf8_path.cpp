#include "platform/utf8_path.h"

#include "platform/win32/wide.h"

namespace tabulon::platform {

// The C library's narrow fopen reads a name in the ANSI code page.
std::FILE* OpenUtf8File(const std::string& path, const char* mode) {
  return ::_wfopen(win32::ToWide(path).c_str(), win32::ToWide(mode).c_str());
}

}  // namespace tabulon::platform
