#pragma once
// The schedule service (platform/schedule_service.h) on NetScheduleJobEnum.
#include "platform/bounded_calls.h"
#include "platform/schedule_service.h"

namespace tabulon::platform::win32 {

class Win32ScheduleService final : public ScheduleService {
 public:
  // `calls` runs every call; it must outlive this object.
  explicit Win32ScheduleService(BoundedCalls& calls) : calls_(calls) {}

  ScheduleJobEnumResult NetScheduleJobEnum(std::string_view server,
                                           std::uint32_t preferred_max_length,
                                           std::uint32_t resume_handle) override;

 private:
  BoundedCalls& calls_;
};

}  // namespace tabulon::platform::win32
