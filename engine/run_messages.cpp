#include "engine/run_messages.h"

namespace tabulon {

void RunMessages::Failure(std::string_view text) {
  if (plan_.planning()) return;
  if (ToLog()) {
    log_.Put(nullptr, "MSG", true, text);
    return;
  }
  sink_.ShowError(text);
}

void RunMessages::Notice(std::string_view operation, std::string_view text) {
  if (plan_.planning()) return;
  log_.Put(nullptr, operation, false, text);
  if (ToLog()) return;
  sink_.ShowNote(text);
}

void RunMessages::WriteFailure(std::string_view text) {
  sink_.ShowError(text);
  if (log_.healthy()) log_.Put(nullptr, "MSG", true, text);
}

}  // namespace tabulon
