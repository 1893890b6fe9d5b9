#pragma once
// The key list of a registry template: entries "HIVE[x64][\path][\*|\**]",
// separated by commas that key names may hold too, a "*" inside a path
// standing for the subkeys whose names begin with the text before it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace tabulon {

struct HiveRow {
  std::string_view abbreviation;  // compared with regard to case
  platform::RegistryKey hive;
};

// The hive an entry's hive part names; every unknown part is the current
// user's hive.
const HiveRow& ResolveHive(std::string_view part);

// A hive part with its view: "x64" at its end asks for the 64-bit view.
struct HiveView {
  const HiveRow* hive;
  bool view64;
};
HiveView ResolveHiveView(std::string_view part);

// The entries of a key list. A "," ends an entry only when "HK" follows it
// or when it is among the last three characters; empty entries stay.
std::vector<std::string> SplitKeyList(std::string_view text);

// Whether the entry's first "*" sits inside it rather than in a trailing
// "*" or "**" suffix.
bool HasMidPathWildcard(std::string_view entry);

enum class SubkeyMode { kNone, kOneLevel, kRecursive };

struct KeyEntry {
  HiveView hive;
  std::string path;  // below the hive, without suffix and trailing "\"
  SubkeyMode mode = SubkeyMode::kNone;
};
// Nothing for an entry without "\".
std::optional<KeyEntry> ParseKeyEntry(std::string_view entry);

}  // namespace tabulon
