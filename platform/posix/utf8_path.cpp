#include "platform/utf8_path.h"

namespace tabulon::platform {

std::FILE* OpenUtf8File(const std::string& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}

}  // namespace tabulon::platform
