#include "engine/run_output.h"

#include "engine/catalogue.h"
#include "engine/column_list.h"
#include "engine/error_text.h"
#include "engine/messages.h"
#include "format/accounts.h"
#include "format/lists.h"
#include "platform/text.h"

namespace tabulon {
namespace {

constexpr std::string_view kUtf16Mark = "\xFF\xFE";

std::string_view WithoutLeadingBackslashes(std::string_view s) {
  while (!s.empty() && s.front() == '\\') s.remove_prefix(1);
  return s;
}

}  // namespace

std::string JoinList(const std::vector<std::string>& items, std::string_view delimiter) {
  std::string out;
  bool first = true;
  for (const std::string& item : items) {
    if (item.empty()) break;
    if (!first) out += delimiter;
    out += item;
    first = false;
  }
  return out;
}

RunOutput::Shared::Shared(platform::Platform& platform_, RunObserver& observer_,
                          bool progress_rows_, OutputDestination& destination_)
    : platform(platform_),
      observer(observer_),
      progress_rows(progress_rows_),
      destination(destination_),
      log(platform_, settings, record, observer_),
      messages(observer_, settings, log, plan) {}

RunOutput::RunOutput(platform::Platform& platform, RunObserver& observer, bool progress_rows)
    : own_(std::make_unique<Shared>(platform, observer, progress_rows,
                                    static_cast<OutputDestination&>(*this))),
      shared_(own_.get()),
      streaming_(*this, TargetOutput::Mode::kStreaming) {
  BindSidLookup();
}

RunOutput::RunOutput(RunOutput& run, WorkerView)
    : shared_(run.shared_),
      symbols_(run.symbols_),
      streaming_(shared_->destination, TargetOutput::Mode::kStreaming) {
  BindSidLookup();
}

RunOutput::~RunOutput() = default;

void RunOutput::BindSidLookup() {
  // Each view answers the SID symbol with its own target's lookup.
  symbols_.sid_to_account = [this](std::string_view computer, std::string& text) {
    return account_lookup_ != nullptr &&
           format::SidStringToAccount(*account_lookup_, computer, text);
  };
}

std::string RunOutput::ResolveOutputName(std::string_view name, bool use_default_directory) {
  // A copy: views resolve names at once, and the locations stay as set.
  FileLocations locations = shared_->locations;
  locations.default_output_directory = shared_->settings.default_output_directory;
  return ResolveFileName(name, use_default_directory, locations, *shared_->platform.clock,
                         *shared_->platform.locale);
}

OutputFile::Encoding RunOutput::FileEncoding() const {
  return shared_->settings.unicode ? OutputFile::Encoding::kUtf16Le
                                   : OutputFile::Encoding::kEightBit;
}

bool RunOutput::OpenWithMark(const std::string& path, OutputFile& file, std::string_view label,
                             std::string_view use) {
  if (shared_->plan.planning()) {
    shared_->plan.ClaimOutput(use, path);
    return true;
  }
  const win::Status status = file.Open(path, shared_->settings.append, FileEncoding());
  if (status != win::ERROR_SUCCESS) {
    FileOpenFailure(label, path, status);
    return false;
  }
  if (shared_->settings.unicode) file.WriteRaw(kUtf16Mark);
  return true;
}

void RunOutput::WriteTitleItem(OutputFile& file, bool first, std::string_view item) {
  if (!first) file.Write(shared_->settings.delimiter);
  file.Write(item);
}

bool RunOutput::OpenTypedOutputFile(const Configuration& config, std::string_view section,
                                    std::string_view output_file_key, std::string_view columns_key,
                                    std::uint32_t type, TypedOutput& out) {
  const ExportTypeDescriptor& descriptor = ExportTypeInfo(type);
  std::string name = config.ReadText(section, output_file_key, "");
  if (name.empty()) name = std::string(descriptor.default_file_name);
  const std::string path = ResolveOutputName(name, true);
  out.type = type;
  const std::string use =
      "Output File (" +
      std::string(type == kFiles ? std::string_view(section) : descriptor.display_name) + ")";
  if (!OpenWithMark(path, out.file, kOutputFileLabel, use)) return false;
  if (!shared_->plan.planning()) RecordOutputFile(type, descriptor.display_name, path);

  // A file template without a column list has no columns (a missing
  // template key reads empty) and writes an empty title row.
  const std::string column_text =
      config.ReadText(section, columns_key, type == kFiles ? "" : DefaultColumnList(type));
  out.columns = type == kFiles && column_text.empty() ? std::vector<std::uint32_t>{}
                                                      : ParseColumnList(column_text);

  if (shared_->settings.write_titles) {
    bool first = true;
    for (std::uint32_t column : out.columns) {
      if (column < kSymbolColumnBase) {
        const FieldDescriptor* field = FieldOf(type, column);
        WriteTitleItem(out.file, first, field != nullptr ? field->key : std::string_view());
      } else {
        const ExportSymbol* symbol = SymbolAt(column - kSymbolColumnBase);
        WriteTitleItem(out.file, first,
                       symbol != nullptr ? SymbolTitle(symbol->symbol) : std::string());
      }
      first = false;
    }
    out.file.Write(shared_->settings.line_terminator);
  }
  return true;
}

bool RunOutput::OpenTemplateOutputFile(const Configuration& template_file, std::string_view section,
                                       std::string_view column_text, TemplateOutput& out) {
  out.path = ResolveOutputName(template_file.ReadText(section, "OutputFileName", ""), true);
  out.file = nullptr;
  const std::string use = "Output File (" + std::string(section) + ")";
  if (shared_->plan.planning()) {
    shared_->plan.ClaimOutput(use, out.path);
    return true;
  }
  OutputFile& file = shared_->template_files.emplace_back().file;
  if (!OpenWithMark(out.path, file, kOutputFileLabel, use)) return false;
  out.file = &file;
  if (shared_->settings.write_titles) {
    bool first = true;
    std::size_t start = 0;
    // The caller ends the column text with ","; every item before a comma is
    // a column.
    while (true) {
      const std::size_t comma = column_text.find(',', start);
      if (comma == std::string_view::npos) break;
      const std::string_view item = column_text.substr(start, comma - start);
      WriteTitleItem(file, first, IsSymbol(item) ? SymbolTitle(item) : std::string(item));
      first = false;
      start = comma + 1;
    }
    file.Write(shared_->settings.line_terminator);
  }
  CheckWrites(file);
  return true;
}

void RunOutput::WriteRow(TypedOutput& out, const tagCObjects* target,
                         std::span<const std::string> values) {
  // The row is assembled in UTF-8 and encoded in one pass.
  const std::uint32_t field_count = ExportTypeInfo(out.type).field_count;
  Rules().BuildRow(row_, [&](auto&& append) {
    for (std::uint32_t column : out.columns) {
      if (column >= kSymbolColumnBase) {
        symbols_.target = target;
        append(EvaluateSymbolAt(column - kSymbolColumnBase, symbols_));
      } else if (column < field_count && column < values.size()) {
        append(values[column]);
      } else {
        append(std::string_view());
      }
    }
  });
  row_ += shared_->settings.line_terminator;
  target_->WriteRow(out.file, row_);
}

void RunOutput::WriteRow(OutputFile& file, std::span<const std::string> values) {
  Rules().BuildRow(row_, [&](auto&& append) {
    for (const std::string& value : values) append(value);
  });
  row_ += shared_->settings.line_terminator;
  target_->WriteRow(file, row_);
}

void RunOutput::CommitRow(OutputFile& file, std::string_view row) {
  file.Write(row);
  CheckWrites(file);
}

bool RunOutput::OpenLog(std::string_view log_file_name, bool append) {
  const std::string path = ResolveOutputName(log_file_name, true);
  if (shared_->plan.planning()) {
    shared_->plan.ClaimOutput(kLogLabel, path);
    return true;
  }
  const win::Status status = shared_->log.Open(path, append);
  if (status != win::ERROR_SUCCESS) {
    FileOpenFailure(kLogLabel, path, status);
    return false;
  }
  RecordOutputFile(kNoExportType, kLogFileDisplayName, path);
  return true;
}

void RunOutput::LogLine(const tagCObjects* target, std::string_view operation, bool error,
                        std::string_view message) {
  // Known before the log's wishes: a failed target is listed either way.
  if (error) target_->NoteFailure();
  if (!shared_->log.Wants(error)) return;
  if (!log_rules_.Matches(shared_->settings)) log_rules_ = RowValueRules(shared_->settings);
  target_->WriteLogLine(shared_->log.Line(log_rules_, target, operation, error, message));
}

void RunOutput::CloseAll(const std::vector<TypedOutput*>& outputs) {
  auto close = [this](OutputFile& file) {
    if (!file.is_open()) return;
    file.Close();
    CheckWrites(file);
  };
  for (TypedOutput* out : outputs) close(out->file);
  for (TypedOutput& out : shared_->template_files) close(out.file);
  shared_->log.Close();
}

std::vector<std::string> RunOutput::OpenFilePaths(const std::vector<TypedOutput*>& outputs) const {
  std::vector<std::string> paths;
  for (const TypedOutput* out : outputs) {
    if (out->is_open()) paths.push_back(out->file.path());
  }
  for (const TypedOutput& out : shared_->template_files) {
    if (out.is_open()) paths.push_back(out.file.path());
  }
  if (shared_->log.is_open()) paths.push_back(shared_->log.file().path());
  return paths;
}

void RunOutput::FlushAll(const std::vector<TypedOutput*>& outputs) {
  for (TypedOutput* out : outputs) {
    out->file.Flush();
    CheckWrites(out->file);
  }
  for (TypedOutput& out : shared_->template_files) {
    out.file.Flush();
    CheckWrites(out.file);
  }
  shared_->log.Flush();
}

void RunOutput::set_planning(bool planning) {
  shared_->plan.set_planning(planning);
  // The files of a planning pass were never opened.
  shared_->template_files.clear();
}

void RunOutput::CheckWrites(const OutputFile& file) {
  if (shared_->record.NoteFailure(file, kOutputFileLabel)) {
    shared_->messages.WriteFailure(WriteFailureText(kOutputFileLabel, file));
  }
}

int RunOutput::AddProgressRow(std::string_view name, std::string_view status, std::uint32_t indent,
                              ProgressKind kind) {
  ProgressRow row;
  row.kind = kind;
  row.image = ImageForProgressKind(kind);
  row.indent = indent;
  row.name = std::string(WithoutLeadingBackslashes(name));
  row.status = std::string(text::TrimRight(status));
  return target_->AddProgressRow(row, kind == ProgressKind::kFailure);
}

int RunOutput::CommitProgressRow(const ProgressRow& row, bool failure) {
  int number = -1;
  if (shared_->progress_rows) {
    number = shared_->progress_row_count++;
    shared_->observer.ProgressRowAdded(number, row);
  }
  if (failure) shared_->messages.FailureRow(row.name, row.status);
  return number;
}

void RunOutput::CommitAppend(int row, std::string_view text, std::uint32_t image) {
  if (!shared_->progress_rows || row < 0) return;
  shared_->observer.ProgressTextAppended(row, text, image);
}

void RunOutput::FileOpenFailure(std::string_view label, std::string_view path,
                                win::Status last_error) {
  std::string text = FormatMessageId(kMsgUnableToOpenFile, {label, path});
  if (last_error != win::ERROR_SUCCESS) text += WindowsErrorText(last_error);
  GeneralFailure(text);
}

bool RunOutput::AskYesNo(std::string_view text, bool unattended_answer) {
  // Questions reach the front end in list order, one at a time.
  WaitForTurn();
  if (shared_->messages.ToLog()) {
    LogLine(nullptr, "MSG", true, text);
    return unattended_answer;
  }
  return shared_->messages.Ask(text, unattended_answer);
}

std::string RunOutput::ReplaceLineBreaks(std::string_view value) const {
  return format::ReplaceLineBreaks(value, shared_->settings.crlf_replacement);
}

std::string RunOutput::JoinList(const std::vector<std::string>& items) const {
  return tabulon::JoinList(items, shared_->settings.secondary_delimiter);
}

}  // namespace tabulon
