#pragma once
// Small executables laid out byte by byte: a DOS header, the PE headers, one
// ".rsrc" section and a resource tree whose version resources carry the
// given fixed info, strings and translations.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tabulon::testing {

inline std::string PeLe16(std::uint32_t v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}
inline std::string PeLe32(std::uint32_t v) {
  return PeLe16(v & 0xFFFF) + PeLe16(v >> 16);
}
inline void PadTo4(std::string& s) {
  while (s.size() % 4 != 0) s += '\0';
}
inline std::string Utf16z(const std::string& ascii) {
  std::string out;
  for (char c : ascii) out += std::string{c, '\0'};
  return out + std::string(2, '\0');
}

// One version block: header, key, value and children, each 32-bit aligned.
inline std::string VersionBlock(const std::string& key, const std::string& value,
                                std::uint16_t value_length, bool text,
                                const std::string& children = "") {
  std::string body = Utf16z(key);
  std::string s = PeLe16(0) + PeLe16(value_length) + PeLe16(text ? 1 : 0) + body;
  PadTo4(s);
  s += value;
  if (!children.empty()) PadTo4(s);
  s += children;
  const std::string length = PeLe16(static_cast<std::uint32_t>(s.size()));
  s[0] = length[0];
  s[1] = length[1];
  return s;
}

struct VersionSpec {
  std::uint32_t file_ms = 0x00010002, file_ls = 0x00030004;
  std::uint32_t product_ms = 0x00050006, product_ls = 0x00070008;
  std::uint32_t os = 0x40004, type = 1;
  // Table key ("040904b0") and its strings.
  std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> tables = {
      {"040904b0", {{"CompanyName", "Wendrock Ltd"}, {"ProductName", "Ledger"}}}};
  std::vector<std::pair<std::uint16_t, std::uint16_t>> translations = {{0x409, 1200}};
};

inline std::string VersionInfoBytes(const VersionSpec& v) {
  std::string fixed = PeLe32(0xFEEF04BD) + PeLe32(0x00010000) + PeLe32(v.file_ms) +
                      PeLe32(v.file_ls) + PeLe32(v.product_ms) + PeLe32(v.product_ls) +
                      PeLe32(0x3F) + PeLe32(0) + PeLe32(v.os) + PeLe32(v.type) + PeLe32(0) +
                      PeLe32(0) + PeLe32(0);
  std::string tables;
  for (const auto& [key, strings] : v.tables) {
    std::string children;
    for (const auto& [name, value] : strings) {
      children +=
          VersionBlock(name, Utf16z(value), static_cast<std::uint16_t>(value.size() + 1), true);
      PadTo4(children);
    }
    tables += VersionBlock(key, "", 0, true, children);
    PadTo4(tables);
  }
  std::string translation;
  for (const auto& [language, code_page] : v.translations) {
    translation += PeLe16(language) + PeLe16(code_page);
  }
  std::string children;
  if (!v.tables.empty()) children += VersionBlock("StringFileInfo", "", 0, true, tables);
  PadTo4(children);
  children += VersionBlock("VarFileInfo", "", 0, true,
                           VersionBlock("Translation", translation,
                                        static_cast<std::uint16_t>(translation.size()), false));
  return VersionBlock("VS_VERSION_INFO", fixed, 52, false, children);
}

struct PeSpec {
  bool pe32_plus = false;
  // Language and version block of each RT_VERSION resource (ID 1).
  std::vector<std::pair<std::uint16_t, std::string>> languages;
};

constexpr std::uint32_t kPeSectionRva = 0x1000;
constexpr std::uint32_t kPeSectionFileOffset = 0x200;

inline std::string PeImage(const PeSpec& spec) {
  // Resource tree: root (type 16), names (ID 1), languages, data entries,
  // then the blocks.
  const std::uint32_t n = static_cast<std::uint32_t>(spec.languages.size());
  const std::uint32_t names_at = 24, languages_at = 48, data_at = 64 + 8 * n;
  std::uint32_t blocks_at = data_at + 16 * n;
  std::string tree = PeLe32(0) + PeLe32(0) + PeLe32(0) + PeLe16(0) + PeLe16(1) + PeLe32(16) +
                     PeLe32(0x80000000 | names_at);
  tree += PeLe32(0) + PeLe32(0) + PeLe32(0) + PeLe16(0) + PeLe16(1) + PeLe32(1) +
          PeLe32(0x80000000 | languages_at);
  tree += PeLe32(0) + PeLe32(0) + PeLe32(0) + PeLe16(0) + PeLe16(n);
  for (std::uint32_t i = 0; i < n; ++i) {
    tree += PeLe32(spec.languages[i].first) + PeLe32(data_at + 16 * i);
  }
  std::string blocks;
  for (const auto& [language, block] : spec.languages) {
    tree += PeLe32(kPeSectionRva + blocks_at + static_cast<std::uint32_t>(blocks.size())) +
            PeLe32(static_cast<std::uint32_t>(block.size())) + PeLe32(0) + PeLe32(0);
    blocks += block;
    PadTo4(blocks);
  }
  const std::string section = tree + blocks;
  const auto section_size = static_cast<std::uint32_t>(section.size());

  std::string image = "MZ" + std::string(58, '\0') + PeLe32(0x40);
  image += "PE" + std::string(2, '\0');
  const std::uint32_t optional_size = spec.pe32_plus ? 240 : 224;
  image += PeLe16(spec.pe32_plus ? 0x8664 : 0x14C) + PeLe16(1) + PeLe32(0) + PeLe32(0) + PeLe32(0) +
           PeLe16(optional_size) + PeLe16(0x0102);
  std::string optional = PeLe16(spec.pe32_plus ? 0x20B : 0x10B);
  const std::size_t count_at = spec.pe32_plus ? 108 : 92;
  optional.resize(count_at, '\0');
  optional += PeLe32(16);
  optional += PeLe32(0) + PeLe32(0) + PeLe32(0) + PeLe32(0);  // export, import
  optional += PeLe32(section_size == 0 ? 0 : kPeSectionRva) + PeLe32(section_size);
  optional.resize(optional_size, '\0');
  image += optional;
  image += std::string(".rsrc\0\0\0", 8) + PeLe32(section_size) + PeLe32(kPeSectionRva) +
           PeLe32(section_size) + PeLe32(kPeSectionFileOffset) + std::string(16, '\0');
  image.resize(kPeSectionFileOffset, '\0');
  return image + section;
}

}  // namespace tabulon::testing
