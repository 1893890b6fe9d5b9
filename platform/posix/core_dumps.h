#pragma once
// A process that holds a password (the program, and each worker it starts)
// must never leave it in a core file: no core, whatever the core pattern,
// and not readable through /proc or a debugger of the same user.
#include <string>

namespace tabulon::platform {

// Makes this process undumpable (PR_SET_DUMPABLE 0) with a core file limit
// of 0, soft and hard, which its children inherit. Empty on success, else
// why not.
std::string DisableCoreDumps();

}  // namespace tabulon::platform
