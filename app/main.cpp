// Tabulon: exports inventory of Windows computers, domains and directories
// into delimited text files. With /CONFIG= it runs one export unattended.
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/backends.h"
#include "engine/app_settings.h"
#include "engine/command_line.h"
#include "engine/export_run.h"
#include "engine/file_names.h"
#include "engine/messages.h"
#include "engine/startup.h"
#include "engine/target_list.h"
#include "exporters/units.h"

namespace tabulon::app {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitStoppedEarly = 1;
constexpr int kExitUsage = 2;

constexpr const char* kHelp =
    R"(Usage: tabulon /CONFIG=<configuration.ini> [/NOMSG]
       tabulon --help | --version

Exports inventory about Windows computers, domains and directories into
delimited text files, as the configuration file says.

  /CONFIG=<file>   run the export of that configuration without a window and
                   end; the value runs to the end of the line, so give it last.
                   A name without a directory is looked for in the data
                   directory; letter case is kept.
  /NOMSG           messages go to the log file (when logging is on) instead
                   of standard error.
  /CONFIG_PROP=<file>, /QUOLL_TABULON=<file>, /QUOLL_CONFIG=<file>
                   open the configuration windows; these need the desktop
                   window.
  --help           this text.
  --version        the program version.

Exit status: 0 when the run processed its targets; 1 when it stopped before
the first target (a missing object file setting, an output, log, list or
object file that cannot be opened, no active objects); 2 for a command line
it cannot use.

Files: per-user data in $XDG_DATA_HOME/Wendrock/Tabulon, settings in
$XDG_CONFIG_HOME/Wendrock/Tabulon.ini. The key Estate in section [Platform]
of a configuration names an estate file: the run then works on that
simulated network instead of real computers. [Platform] Credentials= names a
file of "username = ...", "password = ..." and "domain = ..." lines that only
its owner may read; Kerberos=1 uses your Kerberos tickets instead;
Timeout= is how many seconds one remote call may take (default 60).
)";

// Set by Ctrl-C: the call in flight is cancelled and the run ends after the
// target it is working on. A signal handler can reach nothing else.
std::atomic<int> g_stop{0};

void OnSignal(int) {
  g_stop.store(1);
}

// "Exporting 12 of 340: \\FS01" on one line, for runs in a terminal.
class TerminalIndicator {
 public:
  explicit TerminalIndicator(bool enabled) : enabled_(enabled) {}
  ~TerminalIndicator() { Clear(); }
  void Show(std::size_t done, std::size_t total, const tagCObjects& target) {
    if (!enabled_) return;
    std::fprintf(stderr, "\r\033[KExporting %zu of %zu: %s", done + 1, total,
                 target.display_name.c_str());
    std::fflush(stderr);
    shown_ = true;
  }
  void Clear() {
    if (!shown_) return;
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    shown_ = false;
  }

 private:
  bool enabled_;
  bool shown_ = false;
};

std::string ProgramPath(const char* argv0) {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string(argv0) : self.string();
}

int RunUnattended(const CommandLine& command, const std::string& data_directory,
                  const std::string& program_directory) {
  Backends backends;
  platform::Platform& platform = backends.platform();
  FileLocations locations;
  locations.app_data_directory = data_directory;
  locations.program_directory = program_directory;
  const std::string configuration =
      ResolveFileName(command.configuration, false, locations, *platform.clock, *platform.locale);

  StreamMessages messages(stderr);
  std::string error;
  if (!backends.Select(configuration, data_directory, error)) {
    messages.ShowError(error);
    return kExitStoppedEarly;
  }

  format::FormatSettings format;
  format::ApplyLocaleDateOrder(*platform.locale, format);
  const ExporterUnits units = StandardExporterUnits();
  ExporterProgramStates unit_states(units);
  RunEnvironment environment{platform,
                             messages,
                             units,
                             unit_states,
                             format,
                             locations,
                             backends.LocalComputerName(),
                             backends.credentials()};
  TerminalIndicator indicator(::isatty(STDERR_FILENO) != 0);
  RunRequest request;
  request.configuration_path = configuration;
  request.suppress_messages = command.suppress_messages;
  request.stop_flag = &g_stop;
  request.on_target = [&indicator](std::size_t done, std::size_t total, const tagCObjects& t) {
    indicator.Show(done, total, t);
  };
  if (command.handover) request.handover_object_file = HandoverObjectFile(data_directory);

  const RunResult result = ExportRun(environment, request);
  indicator.Clear();
  if (result.stopped_early) return kExitStoppedEarly;
  std::printf(
      "%s %s\n",
      std::string(MessageText(result.aborted_by_user ? kMsgExportAborted : kMsgExportCompleted))
          .c_str(),
      FormatMessageId(kMsgObjectsProcessed, {std::to_string(result.targets_processed)}).c_str());
  for (const tagCOutputfile& file : result.output_files) {
    std::printf("  %-32s %s\n", file.display_name.c_str(), file.path.c_str());
  }
  return kExitOk;
}

}  // namespace

int Main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") {
      std::fputs(kHelp, stdout);
      return kExitOk;
    }
    if (a == "--version") {
      std::printf("tabulon %s\n", TABULON_VERSION);
      return kExitOk;
    }
  }
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);

  const std::string program = ProgramPath(argv[0]);
  const std::string program_directory = std::filesystem::path(program).parent_path().string();
  const DataDirectorySetup data =
      PrepareDataDirectory(UserDataDirectory(), ProgramDataDirectory(program));

  const CommandLine command = ParseCommandLine(JoinArguments(args));
  if (command.action == CommandLine::Action::kUnattendedRun) {
    if (command.configuration.empty()) {
      std::fputs("tabulon: /CONFIG= needs a configuration file name.\n", stderr);
      return kExitUsage;
    }
    return RunUnattended(command, data.directory, program_directory);
  }
  std::fputs(
      "tabulon: the desktop window is not part of this build yet; run an export with "
      "/CONFIG=<configuration.ini> (see --help).\n",
      stderr);
  return kExitUsage;
}

}  // namespace tabulon::app

int main(int argc, char** argv) {
  return tabulon::app::Main(argc, argv);
}
