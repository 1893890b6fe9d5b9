#pragma once
// A run's messages as lines on a stream (standard error for the command
// line): "tabulon: TEXT", control characters of failure rows and notes
// escaped; questions take their unattended answers.
#include <cstdio>
#include <string_view>

#include "engine/run_observer.h"

namespace tabulon::run {

class StreamObserver : public RunObserver {
 public:
  explicit StreamObserver(std::FILE* out) : out_(out) {}
  void ShowError(std::string_view text) override;
  void ShowNote(std::string_view text) override;
  // "tabulon: TEXT [Yes]": the question and the answer the run takes.
  bool AskYesNo(std::string_view text, bool unattended_answer) override;

 private:
  std::FILE* out_;
};

// One failure row as one line, "tabulon: NAME: STATUS", control characters
// escaped so that a name a server sent cannot rewrite the terminal.
void WriteFailureLine(std::FILE* out, std::string_view name, std::string_view status);

}  // namespace tabulon::run
