#pragma once
// Where message boxes go: a dialog in the window, standard error in an
// unattended run.
#include <cstdio>
#include <string_view>

namespace tabulon {

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // A stop-icon message the user must acknowledge.
  virtual void ShowError(std::string_view text) = 0;
  // A Yes/No question; `unattended_answer` is what a run without a user takes.
  virtual bool AskYesNo(std::string_view text, bool unattended_answer) = 0;
  // A failure progress row of a run without a window, so that it is not
  // lost: the object name and the status the window would show.
  virtual void ShowFailureRow(std::string_view /*name*/, std::string_view /*status*/) {}
  // Something about the whole run that is no failure (how it logs on);
  // the window has no place for it.
  virtual void ShowNote(std::string_view /*text*/) {}
};

// Messages of an unattended run: printed to a stream, questions answered
// with their unattended answer.
class StreamMessages final : public MessageSink {
 public:
  explicit StreamMessages(std::FILE* out) : out_(out) {}
  void ShowError(std::string_view text) override;
  bool AskYesNo(std::string_view text, bool unattended_answer) override;
  // One line, "tabulon: NAME: STATUS", control characters escaped.
  void ShowFailureRow(std::string_view name, std::string_view status) override;
  // One line, "tabulon: TEXT", control characters escaped.
  void ShowNote(std::string_view text) override;

 private:
  std::FILE* out_;
};

}  // namespace tabulon
