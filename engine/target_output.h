#pragma once
// Everything one target produces — rows of every output and template file,
// log lines, progress rows, failure rows and messages, the files it first
// writes to, photos — goes through its TargetOutput. A streaming output
// hands each piece to the run's real files at once (a serial run: rows
// stream and memory stays flat); a buffered one holds them, in the order
// produced, until the run commits the target. A later target may then be
// produced while an earlier one is being committed: committing targets in
// their order gives the same bytes as streaming them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/output_file.h"
#include "engine/progress.h"
#include "platform/status.h"

namespace tabulon {

// Where a target's output is committed: the run's files, log, progress rows
// and messages. The run's one implementation is RunOutput.
class OutputDestination {
 public:
  virtual ~OutputDestination() = default;
  virtual void CommitRow(OutputFile& file, std::string_view row) = 0;
  virtual void CommitFlush(OutputFile& file) = 0;
  virtual void CommitLogLine(std::string_view line) = 0;
  // A row of the progress list; a run that lists none gives -1 (a failure
  // row still reaches the observer).
  virtual bool lists_progress_rows() const = 0;
  virtual int CommitProgressRow(const ProgressRow& row, bool failure) = 0;
  virtual void CommitAppend(int row, std::string_view text, std::uint32_t image) = 0;
  virtual void CommitFailure(std::string_view text) = 0;
  virtual void CommitOutputFile(std::uint32_t type, std::string_view display_name,
                                std::string_view path) = 0;
};

class TargetOutput;

// What a buffered output reports to the run that commits it in list order
// (engine/target_pipeline.h): either call may block, and may turn the
// output into a streaming one once its target is the next to commit.
class OutputGate {
 public:
  virtual ~OutputGate() = default;
  // `bytes` more are held.
  virtual void Held(TargetOutput& output, std::size_t bytes) = 0;
  // Returns once every earlier target is committed; the output streams.
  virtual void WaitForTurn(TargetOutput& output) = 0;
};

class TargetOutput {
 public:
  enum class Mode { kStreaming, kBuffered };

  TargetOutput(OutputDestination& destination, Mode mode)
      : destination_(destination), mode_(mode), own_numbers_(mode == Mode::kBuffered) {}
  TargetOutput(const TargetOutput&) = delete;
  TargetOutput& operator=(const TargetOutput&) = delete;
  TargetOutput(TargetOutput&&) = default;

  Mode mode() const { return mode_; }
  // A buffered output of the list's entry `index`, reporting to `gate`.
  void Attach(OutputGate& gate, std::size_t index) {
    gate_ = &gate;
    index_ = index;
  }
  std::size_t index() const { return index_; }

  // A finished row, in UTF-8 with its terminator, for `file`.
  void WriteRow(OutputFile& file, std::string_view row);
  // Lets what is written so far reach the file (long listings); nothing to
  // do while buffered.
  void Flush(OutputFile& file);
  void WriteLogLine(std::string_view line);
  // The row's number for AppendProgress (while buffered, a number of this
  // target's own); -1 without a progress window.
  int AddProgressRow(const ProgressRow& row, bool failure);
  void AppendProgress(int row, std::string_view text, std::uint32_t image);
  void Failure(std::string_view text);
  void RecordOutputFile(std::uint32_t type, std::string_view display_name, std::string_view path);
  // Writes a photo file at once, in either mode: the row's cell says
  // whether it was written. Each account has its own file.
  win::Status WritePhoto(const std::string& path, std::string_view bytes);

  // Hands what is held to the destination, in the order produced, and
  // empties the buffer; nothing to do for a streaming output.
  void Commit();
  // Commits what is held and streams from then on: the target is the next
  // to commit. Progress row numbers handed out stay valid.
  void StartStreaming();
  // See RunOutput::WaitForTurn.
  void WaitForTurn() {
    if (gate_ != nullptr && mode_ == Mode::kBuffered) gate_->WaitForTurn(*this);
  }
  // The bytes of text held, for a bound on what waits to be committed.
  std::size_t held_bytes() const { return text_.size(); }

  // The target failed somewhere: a failure row or an ERROR log line.
  void NoteFailure() { failed_ = true; }
  bool failed() const { return failed_; }

 private:
  enum class Kind : std::uint8_t {
    kRow,
    kLog,
    kProgress,
    kFailureRow,
    kAppend,
    kFailure,
    kOutputFile
  };
  // One piece held: up to two texts, kept end to end in `text_`.
  struct Held {
    Kind kind;
    OutputFile* file = nullptr;
    std::size_t first = 0;   // size of the first text
    std::size_t second = 0;  // size of the second text
    int row = -1;
    std::uint32_t a = 0;
    std::uint32_t b = 0;
    ProgressKind progress_kind = ProgressKind::kNone;
  };
  void Hold(Held held, std::string_view first, std::string_view second = {});

  OutputDestination& destination_;
  Mode mode_;
  std::vector<Held> held_;
  std::string text_;
  int progress_rows_ = 0;  // rows added while buffered
  // Made buffered: progress row numbers are this target's own, mapped to
  // the destination's at the commit (kept once the output streams).
  bool own_numbers_ = false;
  std::vector<int> committed_rows_;
  OutputGate* gate_ = nullptr;
  std::size_t index_ = 0;
  bool failed_ = false;
};

}  // namespace tabulon
