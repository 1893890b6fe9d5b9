#pragma once
// What a file/directory template scans on one computer: its share paths,
// each with a scan option and a depth, from the template's path entries and
// the computer's shares.
#include <string>
#include <string_view>
#include <vector>

#include "platform/netapi.h"

namespace tabulon {

enum class ScanOption : char {
  kTopLevel = '0',
  kAllLevels = '1',
  kLevels = '2',
};

struct ScanEntry {
  std::string share_path;  // "apps" or "apps\mdb"
  ScanOption option = ScanOption::kTopLevel;
  int levels = 0;  // kLevels only; the shared directory counts as one
};

// The path keys of a template.
struct PathSettings {
  std::string paths;
  std::string options;
  std::string levels;
  bool hidden_shares = false;
  bool admin_shares = false;
  bool normal_shares = false;
};

inline constexpr std::string_view kAllSharesPath = "%SHARE_NAME%";

// Whether the entries name share patterns, so that the shares are listed.
bool NeedsShares(std::string_view paths);

// The scan list, in the order of the entries and their sub-paths. Of
// `shares` (the computer's, when the entries need them) only disk and
// special shares count, by their lower-case names.
std::vector<ScanEntry> BuildScanList(const PathSettings& settings,
                                     const std::vector<platform::ShareInfo>& shares);

// "*.*" and "*" match every name; a pattern without "*" is the name itself
// in any case; otherwise "*" matches any run and "?" one character.
bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace tabulon
