#pragma once
// The schedule service and Task Scheduler 1.0 answered from the estate, for
// one session. The task scheduler objects live in the session's table, so
// that what a session did not release can be counted when it closes.
#include <cstddef>
#include <string>
#include <vector>

#include "estate/handle_table.h"
#include "estate/simulation.h"
#include "platform/schedule_service.h"
#include "platform/task_scheduler.h"

namespace tabulon::estate {

class EstateScheduleService final : public platform::ScheduleService {
 public:
  EstateScheduleService(Simulation& simulation, const platform::SessionOptions& session)
      : sim_(simulation), session_(session) {}

  // Everything in one page: the estate's servers have no buffer limit.
  platform::ScheduleJobEnumResult NetScheduleJobEnum(std::string_view server,
                                                     std::uint32_t preferred_max_length,
                                                     std::uint32_t resume_handle) override;

 private:
  Simulation& sim_;
  const platform::SessionOptions& session_;
};

class EstateTaskScheduler final : public platform::TaskScheduler {
 public:
  EstateTaskScheduler(Simulation& simulation, const platform::SessionOptions& session)
      : sim_(simulation), session_(session) {}

  // Creation is local: only the local computer's injected failure applies.
  platform::TaskSchedulerObjectResult CreateTaskScheduler() override;
  win::Status SetTargetComputer(platform::TaskSchedulerObject scheduler,
                                std::string_view computer) override;
  platform::TaskSchedulerObjectResult Enum(platform::TaskSchedulerObject scheduler) override;
  win::Status Reset(platform::TaskSchedulerObject enumeration) override;
  platform::WorkItemNamesResult Next(platform::TaskSchedulerObject enumeration,
                                     std::uint32_t count) override;
  platform::ActivateResult Activate(platform::TaskSchedulerObject scheduler,
                                    std::string_view name) override;
  void Release(platform::TaskSchedulerObject object) override;

  std::size_t OpenObjectCount() const { return objects_.Count(); }
  // "task scheduler NAME" or "work item enumeration NAME" per object.
  std::vector<std::string> DescribeOpenObjects() const;

 private:
  struct ObjectState {
    bool enumeration = false;
    const Computer* computer = nullptr;  // the target; null before SetTargetComputer
    std::string host;
    std::size_t next = 0;  // the enumeration's position
  };

  Simulation& sim_;
  const platform::SessionOptions& session_;
  HandleTable<ObjectState> objects_{0x3000};
};

}  // namespace tabulon::estate
