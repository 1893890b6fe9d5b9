#include "run/stream_observer.h"

#include <string>

#include "engine/terminal_text.h"

namespace tabulon::run {

void StreamObserver::ShowError(std::string_view text) {
  std::fprintf(out_, "tabulon: %.*s\n", static_cast<int>(text.size()), text.data());
  std::fflush(out_);
}

void StreamObserver::ShowNote(std::string_view text) {
  const std::string line = "tabulon: " + EscapeControls(text) + "\n";
  std::fputs(line.c_str(), out_);
  std::fflush(out_);
}

bool StreamObserver::AskYesNo(std::string_view text, bool unattended_answer) {
  std::fprintf(out_, "tabulon: %.*s [%s]\n", static_cast<int>(text.size()), text.data(),
               unattended_answer ? "Yes" : "No");
  std::fflush(out_);
  return unattended_answer;
}

void WriteFailureLine(std::FILE* out, std::string_view name, std::string_view status) {
  const std::string line =
      "tabulon: " + EscapeControls(name) + ": " + EscapeControls(status) + "\n";
  std::fputs(line.c_str(), out);
  std::fflush(out);
}

}  // namespace tabulon::run
