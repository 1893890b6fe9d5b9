#pragma once
// An RPC context handle as it travels: a 32-bit attribute word and a 16-byte
// UUID, 20 bytes in all. All zeros is the null handle a server returns when
// an open fails or a close succeeds.
#include <algorithm>
#include <array>
#include <cstdint>

namespace tabulon::platform::remote::ndr {

struct ContextHandle {
  std::array<std::uint8_t, 20> bytes{};

  bool IsNull() const {
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
  }
  friend bool operator==(const ContextHandle&, const ContextHandle&) = default;
};

}  // namespace tabulon::platform::remote::ndr
