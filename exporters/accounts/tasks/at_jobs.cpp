#include "exporters/accounts/tasks/at_jobs.h"

#include "engine/error_text.h"
#include "engine/messages.h"
#include "engine/row.h"
#include "exporters/accounts/tasks/task_columns.h"
#include "exporters/toolkit/export_progress.h"
#include "format/lists.h"
#include "platform/netapi.h"
#include "platform/schedule_service.h"

namespace tabulon {
namespace {

using namespace tasks;

// In the order they are written.
constexpr FlagName kJobFlagNames[] = {
    {platform::kJobNonInteractive, "NONINTERACTIVE"},
    {platform::kJobRunPeriodically, "RUN_PERIODICALLY"},
    {platform::kJobRunsToday, "RUNS_TODAY"},
    {platform::kJobExecError, "EXEC_ERROR"},
};

// Days of the week from Monday, then "/", then the days of the month.
std::string DayLists(const platform::AtEnum& job) {
  static constexpr std::string_view kDays[] = {"Mo ", "Tu ", "We ", "Th ", "Fr ", "Sa ", "Su"};
  std::string text;
  if (job.days_of_week == 0) text = "(None)";
  for (int bit = 0; bit < 7; ++bit) {
    if (job.days_of_week >> bit & 1) text += kDays[bit];
  }
  text += '/';
  if (job.days_of_month == 0) text += "(None)";
  for (int bit = 0; bit < 32; ++bit) {
    if (job.days_of_month >> bit & 1) text += std::to_string(bit + 1) + ' ';
  }
  return text;
}

// The time formatter wants a whole valid time: today's date carries it.
std::string TimeOfDay(std::uint32_t milliseconds, platform::Platform& platform) {
  platform::SystemTime time = platform.clock->LocalNow();
  time.milliseconds = 0;
  time.hour = static_cast<int>(milliseconds / 3600000);
  time.minute = static_cast<int>(milliseconds % 3600000 / 60000);
  time.second = static_cast<int>(milliseconds % 3600000 % 60000 / 1000);
  return platform.locale->FormatTime(time, "").value_or("");
}

void WriteJob(ExportContext& context, Row& row, const platform::AtEnum& job) {
  RunOutput& out = context.output;
  row[kType] = "AT";
  row[kId] = std::to_string(static_cast<std::int32_t>(job.job_id));
  row[kTime] = TimeOfDay(job.job_time, out.platform());
  row[kCommand] = job.command;
  row[kSchedule] = DayLists(job);
  row[kAccount] = "Schedule Service Account";
  std::string flags;
  for (const FlagName& flag : kJobFlagNames) {
    if (job.flags & flag.bit) {
      format::AppendDelimited(flags, flag.name, context.format.secondary_delimiter);
    }
  }
  row[kFlags] = flags;
  row.Write();
}

}  // namespace

void ExportAtJobRows(ExportContext& context, const tagCObjects& target,
                     const std::string& computer) {
  RunOutput& out = context.output;
  ExportProgress progress(out, target,
                          FillMessage("Exporting scheduled jobs on '%s'...", {target.display_name}),
                          ProgressKind::kTasks);
  platform::ScheduleService& schedule = context.session.schedule();
  std::string failure;
  std::uint32_t resume = 0;
  Row row(out, context.files.of(kTasks), &target);
  while (true) {
    const platform::ScheduleJobEnumResult page =
        schedule.NetScheduleJobEnum(computer, platform::kMaxPreferredLength, resume);
    if (page.status != win::ERROR_SUCCESS && page.status != win::ERROR_MORE_DATA) {
      failure = FillMessage("Unable to get scheduled jobs from '%s'. ", {computer}) +
                WindowsErrorText(page.status);
      break;
    }
    for (const platform::AtEnum& job : page.entries) WriteJob(context, row, job);
    resume = page.resume_handle;
    if (page.entries.empty() || resume == 0) break;
  }
  if (!failure.empty()) progress.ReportFailure(failure);
  out.LogLine(&target, ExportTypeInfo(kTasks).log_name, !failure.empty(), failure);
}

}  // namespace tabulon
