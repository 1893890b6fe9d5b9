#include "platform/user_directories.h"

#include <cstdlib>

namespace tabulon::platform {
namespace {

// The XDG base directory in `variable` when it is absolute, else the
// fallback below HOME.
std::string XdgDirectory(const char* variable, const char* home_relative) {
  if (const char* v = std::getenv(variable); v != nullptr && v[0] == '/') return v;
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
    return std::string(home) + home_relative;
  }
  return {};
}

}  // namespace

std::string UserConfigHome() {
  return XdgDirectory("XDG_CONFIG_HOME", "/.config");
}

std::string UserDataHome() {
  return XdgDirectory("XDG_DATA_HOME", "/.local/share");
}

}  // namespace tabulon::platform
