#pragma once
// OLE automation dates (VT_DATE), as the Task Scheduler 2.0 interface
// returns run times: days since 1899-12-30 00:00, the fraction being the
// time of day. Dates before that day are not used by the exports.
#include <optional>

#include "platform/time.h"

namespace tabulon::platform {

// Whole seconds: the milliseconds are ignored.
std::optional<double> SystemTimeToOleDate(const SystemTime& time);
// Rounded to the second, as VariantTimeToSystemTime does.
std::optional<SystemTime> OleDateToSystemTime(double date);

}  // namespace tabulon::platform
