#pragma once
// Little-endian integers written into byte buffers, as Windows lays out its
// binary structures (security descriptors and their parts): appended at the
// end, or set in place at an offset the buffer already has.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tabulon::platform {

inline void AppendLe16(std::vector<std::uint8_t>& out, std::size_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

inline void AppendLe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  AppendLe16(out, value & 0xFFFF);
  AppendLe16(out, value >> 16);
}

inline void SetLe16(std::vector<std::uint8_t>& out, std::size_t at, std::size_t value) {
  out[at] = static_cast<std::uint8_t>(value & 0xFF);
  out[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

inline void SetLe32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
  SetLe16(out, at, value & 0xFFFF);
  SetLe16(out, at + 2, value >> 16);
}

}  // namespace tabulon::platform
