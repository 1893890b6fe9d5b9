// Task Scheduler 1.0 through the Windows session, on a work item the test
// saves with the system's own ITaskScheduler.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/session.h"
#include "platform/task_scheduler.h"
#include "platform/win32/file_system.h"
#include "platform/win32/session.h"

#include "platform/win32/com_holders.h"

#include <mstask.h>

namespace tabulon::platform {
namespace {

using win32::ComPtr;

class TaskSchedulerLive : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    ASSERT_EQ(::CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_ITaskScheduler, scheduler_.put_void()),
              S_OK);
    scheduler_->Delete(kItem);
    ComPtr<ITask> task;
    ASSERT_EQ(scheduler_->NewWorkItem(kItem, CLSID_CTask, IID_ITask,
                                      reinterpret_cast<IUnknown**>(task.put())),
              S_OK);
    ASSERT_EQ(task->SetApplicationName(L"C:\\windows\\notepad.exe"), S_OK);
    ASSERT_EQ(task->SetComment(L"Read back \u00fcber"), S_OK);
    ComPtr<IPersistFile> file;
    ASSERT_EQ(task.As(IID_IPersistFile, file), S_OK);
    ASSERT_EQ(file->Save(nullptr, TRUE), S_OK);
  }
  void TearDown() override {
    if (scheduler_) scheduler_->Delete(kItem);
    scheduler_.reset();
    ::CoUninitialize();
  }

  static constexpr const wchar_t* kItem = L"TabulonReadBack";
  ComPtr<ITaskScheduler> scheduler_;
  Win32FileSystem files_;
  win32::Win32Session session_{"\\\\.", SessionOptions{}, files_};
};

TEST_F(TaskSchedulerLive, EnumeratesAndActivatesTheSavedWorkItem) {
  TaskScheduler& ts = session_.task_scheduler();
  wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  ASSERT_TRUE(::GetComputerNameW(computer, &size));
  const TaskSchedulerObjectResult created = ts.CreateTaskScheduler();
  ASSERT_EQ(created.status, 0u);
  ASSERT_EQ(ts.SetTargetComputer(created.object, "\\\\" + win32::ToUtf8(computer)), 0u);
  const TaskSchedulerObjectResult items = ts.Enum(created.object);
  ASSERT_EQ(items.status, 0u);
  ASSERT_EQ(ts.Reset(items.object), 0u);
  std::vector<std::string> names;
  for (int batch = 0; batch < 100; ++batch) {
    const WorkItemNamesResult next = ts.Next(items.object, 2);
    ASSERT_EQ(next.status, 0u);
    ASSERT_LE(next.names.size(), 2u);
    if (next.names.empty()) break;
    names.insert(names.end(), next.names.begin(), next.names.end());
  }
  EXPECT_NE(std::find(names.begin(), names.end(), "TabulonReadBack.job"), names.end());

  // Windows activates a work item by its enumerated name or without the
  // ".job"; Wine adds ".job" to whatever it is given, so only the bare
  // name works here.
  const ActivateResult activated = ts.Activate(created.object, "TabulonReadBack");
  ASSERT_EQ(activated.status, 0u);
  EXPECT_EQ(activated.task.application_name.value, "C:\\windows\\notepad.exe");
  EXPECT_EQ(activated.task.comment.value,
            "Read back \xC3\xBC"
            "ber");
  // Every trigger's string is asked for (Wine gives a new item one trigger
  // and fails its string, which must stay that trigger's failure).
  ASSERT_TRUE(activated.task.trigger_count.ok());
  const std::uint16_t triggers = activated.task.trigger_count.value;
  EXPECT_EQ(activated.task.trigger_strings.size(), triggers);
  EXPECT_EQ(activated.task.TriggerString(triggers).status,
            static_cast<win::Status>(SCHED_E_TRIGGER_NOT_FOUND));

  EXPECT_NE(ts.Activate(created.object, "NoSuchItem.job").status, 0u);
  // An enumeration is no scheduler.
  EXPECT_EQ(ts.Activate(items.object, "TabulonReadBack").status,
            static_cast<win::Status>(E_INVALIDARG));
  ts.Release(items.object);
  ts.Release(created.object);
}

}  // namespace
}  // namespace tabulon::platform
