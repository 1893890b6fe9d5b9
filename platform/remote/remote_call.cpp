#include "platform/remote/remote_call.h"

#include "platform/little_endian.h"

namespace tabulon::platform::remote {

void KeepAskedParts(std::vector<std::uint8_t>& descriptor, std::uint32_t information) {
  constexpr std::size_t kHeader = 20;
  if (descriptor.size() < kHeader) return;
  constexpr std::uint16_t kDaclPresent = 0x0004;
  constexpr std::uint16_t kSaclPresent = 0x0010;
  struct Part {
    std::uint32_t information;
    std::size_t offset_at;
    std::uint16_t present;
  };
  constexpr Part kParts[] = {
      {kOwnerSecurityInformation, 4, 0},
      {kGroupSecurityInformation, 8, 0},
      {kSaclSecurityInformation, 12, kSaclPresent},
      {kDaclSecurityInformation, 16, kDaclPresent},
  };
  std::uint16_t control = static_cast<std::uint16_t>(descriptor[2] | (descriptor[3] << 8));
  for (const Part& part : kParts) {
    if ((information & part.information) != 0) continue;
    SetLe32(descriptor, part.offset_at, 0);
    control = static_cast<std::uint16_t>(control & ~part.present);
  }
  SetLe16(descriptor, 2, control);
}

}  // namespace tabulon::platform::remote
