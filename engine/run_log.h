#pragma once
// The run's log file: one line per operation of a target and per message,
// "date time[ target fields] operation SUCCESS|ERROR message". A failed
// write of the log is shown (never logged) and recorded once.
#include <string>
#include <string_view>

#include "engine/file_record.h"
#include "engine/output_file.h"
#include "engine/output_settings.h"
#include "engine/row_values.h"
#include "engine/run_observer.h"
#include "engine/target.h"
#include "platform/platform.h"

namespace tabulon {

class RunLog {
 public:
  RunLog(platform::Platform& platform, const OutputSettings& settings, FileRecord& record,
         RunObserver& messages)
      : platform_(platform), settings_(settings), record_(record), messages_(messages) {}

  win::Status Open(const std::string& path, bool append) {
    return file_.Open(path, append, OutputFile::Encoding::kEightBit);
  }
  bool is_open() const { return file_.is_open(); }
  // Open, with every write so far succeeded: it can take a line about
  // another file's failure.
  bool healthy() const { return file_.is_open() && file_.error() == win::ERROR_SUCCESS; }
  const OutputFile& file() const { return file_; }

  // Whether the settings log a line of this outcome, to an open log.
  bool Wants(bool error) const;
  // The line, timed now, with its terminator. Names and messages carry what
  // servers sent; they stay in their fields.
  // `rules` are the caller's (several threads make lines at once).
  std::string Line(const RowValueRules& rules, const tagCObjects* target,
                   std::string_view operation, bool error, std::string_view message) const;
  void Write(std::string_view line);
  // Line and Write, when the settings want the line.
  void Put(const tagCObjects* target, std::string_view operation, bool error,
           std::string_view message) {
    if (!Wants(error)) return;
    if (!rules_.Matches(settings_)) rules_ = RowValueRules(settings_);
    Write(Line(rules_, target, operation, error, message));
  }
  // Hands the buffered lines to the OS.
  void Flush() {
    file_.Flush();
    CheckWrites();
  }
  // Flushes and closes; the log closes last, so that it can still take the
  // other files' lines.
  void Close();

 private:
  void CheckWrites();

  platform::Platform& platform_;
  const OutputSettings& settings_;
  FileRecord& record_;
  RunObserver& messages_;
  OutputFile file_;
  RowValueRules rules_;
};

}  // namespace tabulon
