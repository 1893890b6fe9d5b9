#include "ui/main_commands.h"

namespace tabulon::ui {

// Every row sits at the index of its command: the window finds a command's
// action by that index.
static_assert([] {
  for (std::size_t i = 0; i < kCommands.size(); ++i) {
    if (static_cast<std::size_t>(kCommands[i].command) != i) return false;
  }
  return true;
}());

bool CommandEnabled(EnabledRule rule, const CommandState& state) {
  switch (rule) {
    case EnabledRule::kAlways:
      return true;
    case EnabledRule::kIdle:
      return !state.running;
    case EnabledRule::kRunning:
      return state.running;
    case EnabledRule::kObjectChosen:
      return !state.running && state.object_chosen;
    case EnabledRule::kCanMoveUp:
      return !state.running && state.can_move_up;
    case EnabledRule::kCanMoveDown:
      return !state.running && state.can_move_down;
  }
  return false;
}

}  // namespace tabulon::ui
