#pragma once
// Hands a run's observer calls on one at a time: a run exporting several
// targets at once calls it from its workers (work started and ended) and
// from whichever thread commits (rows, failures, questions).
#include <mutex>

#include "engine/run_observer.h"

namespace tabulon {

class SerialisedObserver final : public RunObserver {
 public:
  explicit SerialisedObserver(RunObserver& next) : next_(next) {}

  void ProgressRowAdded(int number, const ProgressRow& row) override {
    const std::lock_guard lock(mutex_);
    next_.ProgressRowAdded(number, row);
  }
  void ProgressTextAppended(int number, std::string_view text, std::uint32_t image) override {
    const std::lock_guard lock(mutex_);
    next_.ProgressTextAppended(number, text, image);
  }
  void FailureRow(std::string_view name, std::string_view status) override {
    const std::lock_guard lock(mutex_);
    next_.FailureRow(name, status);
  }
  void TargetStarted(std::size_t done, std::size_t total, const tagCObjects& target) override {
    const std::lock_guard lock(mutex_);
    next_.TargetStarted(done, total, target);
  }
  void TargetFinished(std::size_t done, std::size_t total, const tagCObjects& target) override {
    const std::lock_guard lock(mutex_);
    next_.TargetFinished(done, total, target);
  }
  void TargetWorkStarted(std::size_t index, const tagCObjects& target) override {
    const std::lock_guard lock(mutex_);
    next_.TargetWorkStarted(index, target);
  }
  void TargetWorkEnded(std::size_t index, const tagCObjects& target) override {
    const std::lock_guard lock(mutex_);
    next_.TargetWorkEnded(index, target);
  }
  void ShowError(std::string_view text) override {
    const std::lock_guard lock(mutex_);
    next_.ShowError(text);
  }
  void ShowNote(std::string_view text) override {
    const std::lock_guard lock(mutex_);
    next_.ShowNote(text);
  }
  bool AskYesNo(std::string_view text, bool unattended_answer) override {
    const std::lock_guard lock(mutex_);
    return next_.AskYesNo(text, unattended_answer);
  }

 private:
  RunObserver& next_;
  std::mutex mutex_;
};

}  // namespace tabulon
