// Tabulon: exports inventory of Windows computers, domains and directories
// into delimited text files. With /CONFIG= it runs one export unattended.
#include <cstdio>
#include <string>
#include <vector>

#include "app/system.h"
#include "app/usage.h"
#include "engine/command_line.h"
#include "engine/error_text.h"
#include "engine/messages.h"
#include "engine/run_control.h"
#include "engine/terminal_text.h"
#include "run/run.h"
#include "run/stream_observer.h"
#ifdef TABULON_WITH_WINDOW
#include "ui/window.h"
#endif

namespace tabulon::app {
namespace {

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

int RunUnattended(const CommandLine& command, const run::Locations& locations,
                  const RunControl& control) {
  run::Request request;
  request.configuration = command.configuration;
  request.handover_object_file = command.handover;
  request.suppress_messages = command.suppress_messages;
  request.resume = command.resume;
  request.failure_rows_to_standard_error = true;
  TerminalObserver observer(StandardErrorIsTerminal());
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
  if (const std::string why_not = DisableCrashDumps(); !why_not.empty()) {
    std::fprintf(stderr, "tabulon: %s\n", why_not.c_str());
    return kExitStoppedEarly;
  }
  ReserveStandardDescriptors();
  std::vector<std::string> args(argv + 1, argv + argc);
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") {
      std::fputs(HelpText().c_str(), stdout);
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
    const StopRequests stops(control);
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
