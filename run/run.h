#pragma once
// The run API: what every front end (the command line, the window) calls to
// run an export. It composes a run — the backends the configuration's
// [Platform] section chooses, the credentials, the data directory and file
// locations, the exporter units, the locale's formats and the files the run
// reads — so that a front end only says what to run, watches it through a
// RunObserver and stops it through a RunControl.
//
// Run blocks until the export has ended; a window calls it on a worker
// thread, and the observer's calls then come from that thread
// (engine/run_observer.h says what a front end may do there). RunControl's
// requests may come from any thread.
#include <string>

#include "engine/export_run.h"
#include "engine/run_control.h"
#include "engine/run_observer.h"

namespace tabulon::run {

// Where the program keeps its files; found once when the program starts.
struct Locations {
  // The per-user data directory, made and filled with the shipped files
  // on first start; empty when it could not be made.
  std::string data_directory;
  std::string program_directory;
};

// Prepares the data directory for the program at `program_path`.
Locations PrepareLocations(const std::string& program_path);

struct Request {
  // The configuration file as the user named it: a name without a
  // directory is looked for in the data directory.
  std::string configuration;
  // Export the object file the sibling tool hands over instead of the
  // configuration's ObjectFile.
  bool handover_object_file = false;
  // Messages go to the log file (when logging is on) instead of the
  // observer (/NOMSG).
  bool suppress_messages = false;
  // Go on from where an interrupted run of this configuration stopped
  // (/RESUME; engine/export_run.h).
  bool resume = false;
  // The front end lists progress rows (engine/export_run.h).
  bool progress_rows = false;
  // Every failure row is also printed on standard error, one line each
  // ("tabulon: NAME: STATUS"), for a front end without a progress list.
  bool failure_rows_to_standard_error = false;
};

// Runs the export `request` names. A configuration whose [Platform]
// section cannot be used (an unreadable credentials file, an estate that
// does not load) is shown through the observer's ShowError and stops the
// run before it starts (`stopped_early`).
RunResult Run(const Locations& locations, const Request& request, RunObserver& observer,
              const RunControl& control);

}  // namespace tabulon::run
