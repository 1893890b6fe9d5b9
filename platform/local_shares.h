#pragma once
// Folders of the computer the program runs on that stand for shares of a
// target ([Platform] LocalShares=), for the local file systems of every
// system.
#include <string>
#include <string_view>
#include <vector>

namespace tabulon::platform {

// A share whose files are those of a local folder: "\\FS01\apps" and
// "/srv/apps".
struct LocalShare {
  std::string unc;
  std::string folder;
};

// Local shares from "\\FS01\apps=/srv/apps;\\FS01\data=data": entries
// separated by ";", each a share's UNC name and its folder at the first "=";
// a relative folder lies in `base_directory`. Entries without a UNC name or
// a folder are left out. Trailing separators are dropped from both.
std::vector<LocalShare> ParseLocalShares(std::string_view text, std::string_view base_directory);

}  // namespace tabulon::platform
