#include "engine/local_computer.h"

#include <unistd.h>

namespace tabulon {

std::string LocalComputerName(std::string_view environment_value,
                              std::string_view estate_computer) {
  if (!environment_value.empty()) return std::string(environment_value);
  if (!estate_computer.empty()) return std::string(estate_computer);
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) != 0) return "localhost";
  return host;
}

}  // namespace tabulon
