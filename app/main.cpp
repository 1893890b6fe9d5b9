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

#include "engine/command_line.h"
#include "engine/error_text.h"
#include "engine/messages.h"
#include "engine/run_control.h"
#include "engine/terminal_text.h"
#include "platform/posix/core_dumps.h"
#include "platform/samba/worker_process.h"
#include "run/run.h"
#include "run/stream_observer.h"
#ifdef TABULON_WITH_WINDOW
#include "ui/window.h"
#endif

namespace tabulon::app {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitStoppedEarly = 1;
constexpr int kExitUsage = 2;
constexpr int kExitOutputErrors = 3;
constexpr int kExitStoppedByUser = 4;

constexpr const char* kHelp =
    R"(Usage: tabulon /CONFIG=<configuration.ini> [/NOMSG] [/RESUME]
       tabulon --help | --version

Exports inventory about Windows computers, domains and directories into
delimited text files, as the configuration file says.

  /CONFIG=<file>   run the export of that configuration without a window and
                   end; the value runs to the end of the line, so give it last.
                   A name without a directory is looked for in the data
                   directory; letter case is kept.
  /NOMSG           messages go to the log file (when logging is on) instead
                   of standard error.
  /RESUME          go on with the run of that configuration that was
                   interrupted (killed, crashed, power cut, or stopped with
                   Ctrl-C): the files are cut back to the last target the run
                   completed and the run goes on with the next one. The
                   journal it needs lies beside the log (<log>.journal), or
                   without a log in the output directory
                   (<configuration name>.journal). A journal of another
                   configuration, object file or target list, or files shorter
                   than it recorded, are refused (status 1).
  /CONFIG_PROP=<file>
                   only the "Export Configuration Properties" window of that
                   configuration; the program ends when it closes (status 0,
                   or 1 when the configuration cannot be opened).
  /QUOLL_TABULON=<file>, /QUOLL_CONFIG=<file>
                   open the main window with the sibling tool's objects.
                   These switches need the desktop window.
  --help           this text.
  --version        the program version.

Exit status:
  0  completed: every target processed, every file written.
  1  stopped before the first target: a missing object file setting, an
     output, log, list, include or object file that cannot be opened or is
     not a regular file, two uses of the same file, no active objects, a
     journal /RESUME cannot use.
  2  a command line it cannot use.
  3  completed with output errors: an output or log file could not be written
     completely (full file system, file removed); named on standard error.
  4  stopped by the user (Ctrl-C or SIGTERM); 3 wins when a file failed too.

Ctrl-C or SIGTERM ends the run after the current computer; a second one
cancels the remote call in flight as well and ends the run at once, the files
closed after their last complete row. Failure rows the window would show
(a computer that does not answer, a service that cannot be read) are printed
to standard error, one line each.

When a target fails (no answer to the ping, no server information, an
export that failed), the run writes the failed targets as an object file
beside the log (<log>.failed.dat), or without a log in the output directory
(<configuration name>.failed.dat); ObjectFile= pointed at it exports only
them. A run in which no target failed removes an old one of that name.

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
// on; the second also cancels the call in flight. A signal handler may only
// touch lock-free atomics: this pointer, set while the program's control
// exists, and the control's own flags.
std::atomic<RunControl*> g_control{nullptr};
static_assert(std::atomic<RunControl*>::is_always_lock_free);

void OnSignal(int) {
  if (RunControl* control = g_control.load()) control->Escalate();
}

// Holds the control the signals reach for as long as it lives.
class SignalsStopRun {
 public:
  explicit SignalsStopRun(RunControl& control) {
    g_control.store(&control);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
  }
  ~SignalsStopRun() { g_control.store(nullptr); }
  SignalsStopRun(const SignalsStopRun&) = delete;
  SignalsStopRun& operator=(const SignalsStopRun&) = delete;
};

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

// What the command line shows of a run: messages on standard error and,
// in a terminal, "Exporting 12 of 340: \\FS01" on one line. Failure rows
// reach standard error through the request.
class TerminalObserver final : public run::StreamObserver {
 public:
  explicit TerminalObserver(bool indicator) : StreamObserver(stderr), indicator_(indicator) {}
  ~TerminalObserver() override { Clear(); }
  TerminalObserver(const TerminalObserver&) = delete;
  TerminalObserver& operator=(const TerminalObserver&) = delete;

  void TargetStarted(std::size_t done, std::size_t total, const tagCObjects& target) override {
    if (!indicator_) return;
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
  bool indicator_;
  bool shown_ = false;
};

std::string ProgramPath(const char* argv0) {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string(argv0) : self.string();
}

int RunUnattended(const CommandLine& command, const run::Locations& locations,
                  const RunControl& control) {
  run::Request request;
  request.configuration = command.configuration;
  request.handover_object_file = command.handover;
  request.suppress_messages = command.suppress_messages;
  request.resume = command.resume;
  request.failure_rows_to_standard_error = true;
  TerminalObserver observer(::isatty(STDERR_FILENO) != 0);
  const RunResult result = run::Run(locations, request, observer, control);
  observer.Clear();
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
  // must never end up in a core file (the workers the run starts inherit the limit).
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
  const run::Locations locations = run::PrepareLocations(ProgramPath(argv[0]));

  const CommandLine command = ParseCommandLine(JoinArguments(args));
  if (command.action == CommandLine::Action::kUnattendedRun) {
    if (command.configuration.empty()) {
      std::fputs("tabulon: /CONFIG= needs a configuration file name.\n", stderr);
      return kExitUsage;
    }
    // Only an unattended run turns Ctrl-C and SIGTERM into stops; the
    // window keeps their usual meaning, so that it can be ended from outside.
    RunControl control;
    const SignalsStopRun signals(control);
    return RunUnattended(command, locations, control);
  }
  if (command.action == CommandLine::Action::kConfigProperties && command.configuration.empty()) {
    std::fputs("tabulon: /CONFIG_PROP= needs a configuration file name.\n", stderr);
    return kExitUsage;
  }
#ifdef TABULON_WITH_WINDOW
  return ui::RunWindow(argc, argv, command, locations);
#else
  std::fputs(
      "tabulon: this window is not part of this build; run an export with "
      "/CONFIG=<configuration.ini> (see --help).\n",
      stderr);
  return kExitUsage;
#endif
}

}  // namespace tabulon::app

int main(int argc, char** argv) {
  // The program run again as a remote transport's worker (hidden switch).
  if (tabulon::platform::samba::IsWorkerCommand(argc, argv)) {
    tabulon::platform::samba::RunWorkerProcess();
  }
  return tabulon::app::Main(argc, argv);
}
