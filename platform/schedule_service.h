#pragma once
// The schedule service of a computer, after NetScheduleJobEnum: the jobs the
// "at" command created, a page at a time with a resume handle. Entries come
// back as values instead of a buffer to free.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace tabulon::platform {

// AT_ENUM Flags.
inline constexpr std::uint8_t kJobRunPeriodically = 0x01;
inline constexpr std::uint8_t kJobExecError = 0x02;
inline constexpr std::uint8_t kJobRunsToday = 0x04;
inline constexpr std::uint8_t kJobNonInteractive = 0x10;

// AT_ENUM.
struct AtEnum {
  std::uint32_t job_id = 0;
  std::uint32_t job_time = 0;       // milliseconds after midnight
  std::uint32_t days_of_month = 0;  // bit 0: day 1
  std::uint8_t days_of_week = 0;    // bit 0: Monday
  std::uint8_t flags = 0;
  std::string command;
};

struct ScheduleJobEnumResult {
  win::Status status = win::ERROR_SUCCESS;  // ERROR_MORE_DATA: another page follows
  std::vector<AtEnum> entries;
  std::uint32_t total_entries = 0;
  std::uint32_t resume_handle = 0;
};

class ScheduleService {
 public:
  virtual ~ScheduleService() = default;

  // NetScheduleJobEnum; `preferred_max_length` 0xFFFFFFFF asks for
  // everything at once.
  virtual ScheduleJobEnumResult NetScheduleJobEnum(std::string_view server,
                                                   std::uint32_t preferred_max_length,
                                                   std::uint32_t resume_handle) = 0;
};

}  // namespace tabulon::platform
