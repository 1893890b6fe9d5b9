#pragma once
// Text from files and remote computers on its way to a terminal.
#include <string>
#include <string_view>

namespace tabulon {

// Control characters (U+0000-U+001F, DEL, U+0080-U+009F) become \xNN, so
// that a name cannot move the cursor, clear the line or change colours.
std::string EscapeControls(std::string_view text);

}  // namespace tabulon
