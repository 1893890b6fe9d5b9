#pragma once
// Lists of names read from list files (skip list, services, groups, trustees)
// and matching a name against them.
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace tabulon::format {

using NameList = std::vector<std::string>;

struct LoadStatus {
  win::Status error = win::ERROR_SUCCESS;
  bool ok() const { return error == win::ERROR_SUCCESS; }
};

// One entry per line, blank lines included, trailing white space removed;
// lines longer than 1023 bytes become several entries of 1023 bytes. The
// list is emptied first and stays empty when the file cannot be read; the
// caller reports that.
LoadStatus LoadNameList(std::string_view path, NameList& list);

// Leading backslashes do not count. An entry matches exactly, or as a prefix
// ("spool*"), a suffix ("*ler") or a part ("*poo*"), ignoring case. A single
// '*' inside an entry ("sp*er") is taken literally.
bool MatchNameList(std::string_view name, const NameList& list);

}  // namespace tabulon::format
