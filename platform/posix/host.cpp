#include "platform/host.h"

#include <unistd.h>

namespace tabulon::platform {

std::optional<std::string> LocalHostName() {
  char host[256] = {};
  // One byte short of the buffer, so that a truncated name stays terminated.
  if (::gethostname(host, sizeof host - 1) != 0) return std::nullopt;
  return std::string(host);
}

std::uint32_t CurrentProcessId() {
  return static_cast<std::uint32_t>(::getpid());
}

}  // namespace tabulon::platform
