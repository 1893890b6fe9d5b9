#pragma once
// Lookups in the status list: the name and message text of a status, and the
// status of a name.
#include <span>
#include <string_view>

#include "platform/status.h"

namespace tabulon::win {

struct StatusRow {
  Status code;
  std::string_view name;
  std::string_view text;
};

// Every known status, sorted by code.
std::span<const StatusRow> StatusRows();

// The row of a code; null when the status is not known.
const StatusRow* FindStatus(Status code);
// The row of a symbolic name in any letter case; null when there is none.
const StatusRow* FindStatusByName(std::string_view name);

}  // namespace tabulon::win
