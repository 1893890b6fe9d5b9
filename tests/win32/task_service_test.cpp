// Task Scheduler 2.0 through the Windows session: a task and a folder the
// test registers with the system's own ITaskService, read back through the
// session; and the conversion of getters' answers on hand-made values.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/session.h"
#include "platform/task_service.h"
#include "platform/win32/file_system.h"
#include "platform/win32/session.h"
#include "platform/win32/task_values.h"

#include "platform/win32/com_holders.h"

#include <taskschd.h>

namespace tabulon::platform {
namespace {

using win32::Bstr;
using win32::ComPtr;
using win32::Variant;

constexpr char kTaskXml[] =
    "<?xml version=\"1.0\"?>"
    "<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">"
    "<RegistrationInfo><Author>Tabulon \xC3\x9C</Author>"
    "<Description>Read back by the session</Description></RegistrationInfo>"
    "<Triggers><CalendarTrigger><StartBoundary>2030-01-02T03:04:05</StartBoundary>"
    "<ScheduleByDay><DaysInterval>2</DaysInterval></ScheduleByDay></CalendarTrigger></Triggers>"
    "<Actions><Exec><Command>cmd.exe</Command></Exec></Actions></Task>";

// Registers the test's folder and task on this computer with the system's
// ITaskService (on the test's thread, in the multi-threaded apartment) and
// deletes them afterwards.
class TaskServiceLive : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    ASSERT_EQ(::CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_ITaskService, service_.put_void()),
              S_OK);
    Variant none;
    ASSERT_EQ(service_->Connect(none.get(), none.get(), none.get(), none.get()), S_OK);
    const Bstr root_path("\\");
    ASSERT_EQ(service_->GetFolder(root_path.get(), root_.put()), S_OK);
    ComPtr<ITaskFolder> created;
    const Bstr folder(kFolder);
    Variant sddl;
    root_->CreateFolder(folder.get(), sddl.get(), created.put());
    const Bstr xml(kTaskXml);
    const Bstr name(kTask);
    ASSERT_EQ(root_->RegisterTask(name.get(), xml.get(), TASK_CREATE_OR_UPDATE, none.get(),
                                  none.get(), TASK_LOGON_NONE, none.get(), task_.put()),
              S_OK);
  }
  void TearDown() override {
    if (root_) {
      const Bstr name(kTask);
      root_->DeleteTask(name.get(), 0);
      const Bstr folder(kFolder);
      root_->DeleteFolder(folder.get(), 0);
    }
    task_.reset();
    root_.reset();
    service_.reset();
    ::CoUninitialize();
  }

  static constexpr char kTask[] = "TabulonReadBack";
  static constexpr char kFolder[] = "TabulonFolder";
  ComPtr<ITaskService> service_;
  ComPtr<ITaskFolder> root_;
  ComPtr<IRegisteredTask> task_;
  Win32FileSystem files_;
  win32::Win32Session session_{"\\\\.", SessionOptions{}, files_};
};

TEST_F(TaskServiceLive, ReadsBackTheRegisteredTaskAndFolder) {
  TaskService& tasks = session_.task_service();
  const TaskServiceResult created = tasks.CreateTaskService();
  ASSERT_EQ(created.status, 0u);
  ASSERT_EQ(tasks.Connect(created.object, ""), 0u);

  const TaskFolderResult root = tasks.GetFolder(created.object, "\\");
  ASSERT_EQ(root.status, 0u);
  EXPECT_EQ(root.path, "\\");
  const TaskFolderListResult folders = tasks.GetFolders(created.object, "\\", 0);
  ASSERT_EQ(folders.status, 0u);
  bool found_folder = false;
  for (const Property<std::string>& path : folders.paths) {
    EXPECT_TRUE(path.ok());
    found_folder = found_folder || path.value == "\\TabulonFolder";
  }
  EXPECT_TRUE(found_folder);

  // Wine's ITaskFolder::GetTasks is a stub: its failure must come through
  // as a failure, never as an empty list.
  const RegisteredTaskListResult listed = tasks.GetTasks(created.object, "\\", kTaskEnumHidden);
  if (listed.status == static_cast<win::Status>(E_NOTIMPL)) {
    EXPECT_TRUE(listed.tasks.empty());
  } else {
    ASSERT_EQ(listed.status, 0u);
    EXPECT_TRUE(std::any_of(listed.tasks.begin(), listed.tasks.end(),
                            [](const RegisteredTask& t) { return t.name.value == kTask; }));
  }
  tasks.Release(created.object);
}

// What GetTasks reads of each task, on the task the system registered.
TEST_F(TaskServiceLive, ReadsTheRegisteredTasksGettersAndDefinition) {
  const RegisteredTask read = win32::ReadRegisteredTask(task_.get());
  const RegisteredTask* const task = &read;
  EXPECT_EQ(task->name.value, kTask);
  EXPECT_EQ(task->item_status, 0u);
  EXPECT_EQ(task->path.value, "\\TabulonReadBack");
  ASSERT_TRUE(task->definition.ok());
  const TaskDefinition& definition = task->definition.value;
  ASSERT_TRUE(definition.registration_info.ok());
  EXPECT_EQ(definition.registration_info.value.author.value, "Tabulon \xC3\x9C");
  EXPECT_EQ(definition.registration_info.value.description.value, "Read back by the session");
  // Wine's trigger collection is a stub (get_Count fails): that must stay
  // a failure of the triggers, not an empty list.
  if (definition.triggers.status == static_cast<win::Status>(E_NOTIMPL)) {
    EXPECT_TRUE(definition.triggers.value.empty());
    return;
  }
  ASSERT_EQ(definition.triggers.status, 0u);
  ASSERT_EQ(definition.triggers.value.size(), 1u);
  const TaskTrigger& trigger = definition.triggers.value[0];
  EXPECT_EQ(trigger.type.value, kTaskTriggerDaily);
  EXPECT_EQ(trigger.start_boundary.value, "2030-01-02T03:04:05");
  EXPECT_EQ(trigger.typed_status, 0u);
  EXPECT_EQ(trigger.days_interval.value, 2);
}

TEST_F(TaskServiceLive, RefusesWhatIsNotThere) {
  TaskService& tasks = session_.task_service();
  EXPECT_EQ(tasks.GetFolder(77, "\\").status, static_cast<win::Status>(E_INVALIDARG));
  const TaskServiceResult created = tasks.CreateTaskService();
  ASSERT_EQ(tasks.Connect(created.object, ""), 0u);
  EXPECT_NE(tasks.GetFolder(created.object, "\\NoSuchFolder").status, 0u);
  EXPECT_NE(tasks.GetTasks(created.object, "\\NoSuchFolder", 0).status, 0u);
  tasks.Release(created.object);
  EXPECT_EQ(tasks.GetTasks(created.object, "\\", 0).status, static_cast<win::Status>(E_INVALIDARG));
}

TEST(TaskValues, ConvertsTextsAndTimesAsTheGettersAnswer) {
  EXPECT_EQ(win32::BstrProperty(S_OK, nullptr).value, "");
  EXPECT_EQ(win32::BstrProperty(E_ACCESSDENIED, nullptr).status,
            static_cast<win::Status>(E_ACCESSDENIED));
  const BSTR with_nul = ::SysAllocStringLen(L"a\0b", 3);
  EXPECT_EQ(win32::BstrProperty(S_OK, with_nul).value, std::string("a\0b", 3));
  ::SysFreeString(with_nul);
  const BSTR too_long = ::SysAllocStringLen(nullptr, win32::kMaxTaskTextChars + 1);
  EXPECT_EQ(win32::BstrProperty(S_OK, too_long).status, win::Status{ERROR_INVALID_DATA});
  ::SysFreeString(too_long);

  // A task-allocator string is read no further than the bound past its end.
  std::wstring unterminated(win32::kMaxTaskTextChars + 1, L'x');
  EXPECT_EQ(win32::CoTaskTextProperty(S_OK, unterminated.c_str()).status,
            win::Status{ERROR_INVALID_DATA});
  EXPECT_EQ(win32::CoTaskTextProperty(S_OK, L"\u00e9t\u00e9").value, "\xC3\xA9t\xC3\xA9");

  SYSTEMTIME none{};
  const Property<SystemTime> has_not_run =
      win32::SystemTimeProperty(SCHED_S_TASK_HAS_NOT_RUN, none);
  EXPECT_TRUE(has_not_run.ok());
  EXPECT_EQ(has_not_run.value.day, 0);
  const SYSTEMTIME when{2024, 2, 4, 29, 13, 14, 15, 16};
  EXPECT_EQ(win32::SystemTimeProperty(S_OK, when).value,
            (SystemTime{2024, 2, 4, 29, 13, 14, 15, 16}));
  EXPECT_EQ(win32::SystemTimeProperty(E_FAIL, when).status, static_cast<win::Status>(E_FAIL));
}

}  // namespace
}  // namespace tabulon::platform
