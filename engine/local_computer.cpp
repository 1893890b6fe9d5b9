#include "engine/local_computer.h"

#include "platform/host.h"

namespace tabulon {

std::string LocalComputerName(std::string_view environment_value,
                              std::string_view estate_computer) {
  if (!environment_value.empty()) return std::string(environment_value);
  if (!estate_computer.empty()) return std::string(estate_computer);
  return platform::LocalHostName().value_or("localhost");
}

}  // namespace tabulon
