#include "platform/win32/task_scheduler.h"
#include "platform/win32/task_values.h"

#include "platform/win32/com_holders.h"

#include <mstask.h>

#include <algorithm>
#include <string>

namespace tabulon::platform::win32 {
namespace {

enum Kind : int { kScheduler = 1, kEnumeration };

template <typename T>
ComPtr<T> Acquire(ComObjects& objects, TaskSchedulerObject id, Kind kind) {
  return ComPtr<T>(static_cast<T*>(objects.Acquire(id, kind)));
}

template <typename T, typename Raw, typename Call>
Property<T> Number(Call call) {
  Raw raw{};
  const HRESULT hr = call(&raw);
  if (FAILED(hr)) return FailedProperty<T>(StatusOf(hr));
  Property<T> out;
  out.value = static_cast<T>(raw);
  return out;
}

template <typename Call>
Property<std::string> Text(Call call) {
  CoTaskString text;
  const HRESULT hr = call(text.put());
  return CoTaskTextProperty(hr, text.get());
}

template <typename Call>
Property<SystemTime> Time(Call call) {
  SYSTEMTIME time{};
  const HRESULT hr = call(&time);
  return SystemTimeProperty(hr, time);
}

WorkItem WorkItemOf(ITask* task) {
  WorkItem out;
  out.next_run_time = Time([&](SYSTEMTIME* t) { return task->GetNextRunTime(t); });
  out.application_name = Text([&](LPWSTR* s) { return task->GetApplicationName(s); });
  out.account_information = Text([&](LPWSTR* s) { return task->GetAccountInformation(s); });
  out.flags = Number<std::uint32_t, DWORD>([&](DWORD* v) { return task->GetFlags(v); });
  WORD idle = 0;
  WORD deadline = 0;
  if (const HRESULT hr = task->GetIdleWait(&idle, &deadline); FAILED(hr)) {
    out.idle_wait = FailedProperty<IdleWait>(StatusOf(hr));
  } else {
    out.idle_wait.value = IdleWait{idle, deadline};
  }
  out.working_directory = Text([&](LPWSTR* s) { return task->GetWorkingDirectory(s); });
  out.parameters = Text([&](LPWSTR* s) { return task->GetParameters(s); });
  out.comment = Text([&](LPWSTR* s) { return task->GetComment(s); });
  out.creator = Text([&](LPWSTR* s) { return task->GetCreator(s); });
  out.max_run_time = Number<std::uint32_t, DWORD>([&](DWORD* v) { return task->GetMaxRunTime(v); });
  out.priority = Number<std::uint32_t, DWORD>([&](DWORD* v) { return task->GetPriority(v); });
  out.exit_code = Number<std::uint32_t, DWORD>([&](DWORD* v) { return task->GetExitCode(v); });
  out.most_recent_run_time = Time([&](SYSTEMTIME* t) { return task->GetMostRecentRunTime(t); });
  out.status = Number<win::Status, HRESULT>([&](HRESULT* v) { return task->GetStatus(v); });
  out.trigger_count =
      Number<std::uint16_t, WORD>([&](WORD* v) { return task->GetTriggerCount(v); });
  if (out.trigger_count.ok()) {
    const WORD count = static_cast<WORD>(std::min<long>(out.trigger_count.value, kMaxTaskTriggers));
    for (WORD i = 0; i < count; ++i) {
      out.trigger_strings.push_back(Text([&](LPWSTR* s) { return task->GetTriggerString(i, s); }));
    }
  }
  return out;
}

// Frees what IEnumWorkItems::Next allocated, whatever path is taken.
struct NameArray {
  LPWSTR* names = nullptr;
  ULONG count = 0;
  ~NameArray() {
    if (names == nullptr) return;
    for (ULONG i = 0; i < count; ++i) ::CoTaskMemFree(names[i]);
    ::CoTaskMemFree(names);
  }
};

}  // namespace

Win32TaskScheduler::Win32TaskScheduler(BoundedCalls& calls)
    : calls_(calls), objects_(std::make_shared<ComObjects>()) {}

Win32TaskScheduler::~Win32TaskScheduler() {
  calls_.Release([objects = objects_] { objects->ReleaseAll(); });
}

TaskSchedulerObjectResult Win32TaskScheduler::CreateTaskScheduler() {
  return calls_.Run<TaskSchedulerObjectResult>([objects = objects_] {
    TaskSchedulerObjectResult result;
    ComPtr<ITaskScheduler> scheduler;
    const HRESULT hr = ::CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_ITaskScheduler, scheduler.put_void());
    result.status = StatusOf(hr);
    if (SUCCEEDED(hr)) result.object = objects->Add(scheduler.detach(), kScheduler);
    return result;
  });
}

win::Status Win32TaskScheduler::SetTargetComputer(TaskSchedulerObject scheduler,
                                                  std::string_view computer) {
  return calls_.Run<win::Status>([objects = objects_, scheduler, computer = std::string(computer)] {
    const ComPtr<ITaskScheduler> owner = Acquire<ITaskScheduler>(*objects, scheduler, kScheduler);
    if (!owner) return StatusOf(E_INVALIDARG);
    const std::wstring name = ToWide(computer);
    return StatusOf(owner->SetTargetComputer(name.empty() ? nullptr : name.c_str()));
  });
}

TaskSchedulerObjectResult Win32TaskScheduler::Enum(TaskSchedulerObject scheduler) {
  return calls_.Run<TaskSchedulerObjectResult>([objects = objects_, scheduler] {
    TaskSchedulerObjectResult result;
    const ComPtr<ITaskScheduler> owner = Acquire<ITaskScheduler>(*objects, scheduler, kScheduler);
    if (!owner) {
      result.status = StatusOf(E_INVALIDARG);
      return result;
    }
    ComPtr<IEnumWorkItems> items;
    HRESULT hr = owner->Enum(items.put());
    if (SUCCEEDED(hr) && !items) hr = E_POINTER;
    result.status = StatusOf(hr);
    if (SUCCEEDED(hr)) result.object = objects->Add(items.detach(), kEnumeration);
    return result;
  });
}

win::Status Win32TaskScheduler::Reset(TaskSchedulerObject enumeration) {
  return calls_.Run<win::Status>([objects = objects_, enumeration] {
    const ComPtr<IEnumWorkItems> items =
        Acquire<IEnumWorkItems>(*objects, enumeration, kEnumeration);
    return StatusOf(items ? items->Reset() : E_INVALIDARG);
  });
}

WorkItemNamesResult Win32TaskScheduler::Next(TaskSchedulerObject enumeration, std::uint32_t count) {
  return calls_.Run<WorkItemNamesResult>([objects = objects_, enumeration, count] {
    WorkItemNamesResult result;
    const ComPtr<IEnumWorkItems> items =
        Acquire<IEnumWorkItems>(*objects, enumeration, kEnumeration);
    if (!items) {
      result.status = StatusOf(E_INVALIDARG);
      return result;
    }
    const ULONG wanted = std::min(count, kMaxWorkItemNames);
    NameArray names;
    ULONG fetched = 0;
    const HRESULT hr = items->Next(wanted, &names.names, &fetched);
    // Never more names than asked for: the array holds no more.
    names.count = std::min(fetched, wanted);
    if (FAILED(hr)) {
      result.status = StatusOf(hr);
      return result;
    }
    if (fetched > wanted || (fetched != 0 && names.names == nullptr)) {
      result.status = ERROR_INVALID_DATA;
      return result;
    }
    for (ULONG i = 0; i < names.count; ++i) {
      const Property<std::string> name = CoTaskTextProperty(S_OK, names.names[i]);
      if (!name.ok()) {
        result.status = name.status;
        result.names.clear();
        return result;
      }
      result.names.push_back(name.value);
    }
    return result;
  });
}

ActivateResult Win32TaskScheduler::Activate(TaskSchedulerObject scheduler, std::string_view name) {
  return calls_.Run<ActivateResult>([objects = objects_, scheduler, name = std::string(name)] {
    ActivateResult result;
    const ComPtr<ITaskScheduler> owner = Acquire<ITaskScheduler>(*objects, scheduler, kScheduler);
    if (!owner) {
      result.status = StatusOf(E_INVALIDARG);
      return result;
    }
    const std::wstring wide = ToWide(name);
    ComPtr<ITask> task;
    HRESULT hr = owner->Activate(wide.c_str(), IID_ITask, reinterpret_cast<IUnknown**>(task.put()));
    if (SUCCEEDED(hr) && !task) hr = E_POINTER;
    result.status = StatusOf(hr);
    if (SUCCEEDED(hr)) result.task = WorkItemOf(task.get());
    return result;
  });
}

void Win32TaskScheduler::Release(TaskSchedulerObject object) {
  calls_.Release([objects = objects_, object] { objects->Remove(object); });
}

}  // namespace tabulon::platform::win32
