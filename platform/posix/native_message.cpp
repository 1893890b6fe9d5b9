#include "platform/win_error.h"

namespace tabulon::win {

// Only Windows has message tables for its statuses.
std::string NativeMessageText(Status /*code*/) {
  return {};
}

}  // namespace tabulon::win
