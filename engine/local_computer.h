#pragma once
// The computer "%COMPUTERNAME%" (the object path "\\%computername%") stands
// for.
#include <string>
#include <string_view>

namespace tabulon {

// `environment_value` is the COMPUTERNAME variable as the caller read it
// (empty when unset); it wins over the estate's own computer, and the host
// name is used only when both are empty.
std::string LocalComputerName(std::string_view environment_value, std::string_view estate_computer);

}  // namespace tabulon
