#pragma once
// Message and progress sinks that remember what a run showed, so tests can
// compare it as text.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/message_sink.h"
#include "engine/progress.h"

namespace tabulon::testing {

class RecordingMessages final : public MessageSink {
 public:
  void ShowError(std::string_view text) override { shown.emplace_back(text); }
  bool AskYesNo(std::string_view text, bool answer) override {
    shown.emplace_back(text);
    return user_answer.value_or(answer);
  }
  void ShowFailureRow(std::string_view name, std::string_view status) override {
    failure_rows.push_back(std::string(name) + ": " + std::string(status));
  }
  std::vector<std::string> shown;
  // Failure rows of runs without a window.
  std::vector<std::string> failure_rows;
  // What the user answers to questions; nothing: the unattended answer.
  std::optional<bool> user_answer;
};

// Progress rows as "indent|image|name|status" lines, so tests can compare
// them as text.
class RecordingProgress final : public ProgressSink {
 public:
  int AddRow(const ProgressRow& row) override {
    rows.push_back(row);
    if (on_row) on_row(row);
    return static_cast<int>(rows.size()) - 1;
  }
  void AppendToRow(int row, std::string_view text, std::uint32_t image) override {
    rows[static_cast<std::size_t>(row)].status += text;
    if (image != 0) rows[static_cast<std::size_t>(row)].image = image;
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (const ProgressRow& r : rows) {
      lines.push_back(std::to_string(r.indent) + "|" + std::to_string(r.image) + "|" + r.name +
                      "|" + r.status);
    }
    return lines;
  }
  std::vector<ProgressRow> rows;
  // Called for every row added, so that a test can act at a point of a run.
  std::function<void(const ProgressRow&)> on_row;
};

}  // namespace tabulon::testing
