// Both scheduled-task exports end to end: Task Scheduler 1.0 work items and
// the AT jobs they fall back to, the Task Scheduler 2.0 folder tree read from
// task XML files with the sentence of each trigger kind, and the failures of
// each.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>

#include "platform/utf8_path.h"
#include "support/e2e.h"

namespace tabulon::testing {
namespace {

constexpr std::string_view kEstate = R"({
  "computers": [
    {"name": "XP01", "scheduled_tasks": {"work_items": [
      {"name": "Report.job", "application": "C:\\R.EXE", "parameters": "/w",
       "working_directory": "C:\\", "comment": "Weekly", "creator": "ann",
       "account": "CASK\\ann",
       "flags": ["SYSTEM_REQUIRED", "START_ONLY_IF_IDLE", "INTERACTIVE", "HIDDEN"],
       "idle_minutes": 10, "deadline_minutes": 60, "max_run_time_ms": 259200000,
       "exit_code": 4294967295, "status": "RUNNING", "next_run": "2026-03-06T07:00:00",
       "last_run": "2026-02-27T07:00:00", "triggers": ["Mon", "Wed", "Fri"]},
      {"name": "Bare.job", "flags": ["DISABLED"], "idle_minutes": 5,
       "max_run_time_ms": "INFINITE", "status": "NOT_SCHEDULED", "comment": "hidden",
       "failures": {"GetComment": "E_ACCESSDENIED"}}],
     "at_jobs": [{"id": 9, "command": "never.cmd"}]}},
    {"name": "NT01", "scheduled_tasks": {"at_jobs": [
      {"id": 1, "time": "14:30", "days_of_week": ["Mo", "Th"],
       "flags": ["EXEC_ERROR", "RUN_PERIODICALLY", "NONINTERACTIVE"], "command": "a.cmd"},
      {"id": 2, "time": 0, "days_of_month": [1, 15], "command": "b.cmd"},
      {"id": 3, "time": "23:59:59", "days_of_week": 127, "command": "c.cmd"}]}},
    {"name": "BAD01", "scheduled_tasks": {"work_items": [
      {"name": "A.job"}, {"name": "B.job", "failures": {"Activate": "E_ACCESSDENIED"}},
      {"name": "C.job"}]}},
    {"name": "BAD02", "scheduled_tasks": {"work_items": [
      {"name": "A.job", "failures": {"GetTriggerCount": "E_FAIL"}}]}},
    {"name": "BAD03", "failures": {"NetScheduleJobEnum": "ERROR_ACCESS_DENIED"}},
    {"name": "VISTA", "scheduled_tasks": {"task_folder": "@TASKS@",
      "tasks": {
        "\\Backup": {"state": "RUNNING", "next_run": "2026-03-06T23:30:00",
                     "last_run": "2026-03-05T00:00:00", "last_result": 0, "missed_runs": 2},
        "\\Shop\\Refused": {"state": "QUEUED", "last_result": "E_REQUEST_REFUSED"},
        "\\Shop\\Odd": {"state": 9, "last_result": 1,
                        "failures": {"get_Author": "E_ACCESSDENIED",
                                     "trigger.get_StartBoundary": "E_FAIL"}},
        "\\Shop\\Gone": {"failures": {"get_Item": "E_FAIL"}}
      }}},
    {"name": "LOCKED", "scheduled_tasks": {"task_folder": "@TASKS@",
      "folder_failures": {"\\Locked": {"GetTaskFolder": "E_ACCESSDENIED"}}}},
    {"name": "LIST", "scheduled_tasks": {"task_folder": "@TASKS@",
      "folder_failures": {"\\Shop": {"GetTasks": "E_ACCESSDENIED"}}}},
    {"name": "ROOT", "scheduled_tasks": {"task_folder": "@TASKS@",
      "folder_failures": {"\\": {"GetTaskFolders": "E_ACCESSDENIED"}}}}
  ]
})";

constexpr std::string_view kTime = "3/5/2026 14:07:09";

std::string Task(std::string_view triggers, std::string_view rest = {}) {
  return "<?xml version=\"1.0\"?>\n<Task xmlns=\"http://schemas.microsoft.com/windows/2004/02/"
         "mit/task\">\n<Triggers>" +
         std::string(triggers) + "</Triggers>\n" + std::string(rest) + "</Task>\n";
}

class ScheduledTasks : public ::testing::Test {
 protected:
  void Write(const std::string& name, std::string_view bytes) {
    std::filesystem::create_directories(
        platform::Utf8Path(run_.dir().File("tasks/VISTA/" + name)).parent_path());
    run_.dir().Write("tasks/VISTA/" + name, bytes);
  }
  void SetUp() override {
    Write("Backup",
          "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
          "<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\n"
          "  <RegistrationInfo><Date>2024-11-04T16:20:11</Date><Author>CASK\\ann</Author>\n"
          "    <Description>Ledger &amp; orders &#x2192; share</Description>"
          "<Source>IT</Source><Version>2.1</Version>\n"
          "  </RegistrationInfo>\n"
          "  <Triggers><CalendarTrigger><StartBoundary>2026-03-02T08:00:00</StartBoundary>"
          "<ScheduleByWeek><DaysOfWeek><Monday/><Friday/></DaysOfWeek>"
          "<WeeksInterval>1</WeeksInterval></ScheduleByWeek></CalendarTrigger></Triggers>\n"
          "  <Principals><Principal id=\"Author\"><UserId>CASK\\svc</UserId>"
          "<GroupId></GroupId></Principal></Principals>\n"
          "</Task>\n");
    // Windows keeps task files in UTF-16 with a byte-order mark.
    const std::string utf8 =
        Task("<BootTrigger/><LogonTrigger/>",
             "<Principals><Principal><UserId>S-1-5-18</UserId><GroupId>S-1-5-32-545</GroupId>"
             "</Principal></Principals><Settings><Hidden>true</Hidden></Settings>");
    std::string utf16 = "\xFF\xFE";
    for (char c : utf8) utf16 += std::string{c, '\0'};
    Write("Shop/Multi", utf16);
    Write("Shop/Refused", Task("", "<Settings><Enabled>false</Enabled></Settings>"));
    Write("Shop/Odd",
          Task("<TimeTrigger><StartBoundary>2026-03-07T09:15:00</StartBoundary>"
               "</TimeTrigger>",
               "<RegistrationInfo><Author>x</Author><Date>d</Date></RegistrationInfo>"));
    Write("Shop/Gone", Task(""));
    Write("Locked/Inside", Task(""));
    Write("Zed/Last", Task(""));
    SetEstate(kEstate);
  }
  // The test estate is not read from a file: its task folder is given whole.
  void SetEstate(std::string_view json) {
    std::string text(json);
    for (std::size_t at; (at = text.find("@TASKS@")) != std::string::npos;) {
      text.replace(at, 7, run_.dir().File("tasks/VISTA"));
    }
    run_.SetEstate(text);
  }
  void TearDown() override {
    EXPECT_EQ(run_.backend().LeakedHandles(), 0u)
        << ::testing::PrintToString(run_.backend().DescribeLeakedHandles());
  }
  void Export(std::string_view section, std::string_view computer) {
    run_.SetConfiguration("[General]\nEnableLogging=1\nAppendLog=0\n" + std::string(section));
    run_.SetObjects({{24, std::string(computer), "\\\\" + std::string(computer)}});
    run_.Run();
  }
  EndToEnd run_;
};

constexpr std::string_view kPreVista =
    "[Tasks]\nExportTasks=1\nTasksColumns=0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17\n";

TEST_F(ScheduledTasks, WorkItemsGiveOneRowPerTrigger) {
  Export(kPreVista, "XP01");
  const std::string report_head = "TASK\tReport.job\t3/6/2026 7:00:00\tC:\\R.EXE\t";
  const std::string report_tail =
      "\tCASK\\ann\tINTERACTIVE^HIDDEN^START_ONLY_IF_IDLE^SYSTEM_REQUIRED\t10\t60\tC:\\\t/w\t"
      "Weekly\tann\t259200\t32\t-1\t2/27/2026 7:00:00\tRunning\r\n";
  EXPECT_EQ(
      run_.Output("tasks.txt"),
      "JobType\tJobId\tJobTime\tJobCommand\tJobSchedule\tJobAccount\tJobFlags\t"
      "JobIdleMinutes\tJobDeadlineMinutes\tJobWorkingDirectory\tJobParameters\tJobComment\t"
      "JobCreator\tJobMaxRunSeconds\tJobPriority\tJobExitCode\tJobLastRunTime\tJobStatus\r\n" +
          report_head + "Mon" + report_tail + report_head + "Wed" + report_tail + report_head +
          "Fri" + report_tail +
          // No trigger: one row without a schedule; idle values only with the idle flag;
          // a getter that fails leaves its field empty.
          "TASK\tBare.job\t(None)\t\t\t\tDISABLED\t\t\t\t\t\t\tINFINITE\t32\t0\t(None)\t"
          "Not Scheduled\r\n");
  EXPECT_EQ(run_.Output("Export.log"), std::string(kTime) + "\tXP01\tXP01\t\tJOBS\tSUCCESS\t\r\n");
  EXPECT_EQ(run_.ProgressLines(),
            (std::vector<std::string>{"0|7|XP01|Exporting...",
                                      "1|65|XP01|Exporting scheduled tasks on 'XP01'...",
                                      "0|53|Export Completed.|1 Objects Processed."}));
}

TEST_F(ScheduledTasks, WithoutTaskSchedulerTheAtJobsAreListed) {
  Export(kPreVista, "NT01");
  EXPECT_EQ(run_.Output("tasks.txt").substr(run_.Output("tasks.txt").find("\r\n") + 2),
            "AT\t1\t14:30:00\ta.cmd\tMo Th /(None)\tSchedule Service Account\t"
            "NONINTERACTIVE^RUN_PERIODICALLY^EXEC_ERROR\t\t\t\t\t\t\t\t\t\t\t\r\n"
            "AT\t2\t0:00:00\tb.cmd\t(None)/1 15 \tSchedule Service Account\t\t\t\t\t\t\t\t\t\t\t\t"
            "\r\n"
            "AT\t3\t23:59:59\tc.cmd\tMo Tu We Th Fr Sa Su/(None)\tSchedule Service Account\t\t\t\t"
            "\t\t\t\t\t\t\t\t\r\n");
  EXPECT_EQ(run_.ProgressLines()[1], "1|65|NT01|Exporting scheduled jobs on 'NT01'...");
  EXPECT_EQ(run_.Output("Export.log"), std::string(kTime) + "\tNT01\tNT01\t\tJOBS\tSUCCESS\t\r\n");
}

TEST_F(ScheduledTasks, PreVistaFailuresEndTheListingAndKeepEarlierRows) {
  struct Case {
    std::string_view computer;
    std::string_view rows;
    std::string_view failure;
  } cases[] = {
      {"BAD01", "TASK\tA.job\t(None)\t\t\t\t\t\t\t\t\t\t\t259200\t32\t0\t(None)\tReady\r\n",
       "Unable to get information for task 'B.job' from '\\\\BAD01'. Access was denied."},
      {"BAD02", "",
       "Unable to get trigger information for task 'A.job' from '\\\\BAD02'. Unspecified error."},
      {"BAD03", "", "Unable to get scheduled jobs from '\\\\BAD03'. Access was denied."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.computer);
    Export(kPreVista, c.computer);
    const std::string out = run_.Output("tasks.txt");
    EXPECT_EQ(out.substr(out.find("\r\n") + 2), c.rows);
    EXPECT_EQ(run_.Output("Export.log"), std::string(kTime) + "\t" + std::string(c.computer) +
                                             "\t" + std::string(c.computer) + "\t\tJOBS\tERROR\t" +
                                             std::string(c.failure) + "\r\n");
    EXPECT_TRUE(run_.ProgressLines()[1].starts_with("1|88|" + std::string(c.computer) + "|"));
    EXPECT_TRUE(run_.ProgressLines()[1].ends_with("..." + std::string(c.failure)))
        << run_.ProgressLines()[1];
  }
}

constexpr std::string_view kVista =
    "[TasksNew]\nExportTasksNew=1\nTasksNewColumns=0,1,2,3,4,5,6,7,8,9,10,11,12,13,14\n";

TEST_F(ScheduledTasks, VistaTasksOfTheWholeTree) {
  Export(kVista, "VISTA");
  EXPECT_EQ(
      run_.Output("tasks_new.txt"),
      "TaskName\tTaskStatus\tTaskTriggerType\tTaskTriggerDetails\tTaskNextRun\tTaskLastRun\t"
      "TaskResult\tTaskPath\tTaskMissedRuns\tTaskAuthor\tTaskCreated\tTaskDescription\t"
      "TaskSource\tTaskVersion\tTaskPrincipal\r\n"
      // The 8-bit file has no arrow.
      "Backup\tRUNNING\tWeekly\tAt 08:00 AM every Monday, Friday of every week, starting 03/02/26\t"
      "3/6/2026 23:30:00\t3/5/2026\tThe operation completed successfully. (0x0)\t\\Backup\t2\t"
      "CASK\\ann\t2024-11-04T16:20:11\tLedger & orders ? share\tIT\t2.1\tCASK\\svc\r\n"
      "Inside\tREADY\t\t\tNEVER\tNEVER\tThe task has not yet run. (0x41303)\t"
      "\\Locked\\Inside\t0\t\t\t\t\t\t\r\n"
      // Hidden tasks are listed; two triggers are "Multiple"; a task whose item cannot be
      // got (Gone) is left out.
      "Multi\tREADY\tMultiple Triggers\t\tNEVER\tNEVER\tThe task has not yet run. (0x41303)\t"
      "\\Shop\\Multi\t0\t\t\t\t\t\tS-1-5-32-545\r\n"
      "Odd\tUNKNOWN\tOne Time\tError\tNEVER\tNEVER\t\t\\Shop\\Odd\t0\t\td\t\t\t\t\r\n"
      "Refused\tQUEUDED\t\t\tNEVER\tNEVER\t"
      "The operator or administrator has refused the request. (0x800710E0)\t\\Shop\\Refused\t0"
      "\t\t\t\t\t\t\r\n"
      "Last\tREADY\t\t\tNEVER\tNEVER\tThe task has not yet run. (0x41303)\t\\Zed\\Last\t0"
      "\t\t\t\t\t\t\r\n");
  EXPECT_EQ(run_.Output("Export.log"),
            std::string(kTime) + "\tVISTA\tVISTA\t\tTASKS\tSUCCESS\t\r\n");
}

TEST_F(ScheduledTasks, VistaFailures) {
  struct Case {
    std::string_view computer;
    std::string_view rows;
    std::string_view result;
    std::string_view failure;
  } cases[] = {
      // A folder that cannot be opened ends the walk without failing the target.
      {"LOCKED", "Backup\r\n", "SUCCESS", "Unable to get task folder '\\Locked' on 'LOCKED'."},
      {"LIST", "Backup\r\nInside\r\n", "ERROR", "Win32 HRESULT 0x80070005 => Access was denied."},
      {"ROOT", "", "ERROR",
       "Unable to get Task Scheduler sub-folder listing for '\\' on 'ROOT'. Win32 HRESULT "
       "0x80070005 => Access was denied."},
      {"NT01", "", "ERROR",
       "Unable to connect to Task Scheduler on 'NT01'. Win32 HRESULT 0x80070032 => The request "
       "is not supported."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.computer);
    Export("[TasksNew]\nExportTasksNew=1\nTasksNewColumns=0\n", c.computer);
    const std::string out = run_.Output("tasks_new.txt");
    EXPECT_EQ(out.substr(out.find("\r\n") + 2), c.rows);
    EXPECT_EQ(run_.Output("Export.log"),
              std::string(kTime) + "\t" + std::string(c.computer) + "\t" + std::string(c.computer) +
                  "\t\tTASKS\t" + std::string(c.result) + "\t" + std::string(c.failure) + "\r\n");
  }
}

// One task per trigger kind: its type text and sentence.
TEST_F(ScheduledTasks, TriggerSentences) {
  struct Case {
    std::string_view trigger;
    std::string_view type;
    std::string_view sentence;
  } cases[] = {
      {"<EventTrigger><Subscription>x</Subscription></EventTrigger>", "Event", "On an Event"},
      {"<TimeTrigger><StartBoundary>2026-03-07T21:05:00</StartBoundary></TimeTrigger>", "One Time",
       "At 09:05 PM on 03/07/26"},
      {"<CalendarTrigger><StartBoundary>2026-03-01T08:00:00</StartBoundary><ScheduleByDay>"
       "<DaysInterval>2</DaysInterval></ScheduleByDay></CalendarTrigger>",
       "Daily", "At 08:00 AM every 2 days"},
      {"<CalendarTrigger><StartBoundary>2026-03-01T08:00:00</StartBoundary><ScheduleByDay/>"
       "</CalendarTrigger>",
       "Daily", "At 08:00 AM every day"},
      {"<CalendarTrigger><StartBoundary>2026-03-01T08:00:00</StartBoundary><ScheduleByWeek>"
       "<DaysOfWeek><Sunday/><Saturday/></DaysOfWeek><WeeksInterval>3</WeeksInterval>"
       "</ScheduleByWeek></CalendarTrigger>",
       "Weekly", "At 08:00 AM every Sunday, Saturday every 3 weeks, starting 03/01/26"},
      {"<CalendarTrigger><StartBoundary>2026-03-01T08:00:00</StartBoundary><ScheduleByMonth>"
       "<DaysOfMonth><Day>1</Day><Day>31</Day><Day>Last</Day></DaysOfMonth><Months><January/>"
       "<December/></Months></ScheduleByMonth></CalendarTrigger>",
       "Monthly", "At 08:00 AM on day 1, 31, Last of January, December, starting 03/01/26"},
      {"<CalendarTrigger><StartBoundary>2026-03-01T08:00:00</StartBoundary>"
       "<ScheduleByMonthDayOfWeek><Weeks><Week>Last</Week></Weeks><DaysOfWeek><Monday/>"
       "</DaysOfWeek><Months><March/></Months></ScheduleByMonthDayOfWeek></CalendarTrigger>",
       "Monthly DOW", "Runs on the , Last Monday, each March, starting 03/01/26"},
      {"<CalendarTrigger><StartBoundary>2026-03-01T08:00:00</StartBoundary>"
       "<ScheduleByMonthDayOfWeek><Weeks><Week>1</Week><Week>3</Week></Weeks><DaysOfWeek>"
       "<Friday/></DaysOfWeek><Months><June/></Months></ScheduleByMonthDayOfWeek>"
       "</CalendarTrigger>",
       "Monthly DOW", "Runs on the First, Third Friday, each June, starting 03/01/26"},
      {"<IdleTrigger/>", "On Idle", "When computer is idle"},
      {"<RegistrationTrigger/>", "At task registration", "When the task is created or modified"},
      {"<BootTrigger/>", "At Startup", "At system startup"},
      {"<LogonTrigger/>", "At Log on", "At log on of any user"},
      {"<LogonTrigger><UserId>CASK\\ann</UserId></LogonTrigger>", "At Log on",
       "At log on of CASK\\ann"},
      {"<SessionStateChangeTrigger><StateChange>ConsoleConnect</StateChange>"
       "</SessionStateChangeTrigger>",
       "State Change", "On local connection to any user session"},
      {"<SessionStateChangeTrigger><StateChange>RemoteDisconnect</StateChange><UserId>ann"
       "</UserId></SessionStateChangeTrigger>",
       "State Change", "On remote disconnect from user session of ann"},
      {"<SessionStateChangeTrigger><StateChange>SessionLock</StateChange>"
       "</SessionStateChangeTrigger>",
       "State Change", "On workstation lock of any user"},
      {"<SessionStateChangeTrigger><StateChange>SessionUnlock</StateChange><UserId>ann"
       "</UserId></SessionStateChangeTrigger>",
       "State Change", "On workstation unlock of ann"},
      {"<WnfStateChangeTrigger/>", "", ""},
  };
  std::filesystem::remove_all(platform::Utf8Path(run_.dir().File("tasks/VISTA")));
  std::string expected = "TaskName\tTaskTriggerType\tTaskTriggerDetails\r\n";
  char name[8];
  int index = 0;
  for (const Case& c : cases) {
    std::snprintf(name, sizeof name, "T%02d", ++index);
    Write(name, Task(c.trigger));
    expected +=
        std::string(name) + "\t" + std::string(c.type) + "\t" + std::string(c.sentence) + "\r\n";
  }
  SetEstate(R"({"computers": [{"name": "VISTA",
                     "scheduled_tasks": {"task_folder": "@TASKS@"}}]})");
  Export("[TasksNew]\nExportTasksNew=1\nTasksNewColumns=0,2,3\n", "VISTA");
  EXPECT_EQ(run_.Output("tasks_new.txt"), expected);
}

}  // namespace
}  // namespace tabulon::testing
