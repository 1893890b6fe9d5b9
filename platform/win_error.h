#pragma once
// The system's message text for a Windows status number, as a Windows system
// would give it for its default language. Codes 2100-2999 are network
// management messages. Unknown codes give empty text.
#include <string>

#include "platform/status.h"

namespace tabulon::win {

std::string SystemMessageText(Status code);
// The text the system itself has for a status the list does not know: the
// message tables of Windows; none on other systems.
std::string NativeMessageText(Status code);

}  // namespace tabulon::win
