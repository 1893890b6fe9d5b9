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

constexpr std::array<UsageSection, 6> kSections{{
    {"STOPPING",
     "Ctrl-C or SIGTERM ends the run after the current computer; a second one cancels the remote "
     "call in flight as well and ends the run at once, the files closed after their last complete "
     "row. Failure rows the window would show (a computer that does not answer, a service that "
     "cannot be read) are printed to standard error, one line each."},
    {"FAILED TARGETS",
     "When a target fails (no answer to the ping, no server information, an export that failed), "
     "the run writes the failed targets as an object file beside the log (<log>.failed.dat), or "
     "without a log in the output directory (<configuration name>.failed.dat); ObjectFile= "
     "pointed at it exports only them. A run in which no target failed removes an old one of that "
     "name.\n\n"
     "Before anything is opened, the run checks that no two outputs (and the log) are the same "
     "file, and that none of them is an input: the configuration, the object, include, list, "
     "estate or template files."},
    {"FILES",
     "Per-user data (template files, configurations named without a directory) in "
     "$XDG_DATA_HOME/Wendrock/Tabulon, settings in $XDG_CONFIG_HOME/Wendrock/Tabulon.ini. The "
     "default template files, copied there on first start, are in share/tabulon beside the "
     "program's folder (/usr/share/tabulon from the package), or in the data folder of the "
     "source tree it was built from. The sample configuration and its simulated network are in "
     "/usr/share/tabulon/examples.\n\n"
     "The key Estate in section [Platform] of a configuration names an estate file: the run then "
     "works on that simulated network instead of real computers. [Platform] Credentials= names a "
     "file of \"username = ...\", \"password = ...\" and \"domain = ...\" lines that only its "
     "owner may read; Kerberos=1 uses your Kerberos tickets instead; with neither, the run uses "
     "your Kerberos tickets when you have usable ones, else connects anonymously, and says which. "
     "Timeout= is how many seconds one remote call may take (default 60). The program never "
     "writes a core file."},
    {"ENVIRONMENT",
     "XDG_DATA_HOME, XDG_CONFIG_HOME: where per-user data and settings are (default "
     "~/.local/share and ~/.config).\n\n"
     "TABULON_DATA_DIR: another folder of default template files and sample configurations.\n\n"
     "KRB5CCNAME: the Kerberos ticket cache a run uses with Kerberos=1, or when no credentials "
     "file is named.\n\n"
     "DISPLAY, WAYLAND_DISPLAY: the display the window opens on; /CONFIG= runs need none."},
    {"EXAMPLES",
     "The sample, on a simulated network, writing its files into a new folder:\n\n"
     "    mkdir sample && cd sample\n"
     "    tabulon /CONFIG=/usr/share/tabulon/examples/sample.ini\n\n"
     "An unattended run with a credentials file, named in the configuration as [Platform] "
     "Credentials=/home/admin/.tabulon-credentials (mode 0600):\n\n"
     "    tabulon /CONFIG=/srv/inventory/servers.ini\n\n"
     "The same run with Kerberos: set [Platform] Kerberos=1 and get a ticket first:\n\n"
     "    kinit admin@EXAMPLE.LAN && tabulon /CONFIG=/srv/inventory/servers.ini\n\n"
     "Go on with a run that was interrupted:\n\n"
     "    tabulon /CONFIG=/srv/inventory/servers.ini /RESUME"},
    {"SEE ALSO",
     "kinit(1); /usr/share/doc/tabulon/README.md and the docs folder beside it (the window's "
     "manual is docs/window.md)."},
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
std::span<const UsageSection> UsageSections() {
  return kSections;
}

}  // namespace tabulon::app
