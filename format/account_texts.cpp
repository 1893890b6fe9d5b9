#include "format/account_texts.h"

#include <array>
#include <string_view>

namespace tabulon::format {
namespace {

struct FlagName {
  std::uint32_t bit;
  std::string_view name;
};

// The order of the written names, which is not the order of the bits.
constexpr std::array kFlagNames{
    FlagName{0x2, "DISABLED"},
    FlagName{0x20, "PASSWD_NOTREQD"},
    FlagName{0x40, "PASSWD_CANT_CHANGE"},
    FlagName{0x10, "LOCKOUT"},
    FlagName{0x10000, "DONT_EXPIRE_PASSWD"},
    FlagName{0x80, "ENCRYPTED_TEXT_PASSWORD_ALLOWED"},
    FlagName{0x100000, "NOT_DELEGATED"},
    FlagName{0x40000, "SMARTCARD_REQUIRED"},
    FlagName{0x200000, "USE_DES_KEY_ONLY"},
    FlagName{0x400000, "DONT_REQUIRE_PREAUTH"},
    FlagName{0x80000, "TRUSTED_FOR_DELEGATION"},
    FlagName{0x1000000, "TRUSTED_TO_AUTHENTICATE_FOR_DELEGATION"},
    FlagName{0x200, "NORMAL_ACCOUNT"},
};

}  // namespace

std::vector<std::string> AccountFlagNames(std::uint32_t flags) {
  std::vector<std::string> names;
  for (const FlagName& f : kFlagNames) {
    if ((flags & f.bit) != 0) names.emplace_back(f.name);
  }
  return names;
}

std::string LogonHoursBits(std::span<const std::uint8_t> bytes) {
  std::string text;
  text.reserve(bytes.size() * 8);
  for (const std::uint8_t byte : bytes) {
    for (int bit = 0; bit < 8; ++bit) text += ((byte >> bit) & 1) != 0 ? '1' : '0';
  }
  return text;
}

}  // namespace tabulon::format
