// Tabulon: exports inventory of Windows computers, domains and directories
// into delimited text files. With /CONFIG= it runs one export unattended.
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/backends.h"
#include "engine/app_settings.h"
#include "engine/command_line.h"
#include "engine/error_text.h"
#include "engine/export_run.h"
#include "engine/file_names.h"
#include "engine/messages.h"
#include "engine/startup.h"
#include "engine/target_list.h"
#include "engine/terminal_text.h"
#include "exporters/units.h"
#include "platform/posix/core_dumps.h"

namespace tabulon::app {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitStoppedEarly = 1;
constexpr int kExitUsage = 2;
constexpr int kExitOutputErrors = 3;
constexpr int kExitStoppedByUser = 4;

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

Exit status:
  0  completed: every target processed, every file written.
  1  stopped before the first target: a missing object file setting, an
     output, log, list, include or object file that cannot be opened or is
     not a regular file, two uses of the same file, no active objects.
  2  a command line it cannot use.
  3  completed with output errors: an output or log file could not be written
     completely (full file system, file removed); named on standard error.
  4  stopped by the user (Ctrl-C or SIGTERM); 3 wins when a file failed too.

Ctrl-C or SIGTERM ends the run after the current computer; a second one
cancels the remote call in flight as well and ends the run at once, the files
closed after their last complete row. Failure rows the window would show
(a computer that does not answer, a service that cannot be read) are printed
to standard error, one line each.

Before anything is opened, the run checks that no two outputs (and the log)
are the same file, and that none of them is an input: the configuration, the
object, include, list, estate or template files.

Files: per-user data in $XDG_DATA_HOME/Wendrock/Tabulon, settings in
$XDG_CONFIG_HOME/Wendrock/Tabulon.ini. The key Estate in section [Platform]
of a configuration names an estate file: the run then works on that
simulated network instead of real computers. [Platform] Credentials= names a
file of "username = ...", "password = ..." and "domain = ..." lines that only
its owner may read; Kerberos=1 uses your Kerberos tickets instead; with
neither, the run uses your Kerberos tickets when you have usable ones, else
connects anonymously, and says which. Timeout= is how many seconds one remote
call may take (default 60). The program never writes a core file.
)";

// The first Ctrl-C or SIGTERM ends the run after the target it is working
// on; the second also cancels the call in flight. A signal handler can reach
// nothing else.
std::atomic<int> g_stop{0};
std::atomic<int> g_cancel{0};

void OnSignal(int) {
  if (g_stop.exchange(1) != 0) g_cancel.store(1);
}

// A program started with 0, 1 or 2 closed would hand that number to the
// first file it opens, and messages for standard error would land in an
// output file.
void ReserveStandardDescriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int opened = ::open("/dev/null", O_RDWR);
    if (opened < 0) std::_Exit(kExitUsage);
    if (opened != fd) {
      ::dup2(opened, fd);
      ::close(opened);
    }
  }
}

// "Exporting 12 of 340: \\FS01" on one line, for runs in a terminal.
class TerminalIndicator {
 public:
  explicit TerminalIndicator(bool enabled) : enabled_(enabled) {}
  ~TerminalIndicator() { Clear(); }
  void Show(std::size_t done, std::size_t total, const tagCObjects& target) {
    if (!enabled_) return;
    std::fprintf(stderr, "\r\033[KExporting %zu of %zu: %s", done + 1, total,
                 EscapeControls(target.display_name).c_str());
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
  RunEnvironment environment{platform,
                             messages,
                             units,
                             format,
                             locations,
                             backends.LocalComputerName(),
                             backends.credentials(),
                             backends.logon_notice()};
  TerminalIndicator indicator(::isatty(STDERR_FILENO) != 0);
  RunRequest request;
  request.configuration_path = configuration;
  request.suppress_messages = command.suppress_messages;
  request.stop_flag = &g_stop;
  request.cancel_flag = &g_cancel;
  request.input_files = {{"Configuration File", configuration}};
  if (!backends.estate_path().empty())
    request.input_files.push_back({"Estate", backends.estate_path()});
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
  for (const FileWriteFailure& failure : result.write_failures) {
    std::printf("  Not completely written: %s %s: %s\n", failure.label.c_str(),
                failure.path.c_str(), WindowsErrorText(failure.status).c_str());
  }
  if (!result.write_failures.empty()) return kExitOutputErrors;
  return result.aborted_by_user ? kExitStoppedByUser : kExitOk;
}

}  // namespace

int Main(int argc, char** argv) {
  // Before anything is read: a password, a ticket or what a server sends
  // must never end up in a core file (the workers the run forks inherit it).
  if (const std::string why_not = platform::DisableCoreDumps(); !why_not.empty()) {
    std::fprintf(stderr, "tabulon: %s\n", why_not.c_str());
    return kExitStoppedEarly;
  }
  ReserveStandardDescriptors();
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
