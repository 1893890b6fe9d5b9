#pragma once
#include <cstdint>
#include <string>

namespace tabulon {

// A DWORD as "%d" prints it: values from 2^31 on come out negative.
inline std::string DecimalText(std::uint32_t value) {
  return std::to_string(static_cast<std::int32_t>(value));
}

}  // namespace tabulon
