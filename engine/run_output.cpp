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
constexpr std::string_view kSameFile =
    "The %s %s and the %s %s are the same file. Give each its own file.";
constexpr std::string_view kWriteFailed = "Unable to write '%s' file %s; the file is incomplete. ";

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

RunOutput::RunOutput(platform::Platform& platform, RunObserver& observer, bool progress_rows)
    : platform_(platform), observer_(observer), progress_rows_(progress_rows) {
  symbols_.sid_to_account = [this](std::string_view computer, std::string& text) {
    return account_lookup_ != nullptr &&
           format::SidStringToAccount(*account_lookup_, computer, text);
  };
}

std::string RunOutput::ResolveOutputName(std::string_view name, bool use_default_directory) {
  locations_.default_output_directory = settings_.default_output_directory;
  return ResolveFileName(name, use_default_directory, locations_, *platform_.clock,
                         *platform_.locale);
}

OutputFile::Encoding RunOutput::FileEncoding() const {
  return settings_.unicode ? OutputFile::Encoding::kUtf16Le : OutputFile::Encoding::kEightBit;
}

bool RunOutput::OpenWithMark(const std::string& path, OutputFile& file, std::string_view label,
                             std::string_view use) {
  if (planning_) {
    ClaimOutput(use, path);
    return true;
  }
  const win::Status status = file.Open(path, settings_.append, FileEncoding());
  if (status != win::ERROR_SUCCESS) {
    FileOpenFailure(label, path, status);
    return false;
  }
  if (settings_.unicode) file.WriteRaw(kUtf16Mark);
  return true;
}

void RunOutput::WriteTitleItem(OutputFile& file, bool first, std::string_view item) {
  if (!first) file.Write(settings_.delimiter);
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
  if (!OpenWithMark(path, out.file, "Output File", use)) return false;
  if (!planning_) RecordOutputFile(type, descriptor.display_name, path);

  // A file template without a column list has no columns (a missing
  // template key reads empty) and writes an empty title row.
  const std::string column_text =
      config.ReadText(section, columns_key, type == kFiles ? "" : DefaultColumnList(type));
  out.columns = type == kFiles && column_text.empty() ? std::vector<std::uint32_t>{}
                                                      : ParseColumnList(column_text);

  if (settings_.write_titles) {
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
    out.file.Write(settings_.line_terminator);
  }
  return true;
}

bool RunOutput::OpenTemplateOutputFile(const Configuration& template_file, std::string_view section,
                                       std::string_view column_text, std::string* resolved_path) {
  const std::string path =
      ResolveOutputName(template_file.ReadText(section, "OutputFileName", ""), true);
  if (resolved_path != nullptr) *resolved_path = path;
  OutputFile file;
  if (!OpenWithMark(path, file, "Output File", "Output File (" + std::string(section) + ")")) {
    return false;
  }
  if (settings_.write_titles) {
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
    file.Write(settings_.line_terminator);
  }
  file.Close();
  CheckWrites(file, "Output File");
  return true;
}

win::Status RunOutput::OpenTemplateRows(const std::string& path, OutputFile& file) {
  return file.Open(path, true, FileEncoding());
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
  row_ += settings_.line_terminator;
  out.file.Write(row_);
  CheckWrites(out.file, "Output File");
}

void RunOutput::WriteRow(OutputFile& file, std::span<const std::string> values) {
  Rules().BuildRow(row_, [&](auto&& append) {
    for (const std::string& value : values) append(value);
  });
  row_ += settings_.line_terminator;
  file.Write(row_);
  CheckWrites(file, "Output File");
}

bool RunOutput::OpenLog(std::string_view log_file_name, bool append) {
  const std::string path = ResolveOutputName(log_file_name, true);
  if (planning_) {
    ClaimOutput("Log File", path);
    return true;
  }
  const win::Status status = log_.Open(path, append, OutputFile::Encoding::kEightBit);
  if (status != win::ERROR_SUCCESS) {
    FileOpenFailure("Log File", path, status);
    return false;
  }
  RecordOutputFile(kNoExportType, kLogFileDisplayName, path);
  return true;
}

void RunOutput::LogLine(const tagCObjects* target, std::string_view operation, bool error,
                        std::string_view message) {
  if (!settings_.enable_logging || !log_.is_open()) return;
  if (error ? !settings_.log_failure : !settings_.log_success) return;
  const platform::SystemTime now = platform_.clock->LocalNow();
  std::string line = platform_.locale->FormatDate(now, "").value_or("");
  line += ' ';
  line += platform_.locale->FormatTime(now, "").value_or("");
  const std::string& d = settings_.delimiter;
  // Names and messages carry what servers sent; they stay in their fields.
  const RowValueRules& rules = Rules();
  if (target != nullptr) {
    line += d;
    rules.AppendLogField(line, WithoutLeadingBackslashes(target->display_name));
    line += d;
    rules.AppendLogField(line, WithoutLeadingBackslashes(target->path));
    line += d;
    rules.AppendLogField(line, target->domain);
  }
  line += d;
  rules.AppendLogField(line, operation);
  line += d;
  line += error ? "ERROR" : "SUCCESS";
  line += d;
  rules.AppendLogField(line, message);
  line += settings_.line_terminator;
  log_.Write(line);
  CheckWrites(log_, "Log File");
}

void RunOutput::CloseAll(const std::vector<TypedOutput*>& outputs) {
  for (TypedOutput* out : outputs) {
    if (!out->file.is_open()) continue;
    out->file.Close();
    CheckWrites(out->file, "Output File");
  }
  // The log closes last, so that it can still take the other files' lines.
  log_.Flush();
  CheckWrites(log_, "Log File");
  log_.Close();
  CheckWrites(log_, "Log File");
}

void RunOutput::Claim(std::string_view use, const std::string& path, bool output) {
  if (path.empty()) return;
  PathClaim claim{std::string(use), path, platform::IdentifyFile(path), output};
  if (collision_.empty() && !claim.identity.special) {
    for (const PathClaim& earlier : claims_) {
      if ((output || earlier.output) && platform::SameFile(earlier.identity, claim.identity)) {
        collision_ = FillMessage(kSameFile, {earlier.use, earlier.path, claim.use, claim.path});
        break;
      }
    }
  }
  claims_.push_back(std::move(claim));
}

void RunOutput::CheckWrites(const OutputFile& file, std::string_view label) {
  if (file.error() == win::ERROR_SUCCESS) return;
  for (const FileWriteFailure& f : write_failures_) {
    if (f.path == file.path()) return;
  }
  write_failures_.push_back({std::string(label), file.path(), file.error()});
  const std::string text =
      FillMessage(kWriteFailed, {label, file.path()}) + WindowsErrorText(file.error());
  // Shown even with /NOMSG: the log may be the file that failed.
  observer_.ShowError(text);
  if (&file != &log_ && log_.is_open() && log_.error() == win::ERROR_SUCCESS) {
    LogLine(nullptr, "MSG", true, text);
  }
}

int RunOutput::AddProgressRow(std::string_view name, std::string_view status, std::uint32_t indent,
                              ProgressKind kind) {
  const std::string_view shown_name = WithoutLeadingBackslashes(name);
  const std::string_view shown_status = text::TrimRight(status);
  int number = -1;
  if (progress_rows_) {
    ProgressRow row;
    row.kind = kind;
    row.image = ImageForProgressKind(kind);
    row.indent = indent;
    row.name = std::string(shown_name);
    row.status = std::string(shown_status);
    number = progress_row_count_++;
    observer_.ProgressRowAdded(number, row);
  }
  if (kind == ProgressKind::kFailure) observer_.FailureRow(shown_name, shown_status);
  return number;
}

void RunOutput::AppendProgress(int row, std::string_view text, std::uint32_t image) {
  if (!progress_rows_ || row < 0) return;
  observer_.ProgressTextAppended(row, text, image);
}

void RunOutput::FileOpenFailure(std::string_view label, std::string_view path,
                                win::Status last_error) {
  std::string text = FormatMessageId(kMsgUnableToOpenFile, {label, path});
  if (last_error != win::ERROR_SUCCESS) text += WindowsErrorText(last_error);
  GeneralFailure(text);
}

void RunOutput::GeneralFailure(std::string_view text) {
  if (planning_) return;
  if (settings_.suppress_messages && log_.is_open()) {
    LogLine(nullptr, "MSG", true, text);
    return;
  }
  observer_.ShowError(text);
}

void RunOutput::Notice(std::string_view operation, std::string_view text) {
  if (planning_) return;
  LogLine(nullptr, operation, false, text);
  if (settings_.suppress_messages && log_.is_open()) return;
  observer_.ShowNote(text);
}

bool RunOutput::AskYesNo(std::string_view text, bool unattended_answer) {
  if (settings_.suppress_messages && log_.is_open()) {
    LogLine(nullptr, "MSG", true, text);
    return unattended_answer;
  }
  return observer_.AskYesNo(text, unattended_answer);
}

void RunOutput::RecordOutputFile(std::uint32_t type, std::string_view display_name,
                                 std::string_view path) {
  for (const tagCOutputfile& f : output_files_) {
    if (text::EqualsNoCase(f.path, path)) return;
  }
  output_files_.push_back({type, std::string(display_name), std::string(path)});
}

std::string RunOutput::ReplaceLineBreaks(std::string_view value) const {
  return format::ReplaceLineBreaks(value, settings_.crlf_replacement);
}

std::string RunOutput::JoinList(const std::vector<std::string>& items) const {
  return tabulon::JoinList(items, settings_.secondary_delimiter);
}

}  // namespace tabulon
