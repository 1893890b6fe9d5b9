#pragma once
// Hand-built binary SIDs, ACEs, ACLs and self-relative security descriptors.
#include <cstdint>
#include <initializer_list>
#include <string>

namespace tabulon::format::testing {

inline std::string Le16(std::uint32_t v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}

inline std::string Le32(std::uint32_t v) {
  return Le16(v & 0xFFFF) + Le16(v >> 16);
}

inline std::string SidBytes(std::uint8_t authority, std::initializer_list<std::uint32_t> subs) {
  std::string s{1, static_cast<char>(subs.size()), 0, 0, 0, 0, 0, static_cast<char>(authority)};
  for (const std::uint32_t sub : subs) s += Le32(sub);
  return s;
}

inline std::string AceBytes(std::uint8_t type, std::uint8_t flags, std::uint32_t mask,
                            const std::string& sid, const std::string& object_part = "") {
  const std::string body = Le32(mask) + object_part + sid;
  return std::string{static_cast<char>(type), static_cast<char>(flags)} +
         Le16(static_cast<std::uint32_t>(4 + body.size())) + body;
}

inline std::string AclBytes(std::initializer_list<std::string> aces) {
  std::string body;
  for (const std::string& a : aces) body += a;
  return std::string{2, 0} + Le16(static_cast<std::uint32_t>(8 + body.size())) +
         Le16(static_cast<std::uint32_t>(aces.size())) + Le16(0) + body;
}

// Parts are laid out after the header in the order owner, group, SACL, DACL;
// an empty part gets offset 0.
inline std::string DescriptorBytes(std::uint16_t control, const std::string& owner,
                                   const std::string& group, const std::string& sacl,
                                   const std::string& dacl) {
  std::string header{1, 0};
  header += Le16(control);
  std::string tail;
  for (const std::string* part : {&owner, &group, &sacl, &dacl}) {
    header += Le32(part->empty() ? 0 : static_cast<std::uint32_t>(20 + tail.size()));
    tail += *part;
  }
  return header + tail;
}

}  // namespace tabulon::format::testing
