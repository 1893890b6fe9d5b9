#pragma once
// What the program's entry point needs from the system it runs on; one
// implementation per system (system_posix.cpp, system_win32.cpp), each with
// the program's entry function, which calls Main.
#include <string>

#include "engine/run_control.h"

namespace tabulon::app {

// The program with its arguments (UTF-8); the exit status.
int Main(int argc, char** argv);

// Before anything is read: no core file or crash dump may hold a password,
// a ticket or what a server sent. Empty, or why it could not be done.
std::string DisableCrashDumps();
// Standard input, output and error open, so that no file the program opens
// takes their place.
void ReserveStandardDescriptors();
bool StandardErrorIsTerminal();
// The program file's own path, for finding its data beside it.
std::string ProgramPath(const char* argv0);

// While it lives, the first Ctrl-C (or SIGTERM, or the console closing) ends
// the run after the target it is working on, and the second also cancels
// the call in flight.
class StopRequests {
 public:
  explicit StopRequests(RunControl& control);
  ~StopRequests();
  StopRequests(const StopRequests&) = delete;
  StopRequests& operator=(const StopRequests&) = delete;
};

}  // namespace tabulon::app
