#pragma once
// The terminal-server user configuration fields, which the users export
// writes as columns and the directory queries as attributes named like
// their keys.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/terminal_services.h"

namespace tabulon {

// A terminal-server user field: its key, the WTS_CONFIG_CLASS it asks for
// and whether the answer is text. The table is also the lookup of directory
// attributes named like its keys.
struct TseUserField {
  std::string_view key;
  std::uint32_t config_class;
  bool text;
};
std::span<const TseUserField> TseUserFields();
// Exact comparison; null for a key not in the table.
const TseUserField* FindTseUserField(std::string_view key);
// A text class as returned; a number in whole minutes when it is 60000
// (one minute in milliseconds) or more, else unchanged, as "%d".
std::string TseUserValue(const TseUserField& field, const platform::UserConfigResult& answer);

}  // namespace tabulon
