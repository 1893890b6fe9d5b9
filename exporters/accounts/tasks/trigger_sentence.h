#pragma once
// The text that describes one Task Scheduler 2.0 trigger: its type text
// ("Weekly") and sentence ("At 08:00 AM every Monday, Friday of every week,
// starting 03/02/26").
#include <cstdint>
#include <string>

#include "platform/task_service.h"
#include "platform/time.h"

namespace tabulon {

struct TriggerSentence {
  std::uint32_t type = 0;
  bool enabled = false;
  std::string type_text;
  std::string sentence;  // "Error" when the last call for it failed
};

TriggerSentence DescribeTrigger(const platform::TaskTrigger& trigger, platform::Clock& clock);

}  // namespace tabulon
