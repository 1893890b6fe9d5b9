#pragma once
// How a run writes its rows, log lines and progress rows.
#include <string>

#include "engine/configuration.h"

namespace tabulon {

struct OutputSettings {
  std::string delimiter = "\t";
  std::string secondary_delimiter = "^";
  std::string crlf_replacement = "~";
  std::string line_terminator = "\n";
  bool append = false;
  bool unicode = false;
  bool write_titles = true;
  bool verbose_progress = true;
  bool enable_logging = false;
  bool log_success = true;
  bool log_failure = true;
  std::string default_output_directory;
  // Line breaks, TABs and delimiters inside values are replaced, so that
  // every row has its title row's column count (engine/row_values.h).
  bool keep_rows_whole = true;
  // Values a spreadsheet would run as a formula get a leading apostrophe.
  bool spreadsheet_safe = false;
  // Set for an unattended run with /NOMSG.
  bool suppress_messages = false;
};

// The output keys of section General with the run's defaults; escapes are
// expanded in the delimiter and the line terminator.
OutputSettings ReadOutputSettings(const Configuration& config);

}  // namespace tabulon
