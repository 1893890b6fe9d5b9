#pragma once
// A small, strict XML reader for the documents the estate keeps on disk
// (task definitions): elements, attributes, character data with the five
// predefined entities and character references, CDATA sections, comments,
// processing instructions and the XML declaration. UTF-8, and UTF-8 or
// UTF-16 with a byte-order mark; everything comes out as UTF-8. Document
// type declarations are refused. Depth, size and element count are bounded
// so that no input can make it use much time or memory; the first error
// is reported with the origin and the line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tabulon::estate {

inline constexpr std::size_t kMaxXmlBytes = 1 << 20;
inline constexpr std::size_t kMaxXmlDepth = 32;
inline constexpr std::size_t kMaxXmlElements = 10000;

struct XmlElement {
  std::string name;  // as written, with its prefix if it has one
  std::vector<std::pair<std::string, std::string>> attributes;
  std::vector<XmlElement> children;
  std::string text;  // the character data directly inside, joined
  std::uint32_t line = 0;

  // The first child of that name, or null.
  const XmlElement* Child(std::string_view child_name) const;
  // The value of an attribute, or null.
  const std::string* Attribute(std::string_view attribute_name) const;
};

struct XmlDocument {
  bool ok = false;
  XmlElement root;
  std::string error;  // "origin:line: message"
};

XmlDocument ParseXml(std::string_view bytes, std::string_view origin);

}  // namespace tabulon::estate
