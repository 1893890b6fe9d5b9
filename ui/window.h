#pragma once
// The desktop window's entry point: the program calls it for every command
// line that is no unattended run. Only here is the GUI application object
// created.
#include "engine/command_line.h"
#include "run/run.h"

namespace tabulon::ui {

// Opens the main window as the command line says (with /CONFIG_PROP= the
// configuration's overview alone) and returns the program's exit status
// when it closes.
int RunWindow(int argc, char** argv, const CommandLine& command, const run::Locations& locations);

}  // namespace tabulon::ui
