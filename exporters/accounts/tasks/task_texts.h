#pragma once
// Texts of Task Scheduler 2.0 values: run times, last results and the
// status text that goes with a failure.
#include <string>

#include "engine/error_text.h"
#include "platform/locale.h"
#include "platform/status.h"

namespace tabulon {

// "NEVER" for 0.0, else the date as a variant converts it to text: the
// locale's short date and long time, without the time at midnight.
std::string TaskRunTimeText(double date, platform::Locale& locale);

// "message (0xCODE)" for a last task result.
std::string TaskResultText(win::Status code);

// What the WMI status-text service says of a COM result: the facility and
// the system's message.
WmiStatusTexts TaskStatusTexts(win::Status status);

}  // namespace tabulon
