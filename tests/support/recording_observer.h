#pragma once
// An observer that remembers what a run showed, so tests can compare it as
// text.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/run_observer.h"

namespace tabulon::testing {

class RecordingObserver final : public RunObserver {
 public:
  // Rows are numbered in the order they come, so the number is the index.
  void ProgressRowAdded(int /*number*/, const ProgressRow& row) override {
    rows.push_back(row);
    if (on_row) on_row(row);
  }
  void ProgressTextAppended(int number, std::string_view text, std::uint32_t image) override {
    ProgressRow& row = rows.at(static_cast<std::size_t>(number));
    row.status += text;
    if (image != 0) row.image = image;
  }
  void FailureRow(std::string_view name, std::string_view status) override {
    failure_rows.push_back(std::string(name) + ": " + std::string(status));
  }
  void TargetStarted(std::size_t /*done*/, std::size_t /*total*/,
                     const tagCObjects& target) override {
    if (on_target) on_target(target);
  }
  void ShowError(std::string_view text) override { shown.emplace_back(text); }
  bool AskYesNo(std::string_view text, bool answer) override {
    shown.emplace_back(text);
    return user_answer.value_or(answer);
  }

  // Progress rows as "indent|image|name|status" lines.
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (const ProgressRow& r : rows) {
      lines.push_back(std::to_string(r.indent) + "|" + std::to_string(r.image) + "|" + r.name +
                      "|" + r.status);
    }
    return lines;
  }
  void Clear() {
    rows.clear();
    shown.clear();
    failure_rows.clear();
  }

  std::vector<ProgressRow> rows;
  // Message boxes and questions.
  std::vector<std::string> shown;
  // Failure rows, as "name: status".
  std::vector<std::string> failure_rows;
  // What the user answers to questions; nothing: the unattended answer.
  std::optional<bool> user_answer;
  // Called for every row added and before every target, so that a test can
  // act at a point of a run.
  std::function<void(const ProgressRow&)> on_row;
  std::function<void(const tagCObjects&)> on_target;
};

}  // namespace tabulon::testing
