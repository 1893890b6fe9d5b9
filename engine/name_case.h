#pragma once
// Names in the data directory are matched without regard to case, as the
// configurations written on Windows expect: "RegTemplates.CFG" finds the
// "regtemplates.cfg" that first start copied there.
#include <string>

namespace tabulon {

// `path` names a file directly inside a directory. When no file has exactly
// that name but one differs from it only in letter case, that file's path
// (the first in byte order when there are several); otherwise `path`.
std::string MatchNameIgnoringCase(const std::string& path);

}  // namespace tabulon
