#pragma once
// Messages and questions of a run, the one place that decides where each
// goes: the run's observer, or the log when /NOMSG sends messages there.
#include <string_view>

#include "engine/output_settings.h"
#include "engine/path_plan.h"
#include "engine/run_log.h"
#include "engine/run_observer.h"

namespace tabulon {

class RunMessages {
 public:
  RunMessages(RunObserver& sink, const OutputSettings& settings, RunLog& log, const PathPlan& plan)
      : sink_(sink), settings_(settings), log_(log), plan_(plan) {}

  // Whether /NOMSG sends messages to the log: set, and the log open.
  bool ToLog() const { return settings_.suppress_messages && log_.is_open(); }
  // A failure: shown, or an ERROR line of the log; nothing while planning
  // (the real opening shows it).
  void Failure(std::string_view text);
  // Something the user should know about the whole run that is no failure:
  // a SUCCESS line of `operation` and, unless /NOMSG sends messages to the
  // log, a note.
  void Notice(std::string_view operation, std::string_view text);
  // A question, asked at once: a front end answers it (the caller logs it
  // instead when ToLog()).
  bool Ask(std::string_view text, bool unattended_answer) {
    return sink_.AskYesNo(text, unattended_answer);
  }
  // A failure row of a run without a window, so that it is not lost.
  void FailureRow(std::string_view name, std::string_view status) {
    sink_.FailureRow(name, status);
  }
  // A file written incompletely: shown even with /NOMSG, as the log may be
  // the file that failed, and logged while the log still works.
  void WriteFailure(std::string_view text);

 private:
  RunObserver& sink_;
  const OutputSettings& settings_;
  RunLog& log_;
  const PathPlan& plan_;
};

}  // namespace tabulon
