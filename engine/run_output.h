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
#include <memory>
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
  // A worker's view of `run` for a run exporting several targets at once:
  // it shares the run's files, log, messages and settings and commits to
  // them, but has its own current target output, row buffer, symbol
  // context and account lookup, so that workers never touch each other's.
  // Made once the files are open; the settings are then only read.
  struct WorkerView {};
  RunOutput(RunOutput& run, WorkerView);
  RunOutput(const RunOutput&) = delete;
  RunOutput& operator=(const RunOutput&) = delete;
  ~RunOutput() override;

  OutputSettings& settings() { return shared_->settings; }
  const OutputSettings& settings() const { return shared_->settings; }
  FileLocations& locations() { return shared_->locations; }
  SymbolContext& symbols() { return symbols_; }
  platform::Platform& platform() { return shared_->platform; }
  bool lists_progress_rows() const override { return shared_->progress_rows; }
  // The account lookup of the target being exported, for the SID symbol;
  // null between targets.
  void set_account_lookup(platform::AccountLookup* lookup) { account_lookup_ = lookup; }

  // The output of one target, committed to this run's files; `set_target`
  // makes it the one rows, log lines, progress rows and messages go
  // through until it is reset (null: the run's own streaming output, which
  // takes what the run produces between targets).
  TargetOutput MakeTargetOutput(TargetOutput::Mode mode) {
    return TargetOutput(shared_->destination, mode);
  }
  void set_target(TargetOutput* target) { target_ = target != nullptr ? target : &streaming_; }
  TargetOutput& target() { return *target_; }
  // Where target outputs commit: the run's files and sinks.
  OutputDestination& destination() { return shared_->destination; }
  // Blocks until every target before the current one is committed (at
  // once in a serial run); from then on the target's output streams. For
  // what must happen in list order: a question asked once per run.
  void WaitForTurn() { target_->WaitForTurn(); }

  std::string ResolveOutputName(std::string_view name, bool use_default_directory);

  // Opens the output file of a type (or of a file/directory template) and
  // writes its byte-order mark and title row. On failure shows the file-open
  // message; the caller stops the run.
  bool OpenTypedOutputFile(const Configuration& config, std::string_view section,
                           std::string_view output_file_key, std::string_view columns_key,
                           std::uint32_t type, TypedOutput& out);
  // A typed output of a template, kept open by the run until CloseAll.
  TypedOutput& AddTemplateTypedOutput() { return shared_->template_files.emplace_back(); }
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
  bool log_open() const { return shared_->log.is_open(); }
  void LogLine(const tagCObjects* target, std::string_view operation, bool error,
               std::string_view message);
  // Closes the typed outputs, the template files and the log last.
  void CloseAll(const std::vector<TypedOutput*>& outputs);
  // The paths of the open files in a fixed order — `outputs`, the template
  // files, the log — and their buffered bytes handed to the OS, for the
  // run's journal (engine/run_journal.h).
  std::vector<std::string> OpenFilePaths(const std::vector<TypedOutput*>& outputs) const;
  void FlushAll(const std::vector<TypedOutput*>& outputs);
  // Files that failed, each reported once when noticed: a message, and a
  // log line while the log still works.
  const std::vector<FileWriteFailure>& write_failures() const { return shared_->record.failures(); }

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
    shared_->messages.Notice(operation, text);
  }
  bool AskYesNo(std::string_view text, bool unattended_answer);

  void RecordOutputFile(std::uint32_t type, std::string_view display_name, std::string_view path) {
    target_->RecordOutputFile(type, display_name, path);
  }
  const std::vector<tagCOutputfile>& output_files() const { return shared_->record.files(); }

  // The path check before the first file is opened (engine/path_plan.h).
  void set_planning(bool planning);
  bool planning() const { return shared_->plan.planning(); }
  void ClaimInput(std::string_view use, const std::string& path) {
    shared_->plan.ClaimInput(use, path);
  }
  void ClaimOutput(std::string_view use, const std::string& path) {
    shared_->plan.ClaimOutput(use, path);
  }
  const std::string& collision() const { return shared_->plan.collision(); }

  // Line-break replacement and list joining with this run's settings.
  std::string ReplaceLineBreaks(std::string_view value) const;
  std::string JoinList(const std::vector<std::string>& items) const;

 private:
  // What targets produce, committed to the real files and sinks.
  void CommitRow(OutputFile& file, std::string_view row) override;
  void CommitFlush(OutputFile& file) override { file.Flush(); }
  void CommitLogLine(std::string_view line) override { shared_->log.Write(line); }
  int CommitProgressRow(const ProgressRow& row, bool failure) override;
  void CommitAppend(int row, std::string_view text, std::uint32_t image) override;
  void CommitFailure(std::string_view text) override { shared_->messages.Failure(text); }
  void CommitOutputFile(std::uint32_t type, std::string_view display_name,
                        std::string_view path) override {
    shared_->record.Record(type, display_name, path);
  }

  OutputFile::Encoding FileEncoding() const;
  void BindSidLookup();
  // `use` names the file in a collision message.
  bool OpenWithMark(const std::string& path, OutputFile& file, std::string_view label,
                    std::string_view use);
  void WriteTitleItem(OutputFile& file, bool first, std::string_view item);
  // Reports the first failure of an output file, once per path.
  void CheckWrites(const OutputFile& file);
  // The value rules of the current settings.
  const RowValueRules& Rules() {
    if (!rules_.Matches(shared_->settings)) rules_ = RowValueRules(shared_->settings);
    return rules_;
  }

  // What the run's views share: written before the first target, then
  // only read, except by the commit side (one thread at a time).
  struct Shared {
    Shared(platform::Platform& platform, RunObserver& observer, bool progress_rows,
           OutputDestination& destination);
    platform::Platform& platform;
    RunObserver& observer;
    bool progress_rows;
    OutputDestination& destination;
    int progress_row_count = 0;
    OutputSettings settings;
    FileLocations locations;
    PathPlan plan;
    FileRecord record;
    RunLog log;
    RunMessages messages;
    // Template files, open from before the first target to CloseAll; a
    // deque, so that units keep pointers to them.
    std::deque<TypedOutput> template_files;
  };
  std::unique_ptr<Shared> own_;  // null in a worker's view
  Shared* shared_;
  // Per view: what one target's rows are made with.
  platform::AccountLookup* account_lookup_ = nullptr;
  SymbolContext symbols_;
  TargetOutput streaming_;
  TargetOutput* target_ = &streaming_;
  std::string row_;  // reused for every row
  RowValueRules rules_;
  RowValueRules log_rules_;
};

// Items up to the first empty one, joined by the secondary delimiter.
std::string JoinList(const std::vector<std::string>& items, std::string_view delimiter);

}  // namespace tabulon
