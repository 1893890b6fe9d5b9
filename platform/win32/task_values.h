#pragma once
// What a Task Scheduler getter answered, as the Property records of
// platform/task_service.h and platform/task_scheduler.h: a failed HRESULT is
// the property's status, a text beyond the bound is ERROR_INVALID_DATA
// rather than copied. Kept free of <windows.h>.
#include <cstddef>
#include <string>

#include "platform/property.h"
#include "platform/status.h"
#include "platform/time.h"

struct _SYSTEMTIME;

namespace tabulon::platform::win32 {

inline constexpr std::size_t kMaxTaskTextChars = 65536;  // UTF-16 units
// Bounds on collections: folders or tasks of one folder, triggers of one task.
inline constexpr long kMaxTaskItems = 100000;
inline constexpr long kMaxTaskTriggers = 1024;

// A BSTR getter's answer; a NULL BSTR is "".
Property<std::string> BstrProperty(long hr, const wchar_t* bstr);
// A task-allocator string getter's answer (NUL-terminated); NULL is "".
Property<std::string> CoTaskTextProperty(long hr, const wchar_t* text);
// A SYSTEMTIME getter's answer; a success code (SCHED_S_*) keeps the time
// the call left, all zero when there is none.
Property<SystemTime> SystemTimeProperty(long hr, const _SYSTEMTIME& time);

}  // namespace tabulon::platform::win32
