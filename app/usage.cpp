#include "app/usage.h"

#include <array>

namespace tabulon::app {
namespace {

constexpr std::string_view kSynopsis[] = {
    "tabulon",
    "tabulon /CONFIG=<configuration.ini> [/NOMSG] [/RESUME]",
    "tabulon /CONFIG_PROP=<configuration.ini>",
    "tabulon --help | --version",
};

constexpr std::string_view kDescription =
    "Exports inventory about Windows computers, domains and directories into delimited text "
    "files, as the configuration file says. Without a switch it opens its window.";

constexpr std::array<UsageSwitch, 8> kSwitches{{
    {"/CONFIG=", "<file>",
     "Run the export of that configuration without a window and end. The value runs to the end "
     "of the line, so give it last. A name without a directory is looked for in the data "
     "directory; letter case is kept."},
    {"/NOMSG", "", "Messages go to the log file (when logging is on) instead of standard error."},
    {"/RESUME", "",
     "Go on with the run of that configuration that was interrupted (killed, crashed, power cut, "
     "or stopped with Ctrl-C): the files are cut back to the last target the run completed and "
     "the run goes on with the next one. The journal it needs lies beside the log "
     "(<log>.journal), or without a log in the output directory (<configuration name>.journal). "
     "A journal of another configuration, object file or target list, or files shorter than it "
     "recorded, are refused (status 1)."},
    {"/CONFIG_PROP=", "<file>",
     "Only the \"Export Configuration Properties\" window of that configuration; the program ends "
     "when it closes (status 0, or 1 when the configuration cannot be opened)."},
    {"/QUOLL_TABULON=", "<file>",
     "Open the main window with the objects the sibling tool handed over in that file. Needs the "
     "desktop window."},
    {"/QUOLL_CONFIG=", "<file>",
     "Open the main window with the sibling tool's object file. Needs the desktop window."},
    {"--help", "", "This text."},
    {"--version", "", "The program version."},
}};

constexpr std::array<UsageExitStatus, 5> kExitStatuses{{
    {kExitOk, "Completed: every target processed, every file written."},
    {kExitStoppedEarly,
     "Stopped before the first target: a missing object file setting, an output, log, list, "
     "include or object file that cannot be opened or is not a regular file, two uses of the same "
     "file, no active objects, a journal /RESUME cannot use."},
    {kExitUsage, "A command line it cannot use."},
    {kExitOutputErrors,
     "Completed with output errors: an output or log file could not be written completely (full "
     "file system, file removed); named on standard error."},
    {kExitStoppedByUser, "Stopped by the user (Ctrl-C or SIGTERM); 3 wins when a file failed too."},
}};

}  // namespace

std::span<const std::string_view> UsageSynopsis() {
  return kSynopsis;
}
std::string_view UsageDescription() {
  return kDescription;
}
std::span<const UsageSwitch> UsageSwitches() {
  return kSwitches;
}
std::span<const UsageExitStatus> UsageExitStatuses() {
  return kExitStatuses;
}

}  // namespace tabulon::app
