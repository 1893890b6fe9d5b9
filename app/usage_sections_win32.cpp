// The notes of --help on Windows: the console's Ctrl-C, the application
// data folders, the credentials file's access list, the logged-on user.
#include <array>

#include "app/usage.h"
#include "app/usage_shared.h"

namespace tabulon::app {
namespace {

constexpr std::array<UsageSection, 6> kSections{{
    {"STOPPING",
     "Ctrl-C or Ctrl-Break ends the run after the current computer; a second one cancels the "
     "remote call in flight as well and ends the run at once, the files closed after their last "
     "complete row. Closing the console, logging off or shutting down does both at once. "
     "Failure rows the window would show (a computer that does not answer, a service that cannot "
     "be read) are printed to standard error, one line each."},
    {"FAILED TARGETS", kFailedTargetsText},
    {"FILES",
     "Per-user data (template files, configurations named without a directory) in "
     "%APPDATA%\\Wendrock\\Tabulon, settings in %LOCALAPPDATA%\\Wendrock\\Tabulon.ini. The "
     "default template files, copied there on first start, are in share\\tabulon beside the "
     "program's folder.\n\n"
     "The key Estate in section [Platform] of a configuration names an estate file: the run then "
     "works on that simulated network instead of real computers. [Platform] Credentials= names a "
     "file of \"username = ...\", \"password = ...\" and \"domain = ...\" lines that no one but "
     "its owner, SYSTEM and the Administrators may read (icacls); without it, remote calls log on "
     "as you. Timeout= is how many seconds one remote call may take (default 60). A crash leaves "
     "no dump of the program's memory."},
    {"ENVIRONMENT",
     "APPDATA, LOCALAPPDATA: where per-user data and settings are.\n\n"
     "TABULON_DATA_DIR: another folder of default template files and sample configurations.\n\n"
     "COMPUTERNAME: the computer %COMPUTERNAME% in a configuration stands for."},
    {"EXAMPLES",
     "An unattended run, for example from a scheduled task, as the user the task runs as:\n\n"
     "    tabulon.exe /CONFIG=C:\\Inventory\\servers.ini\n\n"
     "The same run with a credentials file, named in the configuration as [Platform] "
     "Credentials=C:\\Inventory\\admin.cred:\n\n"
     "    tabulon.exe /CONFIG=C:\\Inventory\\servers.ini\n\n"
     "Go on with a run that was interrupted:\n\n"
     "    tabulon.exe /CONFIG=C:\\Inventory\\servers.ini /RESUME"},
    {"SEE ALSO", "The README and the docs folder that come with the program."},
}};

}  // namespace

std::span<const UsageSection> UsageSections() {
  return kSections;
}

}  // namespace tabulon::app
