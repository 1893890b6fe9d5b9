#pragma once
// The output side of a run: the row writer, the output and log files, the
// records of produced files, progress rows and messages. Exporters fill row
// objects (engine/row.h), which end here; this class owns the files, the
// column lists and the formats.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/configuration.h"
#include "engine/file_names.h"
#include "engine/output_file.h"
#include "engine/output_settings.h"
#include "engine/progress.h"
#include "engine/row_values.h"
#include "engine/run_observer.h"
#include "engine/symbols.h"
#include "engine/target.h"
#include "platform/file_identity.h"
#include "platform/platform.h"

namespace tabulon {

// One file produced by a run.
struct tagCOutputfile {
  std::uint32_t type = 0;  // 99 for the log file
  std::string display_name;
  std::string path;
};

// An open output file of a type with its column list.
struct TypedOutput {
  std::uint32_t type = 0;
  OutputFile file;
  std::vector<std::uint32_t> columns;
  bool is_open() const { return file.is_open(); }
};

inline constexpr std::string_view kLogFileDisplayName = "Export Log File";

// A file the run could not write completely: its first failed write or
// close.
struct FileWriteFailure {
  std::string label;  // "Output File", "Log File"
  std::string path;
  win::Status status = win::ERROR_SUCCESS;
};

class RunOutput {
 public:
  // `progress_rows`: the observer lists progress rows (a window).
  RunOutput(platform::Platform& platform, RunObserver& observer, bool progress_rows);

  OutputSettings& settings() { return settings_; }
  const OutputSettings& settings() const { return settings_; }
  FileLocations& locations() { return locations_; }
  SymbolContext& symbols() { return symbols_; }
  platform::Platform& platform() { return platform_; }
  bool lists_progress_rows() const { return progress_rows_; }
  // The account lookup of the target being exported, for the SID symbol;
  // null between targets.
  void set_account_lookup(platform::AccountLookup* lookup) { account_lookup_ = lookup; }

  std::string ResolveOutputName(std::string_view name, bool use_default_directory);

  // Opens the output file of a type (or of a file/directory template) and
  // writes its byte-order mark and title row. On failure shows the file-open
  // message; the caller stops the run.
  bool OpenTypedOutputFile(const Configuration& config, std::string_view section,
                           std::string_view output_file_key, std::string_view columns_key,
                           std::uint32_t type, TypedOutput& out);
  // Prepares a template output file: mark and title row, then closed again.
  bool OpenTemplateOutputFile(const Configuration& template_file, std::string_view section,
                              std::string_view column_text, std::string* resolved_path);
  // Opens a template output file for its rows (append, no title row).
  bool ReopenTemplateOutputFile(const std::string& path, OutputFile& file) {
    return OpenTemplateRows(path, file) == win::ERROR_SUCCESS;
  }
  // The same, with the status of a failed open.
  win::Status OpenTemplateRows(const std::string& path, OutputFile& file);

  // Where every row ends. A typed row: `values[c]` is field c, written in
  // the order of the file's column list, its symbol columns evaluated for
  // `target`; fields past `values` are empty.
  void WriteRow(TypedOutput& out, const tagCObjects* target, std::span<const std::string> values);
  // A template's row: the values in order.
  void WriteRow(OutputFile& file, std::span<const std::string> values);

  bool OpenLog(std::string_view log_file_name, bool append);
  bool log_open() const { return log_.is_open(); }
  void LogLine(const tagCObjects* target, std::string_view operation, bool error,
               std::string_view message);
  void CloseAll(const std::vector<TypedOutput*>& outputs);
  // Files that failed, each reported once when noticed: a message, and a
  // log line while the log still works.
  const std::vector<FileWriteFailure>& write_failures() const { return write_failures_; }

  // Returns the row number, or -1 in a run that lists no progress rows
  // (where only failure rows are reported, to the observer's FailureRow).
  int AddProgressRow(std::string_view name, std::string_view status, std::uint32_t indent,
                     ProgressKind kind);
  void AppendProgress(int row, std::string_view text, std::uint32_t image);

  void FileOpenFailure(std::string_view label, std::string_view path, win::Status last_error);
  void GeneralFailure(std::string_view text);
  // Something the user should know about the whole run that is no failure:
  // a log line (a SUCCESS line of `operation`) and, unless /NOMSG sends
  // messages to the log, a note on standard error.
  void Notice(std::string_view operation, std::string_view text);
  bool AskYesNo(std::string_view text, bool unattended_answer);

  void RecordOutputFile(std::uint32_t type, std::string_view display_name, std::string_view path);
  const std::vector<tagCOutputfile>& output_files() const { return output_files_; }
  void ClearOutputFiles() { output_files_.clear(); }

  // The path check before the first file is opened. While planning, opening
  // an output or the log only claims its path, loading a list file claims
  // it as an input, and failure messages are held back (the real opening
  // shows them). A claim of a file claimed before, when either use writes
  // it, is a collision: the first one is kept as its message.
  void set_planning(bool planning) { planning_ = planning; }
  bool planning() const { return planning_; }
  void ClaimInput(std::string_view use, const std::string& path) { Claim(use, path, false); }
  void ClaimOutput(std::string_view use, const std::string& path) { Claim(use, path, true); }
  const std::string& collision() const { return collision_; }

  // Line-break replacement and list joining with this run's settings.
  std::string ReplaceLineBreaks(std::string_view value) const;
  std::string JoinList(const std::vector<std::string>& items) const;

 private:
  OutputFile::Encoding FileEncoding() const;
  // `use` names the file in a collision message.
  bool OpenWithMark(const std::string& path, OutputFile& file, std::string_view label,
                    std::string_view use);
  void Claim(std::string_view use, const std::string& path, bool output);
  void WriteTitleItem(OutputFile& file, bool first, std::string_view item);
  // Reports the first failure of `file`, once per path.
  void CheckWrites(const OutputFile& file, std::string_view label);
  // The value rules of the current settings.
  const RowValueRules& Rules() {
    if (!rules_.Matches(settings_)) rules_ = RowValueRules(settings_);
    return rules_;
  }

  platform::Platform& platform_;
  RunObserver& observer_;
  bool progress_rows_;
  int progress_row_count_ = 0;
  platform::AccountLookup* account_lookup_ = nullptr;
  OutputSettings settings_;
  FileLocations locations_;
  SymbolContext symbols_;
  OutputFile log_;
  std::vector<tagCOutputfile> output_files_;
  std::vector<FileWriteFailure> write_failures_;
  struct PathClaim {
    std::string use;
    std::string path;
    platform::FileIdentity identity;
    bool output;
  };
  bool planning_ = false;
  std::vector<PathClaim> claims_;
  std::string collision_;
  std::string row_;  // reused for every row
  RowValueRules rules_;
};

// Items up to the first empty one, joined by the secondary delimiter.
std::string JoinList(const std::vector<std::string>& items, std::string_view delimiter);

}  // namespace tabulon
