#pragma once
// LDAP string filters (RFC 4515) for the estate's directories: parsed once,
// then evaluated against each entry. Of the extensible matches
// ("attr:rule:=value") only the two bitwise rules of integer attributes are
// known, 1.2.840.113556.1.4.803 (every bit of the value set) and .804 (any
// bit set); any other is recognised and refused.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/directory_search.h"

namespace tabulon::estate {

// Deeper nesting than this is refused rather than parsed recursively.
inline constexpr std::size_t kMaxFilterDepth = 64;

struct FilterNode {
  enum class Kind : std::uint8_t {
    kAnd,
    kOr,
    kNot,
    kEquality,
    kApprox,
    kGreaterOrEqual,
    kLessOrEqual,
    kPresent,
    kSubstrings,
    kBitAnd,  // attr:1.2.840.113556.1.4.803:=bits
    kBitOr,   // attr:1.2.840.113556.1.4.804:=bits
  };
  Kind kind = Kind::kPresent;
  std::string attribute;
  std::string value;  // unescaped assertion value
  // Substrings: the initial and final parts (empty: none) and the middles.
  std::string initial;
  std::vector<std::string> any;
  std::string final;
  std::vector<FilterNode> children;
};

struct FilterParse {
  enum class Outcome : std::uint8_t { kOk, kSyntaxError, kExtensibleMatch };
  Outcome outcome = Outcome::kSyntaxError;
  FilterNode root;
  std::string error;  // why, with the offset
};

FilterParse ParseFilter(std::string_view text);

// Case-folded text without the blanks around a DN's separators: how the
// estate's directories compare names and text values.
std::string FoldDirectoryText(std::string_view text);

// True when the entry matches. `kinds` tells octet strings (compared byte
// for byte) and integers (compared as numbers) from text, which compares
// without regard to case; an attribute the entry lacks never matches.
bool MatchesFilter(const FilterNode& filter, const platform::DirectoryEntry& entry,
                   const platform::AttributeKinds& kinds);

}  // namespace tabulon::estate
