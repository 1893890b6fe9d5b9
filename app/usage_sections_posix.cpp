// The notes of --help and the manual page on Linux: signals, XDG folders,
// the package's places, Kerberos.
#include <array>

#include "app/usage.h"
#include "app/usage_shared.h"

namespace tabulon::app {
namespace {

constexpr std::array<UsageSection, 6> kSections{{
    {"STOPPING",
     "Ctrl-C or SIGTERM ends the run after the current computer; a second one cancels the remote "
     "call in flight as well and ends the run at once, the files closed after their last complete "
     "row. Failure rows the window would show (a computer that does not answer, a service that "
     "cannot be read) are printed to standard error, one line each."},
    {"FAILED TARGETS", kFailedTargetsText},
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

std::span<const UsageSection> UsageSections() {
  return kSections;
}

}  // namespace tabulon::app
