#pragma once
// A process that holds a password must never leave it in a crash dump or an
// error report. Windows writes no core files; what can copy its memory is
// Windows Error Reporting, which a crash hands the process to.
#include <string>

namespace tabulon::platform {

// Stops the crash dialog and the critical-error boxes (an error mode that
// processes started from here inherit), and keeps the heap, where the
// password lives, out of any error report; the process's executable is left
// out of error reporting for the current user. Empty on success, else why
// not.
std::string DisableCoreDumps();

}  // namespace tabulon::platform
