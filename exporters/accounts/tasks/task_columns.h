#pragma once
// The columns of the pre-Vista tasks export, which both its sources (the
// Task Scheduler's work items and the schedule service's AT jobs) fill, and
// the shape of their flag-name tables.
#include <cstdint>
#include <string_view>

namespace tabulon::tasks {

enum Column : std::uint32_t {
  kType = 0,
  kId = 1,
  kTime = 2,
  kCommand = 3,
  kSchedule = 4,
  kAccount = 5,
  kFlags = 6,
  kIdleMinutes = 7,
  kDeadlineMinutes = 8,
  kWorkingDirectory = 9,
  kParameters = 10,
  kComment = 11,
  kCreator = 12,
  kMaxRunSeconds = 13,
  kPriority = 14,
  kExitCode = 15,
  kLastRunTime = 16,
  kStatus = 17,
};

// A flag bit and its name; tables list them in the order they are written.
struct FlagName {
  std::uint32_t bit;
  std::string_view name;
};

}  // namespace tabulon::tasks
