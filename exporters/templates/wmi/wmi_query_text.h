#pragma once
// What a WMI template sends: the WQL text built from its columns, the
// namespace path of a target, and the texts of the statuses WMI reports.
#include <string>
#include <string_view>
#include <vector>

#include "engine/error_text.h"
#include "platform/status.h"

namespace tabulon {

// "SELECT a,b FROM Class[ WHERE condition]"; symbol columns are left out.
std::string BuildWmiQuery(const std::vector<std::string>& columns, std::string_view object_class,
                          std::string_view where);

// The target path with "\\" in front unless it starts with "\".
std::string WmiComputerPart(std::string_view target_path);
// The computer part followed by "\root\CIMV2".
std::string WmiNamespacePath(std::string_view target_path);

// The facility and error texts the status-text service gives a status.
WmiStatusTexts WmiStatusTextsOf(win::Status status);

}  // namespace tabulon
