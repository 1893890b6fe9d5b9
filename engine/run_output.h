#pragma once
// The output side of a run: its output and template files with their column
// lists and the row writer (exporters fill row objects, engine/row.h, which
// end here), composed with the other jobs of the output side, each in its own class:
// the path plan (engine/path_plan.h), the log (engine/run_log.h), messages
// and questions (engine/run_messages.h), the record of files written and
// write failures (engine/file_record.h). Everything a target produces goes
// through the run's current TargetOutput (engine/target_output.h), which
// commits it here.
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/configuration.h"
#include "engine/file_names.h"
#include "engine/file_record.h"
#include "engine/output_file.h"
#include "engine/output_settings.h"
#include "engine/path_plan.h"
#include "engine/progress.h"
#include "engine/row_values.h"
#include "engine/run_log.h"
#include "engine/run_messages.h"
#include "engine/run_observer.h"
#include "engine/symbols.h"
#include "engine/target.h"
#include "engine/target_output.h"
#include "platform/platform.h"

namespace tabulon {

// An open output file of a type with its column list.
struct TypedOutput {
  std::uint32_t type = 0;
  OutputFile file;
  std::vector<std::uint32_t> columns;
  bool is_open() const { return file.is_open(); }
};

// A template's output file, opened once for the run: its resolved path and
// the open file (null while planning).
struct TemplateOutput {
  std::string path;
  OutputFile* file = nullptr;
};

class RunOutput final : private OutputDestination {
 public:
  // `progress_rows`: the observer lists progress rows (a window).
  RunOutput(platform::Platform& platform, RunObserver& observer, bool progress_rows);
  RunOutput(const RunOutput&) = delete;
  RunOutput& operator=(const RunOutput&) = delete;

  OutputSettings& settings() { return settings_; }
  const OutputSettings& settings() const { return settings_; }
  FileLocations& locations() { return locations_; }
  SymbolContext& symbols() { return symbols_; }
  platform::Platform& platform() { return platform_; }
  bool lists_progress_rows() const override { return progress_rows_; }
  // The account lookup of the target being exported, for the SID symbol;
  // null between targets.
  void set_account_lookup(platform::AccountLookup* lookup) { account_lookup_ = lookup; }

  // The output of one target, committed to this run's files; `set_target`
  // makes it the one rows, log lines, progress rows and messages go
  // through until it is reset (null: the run's own streaming output, which
  // takes what the run produces between targets).
  TargetOutput MakeTargetOutput(TargetOutput::Mode mode) { return TargetOutput(*this, mode); }
  void set_target(TargetOutput* target) { target_ = target != nullptr ? target : &streaming_; }
  TargetOutput& target() { return *target_; }

  std::string ResolveOutputName(std::string_view name, bool use_default_directory);

  // Opens the output file of a type (or of a file/directory template) and
  // writes its byte-order mark and title row. On failure shows the file-open
  // message; the caller stops the run.
  bool OpenTypedOutputFile(const Configuration& config, std::string_view section,
                           std::string_view output_file_key, std::string_view columns_key,
                           std::uint32_t type, TypedOutput& out);
  // A typed output of a template, kept open by the run until CloseAll.
  TypedOutput& AddTemplateTypedOutput() { return template_files_.emplace_back(); }
  // Opens a template output file for the run: mark and title row; its rows
  // follow target by target.
  bool OpenTemplateOutputFile(const Configuration& template_file, std::string_view section,
                              std::string_view column_text, TemplateOutput& out);

  // Where every row ends, written through the target's output. A typed
  // row: `values[c]` is field c, written in the order of the file's column
  // list, its symbol columns evaluated for `target`; fields past `values`
  // are empty.
  void WriteRow(TypedOutput& out, const tagCObjects* target, std::span<const std::string> values);
  // A template's row: the values in order.
  void WriteRow(OutputFile& file, std::span<const std::string> values);
  // Lets a long listing's rows reach the file so far.
  void FlushRows(OutputFile& file) { target_->Flush(file); }
  // Writes a photo file; see TargetOutput::WritePhoto.
  win::Status WritePhoto(const std::string& path, std::string_view bytes) {
    return target_->WritePhoto(path, bytes);
  }

  bool OpenLog(std::string_view log_file_name, bool append);
  bool log_open() const { return log_.is_open(); }
  void LogLine(const tagCObjects* target, std::string_view operation, bool error,
               std::string_view message);
  // Closes the typed outputs, the template files and the log last.
  void CloseAll(const std::vector<TypedOutput*>& outputs);
  // Files that failed, each reported once when noticed: a message, and a
  // log line while the log still works.
  const std::vector<FileWriteFailure>& write_failures() const { return record_.failures(); }

  // Returns the row number, or -1 without a progress window.
  int AddProgressRow(std::string_view name, std::string_view status, std::uint32_t indent,
                     ProgressKind kind);
  void AppendProgress(int row, std::string_view text, std::uint32_t image) {
    target_->AppendProgress(row, text, image);
  }

  void FileOpenFailure(std::string_view label, std::string_view path, win::Status last_error);
  void GeneralFailure(std::string_view text) { target_->Failure(text); }
  // Something the user should know about the whole run that is no failure:
  // a log line (a SUCCESS line of `operation`) and, unless /NOMSG sends
  // messages to the log, a note on standard error.
  void Notice(std::string_view operation, std::string_view text) {
    messages_.Notice(operation, text);
  }
  bool AskYesNo(std::string_view text, bool unattended_answer);

  void RecordOutputFile(std::uint32_t type, std::string_view display_name, std::string_view path) {
    target_->RecordOutputFile(type, display_name, path);
  }
  const std::vector<tagCOutputfile>& output_files() const { return record_.files(); }

  // The path check before the first file is opened (engine/path_plan.h).
  void set_planning(bool planning);
  bool planning() const { return plan_.planning(); }
  void ClaimInput(std::string_view use, const std::string& path) { plan_.ClaimInput(use, path); }
  void ClaimOutput(std::string_view use, const std::string& path) { plan_.ClaimOutput(use, path); }
  const std::string& collision() const { return plan_.collision(); }

  // Line-break replacement and list joining with this run's settings.
  std::string ReplaceLineBreaks(std::string_view value) const;
  std::string JoinList(const std::vector<std::string>& items) const;

 private:
  // What targets produce, committed to the real files and sinks.
  void CommitRow(OutputFile& file, std::string_view row) override;
  void CommitFlush(OutputFile& file) override { file.Flush(); }
  void CommitLogLine(std::string_view line) override { log_.Write(line); }
  int CommitProgressRow(const ProgressRow& row, bool failure) override;
  void CommitAppend(int row, std::string_view text, std::uint32_t image) override;
  void CommitFailure(std::string_view text) override { messages_.Failure(text); }
  void CommitOutputFile(std::uint32_t type, std::string_view display_name,
                        std::string_view path) override {
    record_.Record(type, display_name, path);
  }

  OutputFile::Encoding FileEncoding() const;
  // `use` names the file in a collision message.
  bool OpenWithMark(const std::string& path, OutputFile& file, std::string_view label,
                    std::string_view use);
  void WriteTitleItem(OutputFile& file, bool first, std::string_view item);
  // Reports the first failure of an output file, once per path.
  void CheckWrites(const OutputFile& file);
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
  PathPlan plan_;
  FileRecord record_;
  RunLog log_;
  RunMessages messages_;
  TargetOutput streaming_;
  TargetOutput* target_ = &streaming_;
  // Template files, open from before the first target to CloseAll; a
  // deque, so that units keep pointers to them.
  std::deque<TypedOutput> template_files_;
  std::string row_;  // reused for every row
  RowValueRules rules_;
};

// Items up to the first empty one, joined by the secondary delimiter.
std::string JoinList(const std::vector<std::string>& items, std::string_view delimiter);

}  // namespace tabulon
