#include "platform/win32/native_sid.h"

#include <windows.h>

#include <cstdint>

namespace tabulon::platform::win32 {
namespace {

constexpr std::uint8_t kMaxSubAuthorities = 15;

}  // namespace

std::optional<Sid> SidFromNative(const void* sid, std::size_t size) {
  if (sid == nullptr || size < 8) return std::nullopt;
  const auto* bytes = static_cast<const std::uint8_t*>(sid);
  const std::uint8_t count = bytes[1];
  if (bytes[0] != 1 || count > kMaxSubAuthorities || size < 8 + 4 * std::size_t{count}) {
    return std::nullopt;
  }
  Sid out;
  out.revision = bytes[0];
  for (int i = 2; i < 8; ++i) out.authority = (out.authority << 8) | bytes[i];
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* sub = bytes + 8 + 4 * i;
    out.sub_authorities.push_back(std::uint32_t{sub[0]} | std::uint32_t{sub[1]} << 8 |
                                  std::uint32_t{sub[2]} << 16 | std::uint32_t{sub[3]} << 24);
  }
  return out;
}

std::optional<Sid> SidOf(const void* sid) {
  // IsValidSid takes a non-const pointer but only reads.
  PSID native = const_cast<void*>(sid);
  if (native == nullptr || !::IsValidSid(native)) return std::nullopt;
  return SidFromNative(sid, ::GetLengthSid(native));
}

}  // namespace tabulon::platform::win32
