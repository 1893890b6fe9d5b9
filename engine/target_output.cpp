#include "engine/target_output.h"

#include <memory>

#include "platform/writable_file.h"

namespace tabulon {

void TargetOutput::Hold(Held held, std::string_view first, std::string_view second) {
  held.first = first.size();
  held.second = second.size();
  text_ += first;
  text_ += second;
  held_.push_back(held);
  if (gate_ != nullptr) gate_->Held(*this, first.size() + second.size());
}

void TargetOutput::WriteRow(OutputFile& file, std::string_view row) {
  if (mode_ == Mode::kStreaming) return destination_.CommitRow(file, row);
  Hold({.kind = Kind::kRow, .file = &file}, row);
}

void TargetOutput::Flush(OutputFile& file) {
  if (mode_ == Mode::kStreaming) destination_.CommitFlush(file);
}

void TargetOutput::WriteLogLine(std::string_view line) {
  if (mode_ == Mode::kStreaming) return destination_.CommitLogLine(line);
  Hold({.kind = Kind::kLog}, line);
}

int TargetOutput::AddProgressRow(const ProgressRow& row, bool failure) {
  if (failure) failed_ = true;
  if (mode_ == Mode::kStreaming) {
    const int number = destination_.CommitProgressRow(row, failure);
    if (!own_numbers_ || number < 0) return number;
    committed_rows_.push_back(number);
    return progress_rows_++;
  }
  Hold({.kind = failure ? Kind::kFailureRow : Kind::kProgress,
        .a = row.image,
        .b = row.indent,
        .progress_kind = row.kind},
       row.name, row.status);
  return destination_.lists_progress_rows() ? progress_rows_++ : -1;
}

void TargetOutput::AppendProgress(int row, std::string_view text, std::uint32_t image) {
  if (mode_ == Mode::kStreaming) {
    if (own_numbers_) {
      if (row < 0 || static_cast<std::size_t>(row) >= committed_rows_.size()) return;
      row = committed_rows_[static_cast<std::size_t>(row)];
    }
    return destination_.CommitAppend(row, text, image);
  }
  if (row < 0) return;
  Hold({.kind = Kind::kAppend, .row = row, .a = image}, text);
}

void TargetOutput::Failure(std::string_view text) {
  if (mode_ == Mode::kStreaming) return destination_.CommitFailure(text);
  Hold({.kind = Kind::kFailure}, text);
}

void TargetOutput::RecordOutputFile(std::uint32_t type, std::string_view display_name,
                                    std::string_view path) {
  if (mode_ == Mode::kStreaming) return destination_.CommitOutputFile(type, display_name, path);
  Hold({.kind = Kind::kOutputFile, .a = type}, display_name, path);
}

win::Status TargetOutput::WritePhoto(const std::string& path, std::string_view bytes) {
  std::unique_ptr<platform::WritableFile> file;
  win::Status status = platform::OpenWritableFile(path, false, file);
  if (status == win::ERROR_SUCCESS) {
    status = file->Write(bytes);
    const win::Status closed = file->Close();
    if (status == win::ERROR_SUCCESS) status = closed;
  }
  return status;
}

void TargetOutput::Commit() {
  std::size_t at = 0;
  for (const Held& h : held_) {
    const std::string_view first(text_.data() + at, h.first);
    const std::string_view second(text_.data() + at + h.first, h.second);
    at += h.first + h.second;
    switch (h.kind) {
      case Kind::kRow:
        destination_.CommitRow(*h.file, first);
        break;
      case Kind::kLog:
        destination_.CommitLogLine(first);
        break;
      case Kind::kProgress:
      case Kind::kFailureRow:
        committed_rows_.push_back(destination_.CommitProgressRow({.kind = h.progress_kind,
                                                                  .image = h.a,
                                                                  .indent = h.b,
                                                                  .name = std::string(first),
                                                                  .status = std::string(second)},
                                                                 h.kind == Kind::kFailureRow));
        break;
      case Kind::kAppend:
        // This target's own row number, as the destination numbered it.
        if (static_cast<std::size_t>(h.row) < committed_rows_.size()) {
          destination_.CommitAppend(committed_rows_[static_cast<std::size_t>(h.row)], first, h.a);
        }
        break;
      case Kind::kFailure:
        destination_.CommitFailure(first);
        break;
      case Kind::kOutputFile:
        destination_.CommitOutputFile(h.a, first, second);
        break;
    }
  }
  held_.clear();
  text_.clear();
}

void TargetOutput::StartStreaming() {
  Commit();
  mode_ = Mode::kStreaming;
}

}  // namespace tabulon
