#pragma once
// One export run: reads the configuration, opens every enabled output file,
// builds the target list and calls the exporter units for each target in
// their fixed order. Every failure after the first target becomes a progress
// row and a log line; only problems found before that stop the run.
#include <string>
#include <utility>
#include <vector>

#include "engine/exporter_unit.h"
#include "engine/run_control.h"
#include "engine/run_observer.h"

namespace tabulon {

struct RunRequest {
  std::string configuration_path;
  // The object file handed over by the sibling tool; empty: ObjectFile.
  std::string handover_object_file;
  // Who watches the run (engine/run_observer.h); null: nobody, questions
  // take their unattended answers.
  RunObserver* observer = nullptr;
  // How the front end stops or cancels the run; null: it runs to the end.
  const RunControl* control = nullptr;
  // The front end lists progress rows (a window): every row reaches the
  // observer, and the failure of work a verbose row announced is appended
  // to that row. Off (a run without a window): only failure rows are made,
  // each standing on its own.
  bool progress_rows = false;
  // Files the run reads besides the configuration and those it names (the
  // estate, ...): use and path. No output may be one of them.
  std::vector<std::pair<std::string, std::string>> input_files;
  // Set by /NOMSG.
  bool suppress_messages = false;
  // Set by /RESUME: go on from the journal an interrupted run of the same
  // configuration left (engine/run_journal.h) instead of starting afresh.
  bool resume = false;
};

struct RunResult {
  // True when the run ended before processing any target.
  bool stopped_early = false;
  bool aborted_by_user = false;
  std::size_t targets_processed = 0;
  std::vector<tagCOutputfile> output_files;
  // Files not completely written, in the order they failed.
  std::vector<FileWriteFailure> write_failures;
  // The configuration asks a window to show the output files at the end.
  bool open_output_window = false;
};

// What the application keeps for every run.
struct RunEnvironment {
  platform::Platform& platform;
  ExporterUnits units;
  // Locale facts and OS version; the run adds its own custom formats.
  format::FormatSettings format;
  FileLocations locations;
  std::string local_computer_name;
  // Who sessions authenticate as; from [Platform] Credentials= or Kerberos=.
  // Owned by the caller, which keeps the one copy of the password.
  const platform::Credentials& credentials = platform::kNoCredentials;
  // How sessions log on when the configuration names no credentials,
  // said once at the start of the run (a log line and a message); empty:
  // nothing to say (credentials given, or the estate).
  std::string logon_notice{};
};

RunResult ExportRun(RunEnvironment& environment, const RunRequest& request);

}  // namespace tabulon
