#include "run/run.h"

#include <cstdio>
#include <filesystem>

#include "engine/app_settings.h"
#include "engine/file_names.h"
#include "engine/startup.h"
#include "exporters/units.h"
#include "format/settings.h"
#include "platform/utf8_path.h"
#include "run/backends.h"
#include "run/stream_observer.h"

namespace tabulon::run {
namespace {

// Passes everything on to the front end's observer and prints failure rows
// on standard error as well.
class FailureRowsToStandardError final : public RunObserver {
 public:
  explicit FailureRowsToStandardError(RunObserver& next) : next_(next) {}
  void ProgressRowAdded(int number, const ProgressRow& row) override {
    next_.ProgressRowAdded(number, row);
  }
  void ProgressTextAppended(int number, std::string_view text, std::uint32_t image) override {
    next_.ProgressTextAppended(number, text, image);
  }
  void FailureRow(std::string_view name, std::string_view status) override {
    next_.FailureRow(name, status);
    WriteFailureLine(stderr, name, status);
  }
  void TargetStarted(std::size_t done, std::size_t total, const tagCObjects& target) override {
    next_.TargetStarted(done, total, target);
  }
  void TargetFinished(std::size_t done, std::size_t total, const tagCObjects& target) override {
    next_.TargetFinished(done, total, target);
  }
  void TargetWorkStarted(std::size_t index, const tagCObjects& target) override {
    next_.TargetWorkStarted(index, target);
  }
  void TargetWorkEnded(std::size_t index, const tagCObjects& target) override {
    next_.TargetWorkEnded(index, target);
  }
  void ShowError(std::string_view text) override { next_.ShowError(text); }
  void ShowNote(std::string_view text) override { next_.ShowNote(text); }
  bool AskYesNo(std::string_view text, bool unattended_answer) override {
    return next_.AskYesNo(text, unattended_answer);
  }

 private:
  RunObserver& next_;
};

}  // namespace

Locations PrepareLocations(const std::string& program_path) {
  Locations locations;
  locations.program_directory = platform::Utf8Name(platform::Utf8Path(program_path).parent_path());
  locations.data_directory =
      PrepareDataDirectory(UserDataDirectory(), ProgramDataDirectory(program_path)).directory;
  return locations;
}

RunResult Run(const Locations& locations, const Request& request, RunObserver& observer,
              const RunControl& control) {
  FailureRowsToStandardError printing(observer);
  RunObserver& watcher = request.failure_rows_to_standard_error ? printing : observer;

  Backends backends;
  platform::Platform& platform = backends.platform();
  FileLocations files;
  files.app_data_directory = locations.data_directory;
  files.program_directory = locations.program_directory;
  const std::string configuration =
      ResolveFileName(request.configuration, false, files, *platform.clock, *platform.locale);
  std::string error;
  if (!backends.Select(configuration, locations.data_directory, error)) {
    watcher.ShowError(error);
    RunResult result;
    result.stopped_early = true;
    return result;
  }

  format::FormatSettings format;
  format::ApplyLocaleDateOrder(*platform.locale, format);
  const ExporterUnits units = StandardExporterUnits();
  RunEnvironment environment{platform,
                             units,
                             format,
                             files,
                             backends.LocalComputerName(),
                             backends.credentials(),
                             backends.logon_notice()};
  RunRequest run;
  run.configuration_path = configuration;
  if (request.handover_object_file) {
    run.handover_object_file = HandoverObjectFile(locations.data_directory);
  }
  run.observer = &watcher;
  run.control = &control;
  run.progress_rows = request.progress_rows;
  run.suppress_messages = request.suppress_messages;
  run.resume = request.resume;
  run.input_files = {{"Configuration File", configuration}};
  if (!backends.estate_path().empty())
    run.input_files.push_back({"Estate", backends.estate_path()});
  return ExportRun(environment, run);
}

}  // namespace tabulon::run
