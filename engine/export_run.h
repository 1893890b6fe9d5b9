#pragma once
// One export run: reads the configuration, opens every enabled output file,
// builds the target list and calls the exporter units for each target in
// their fixed order. Every failure after the first target becomes a progress
// row and a log line; only problems found before that stop the run.
#include <atomic>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/exporter_unit.h"
#include "engine/message_sink.h"
#include "engine/progress.h"

namespace tabulon {

struct RunRequest {
  std::string configuration_path;
  // The object file handed over by the sibling tool; empty: ObjectFile.
  std::string handover_object_file;
  // The progress window; null for an unattended run.
  ProgressSink* progress = nullptr;
  // Set by Stop: the run ends after the current target. While the target
  // list is being built it also cancels the call in flight, as no target is
  // half done then.
  const std::atomic<int>* stop_flag = nullptr;
  // Set by a second Stop: the call in flight is cancelled too and the target
  // ends at once, between two rows.
  const std::atomic<int>* cancel_flag = nullptr;
  // Lets the window process pending messages between targets.
  std::function<void()> pump_messages;
  // Called before each target with the number done so far and the total.
  std::function<void(std::size_t done, std::size_t total, const tagCObjects& target)> on_target;
  // Files the run reads besides the configuration and those it names (the
  // estate, ...): use and path. No output may be one of them.
  std::vector<std::pair<std::string, std::string>> input_files;
  // Set by /NOMSG.
  bool suppress_messages = false;
};

struct RunResult {
  // True when the run ended before processing any target.
  bool stopped_early = false;
  bool aborted_by_user = false;
  std::size_t targets_processed = 0;
  std::vector<tagCOutputfile> output_files;
  // Files not completely written, in the order they failed.
  std::vector<FileWriteFailure> write_failures;
  bool open_output_window = false;
};

// What the application keeps for every run.
struct RunEnvironment {
  platform::Platform& platform;
  MessageSink& messages;
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
