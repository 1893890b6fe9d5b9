#pragma once
// LDIF content files (RFC 2849) as the directories of the estate: the output
// of an LDAP search tool or a directory's own export. Folded lines, comments
// and base64 values ("::") are read; values by URL (":<") and change records
// are refused with the file and line, since the estate is a snapshot.
#include <string>
#include <string_view>
#include <vector>

#include "platform/directory_search.h"

namespace tabulon::estate {

// Limits that keep a damaged or hostile file from exhausting memory.
inline constexpr std::size_t kMaxLdifValueBytes = 16u << 20;
inline constexpr std::size_t kMaxLdifEntries = 1'000'000;

struct LdifResult {
  bool ok = false;
  std::vector<platform::DirectoryEntry> entries;  // in file order
  std::string error;                              // "NAME:LINE: why" when not ok
};

// `origin` names the file in errors. Attribute values of one name are merged
// in the order they appear; names keep the spelling of their first line.
LdifResult ParseLdif(std::string_view text, std::string_view origin);

}  // namespace tabulon::estate
