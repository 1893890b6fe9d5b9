#pragma once
// The system's message text for a Windows status number, as a Windows system
// would give it for its default language. Codes 2100-2999 are network
// management messages. Unknown codes give empty text.
#include <string>

#include "platform/status.h"

namespace tabulon::win {

std::string SystemMessageText(Status code);

}  // namespace tabulon::win
