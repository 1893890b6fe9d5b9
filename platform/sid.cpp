#include "platform/security.h"

#include <charconv>
#include <cstdio>

namespace tabulon::platform {
namespace {

constexpr std::size_t kMaxSubAuthorities = 15;
constexpr std::uint64_t kMaxAuthority = (std::uint64_t{1} << 48) - 1;

bool ParseNumber(std::string_view part, std::uint64_t max, std::uint64_t& out) {
  if (part.empty()) return false;
  int base = 10;
  if (part.size() > 2 && part[0] == '0' && (part[1] == 'x' || part[1] == 'X')) {
    base = 16;
    part.remove_prefix(2);
  }
  const auto [ptr, ec] = std::from_chars(part.data(), part.data() + part.size(), out, base);
  return ec == std::errc() && ptr == part.data() + part.size() && out <= max;
}

}  // namespace

std::string Sid::ToString() const {
  std::string out = "S-" + std::to_string(revision) + "-";
  if (authority > 0xFFFFFFFFULL) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%012llX", static_cast<unsigned long long>(authority));
    out += buf;
  } else {
    out += std::to_string(authority);
  }
  for (std::uint32_t sub : sub_authorities) out += "-" + std::to_string(sub);
  return out;
}

std::optional<Sid> Sid::Parse(std::string_view text) {
  if (text.size() < 2 || (text[0] != 'S' && text[0] != 's') || text[1] != '-') return std::nullopt;
  text.remove_prefix(2);
  std::vector<std::string_view> parts;
  while (true) {
    const auto dash = text.find('-');
    parts.push_back(text.substr(0, dash));
    if (dash == std::string_view::npos) break;
    text.remove_prefix(dash + 1);
  }
  if (parts.size() < 2 || parts.size() - 2 > kMaxSubAuthorities) return std::nullopt;
  Sid sid;
  std::uint64_t value = 0;
  if (!ParseNumber(parts[0], 255, value) || value != 1) return std::nullopt;
  sid.revision = static_cast<std::uint8_t>(value);
  if (!ParseNumber(parts[1], kMaxAuthority, sid.authority)) return std::nullopt;
  for (std::size_t i = 2; i < parts.size(); ++i) {
    if (!ParseNumber(parts[i], 0xFFFFFFFFULL, value)) return std::nullopt;
    sid.sub_authorities.push_back(static_cast<std::uint32_t>(value));
  }
  return sid;
}

std::uint32_t Sid::ByteSize() const {
  return 8 + 4 * static_cast<std::uint32_t>(sub_authorities.size());
}

void Sid::AppendBytes(std::vector<std::uint8_t>& out) const {
  out.push_back(revision);
  out.push_back(static_cast<std::uint8_t>(sub_authorities.size()));
  for (int shift = 40; shift >= 0; shift -= 8) {
    out.push_back(static_cast<std::uint8_t>((authority >> shift) & 0xFF));
  }
  for (const std::uint32_t sub : sub_authorities) {
    for (int shift = 0; shift < 32; shift += 8)
      out.push_back(static_cast<std::uint8_t>(sub >> shift));
  }
}

}  // namespace tabulon::platform
