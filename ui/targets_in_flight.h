#pragma once
// The targets a run exporting several at once is working on, for the line
// under the progress list. The run's threads note work starting and ending
// (a map insertion, so that thousands of targets cost next to nothing); the
// window's thread takes the line's text only when the set has changed, and
// no more often than it redraws the line.
#include <QString>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tabulon::ui {

class TargetsInFlight {
 public:
  void Started(std::size_t index, std::string_view name);
  void Ended(std::size_t index);
  // When the set changed since the last call: "Exporting: A, B, C (+k
  // more)", the targets in list order; empty when none is in flight.
  std::optional<QString> TakeText();

 private:
  std::map<std::size_t, std::string> names_;  // by list index: the earliest first
  bool changed_ = false;
};

}  // namespace tabulon::ui
