#pragma once
// A Yes/No question a unit asks at most once in a run (the terminal-services
// libraries missing on this computer): the first target in list order that
// needs it asks, as a serial run would, and the answer stands for every
// later target. Targets exported at once share it.
#include <atomic>
#include <string_view>

#include "engine/run_output.h"

namespace tabulon {

class OnceQuestion {
 public:
  bool Ask(RunOutput& output, std::string_view text, bool unattended_answer) {
    if (answer_.load() == kNotAsked) {
      // Until every earlier target is committed, one of them may still ask;
      // once they are, no other target can be asking, so no lock is held
      // while the user answers.
      output.WaitForTurn();
      if (answer_.load() == kNotAsked) {
        answer_.store(output.AskYesNo(text, unattended_answer) ? kYes : kNo);
      }
    }
    return answer_.load() == kYes;
  }

 private:
  enum Answer : int { kNotAsked, kYes, kNo };
  std::atomic<int> answer_{kNotAsked};
};

}  // namespace tabulon
