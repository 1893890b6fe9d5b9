#include "platform/win32/task_service.h"
#include "platform/win32/task_values.h"

#include "platform/win32/com_holders.h"
#include "platform/win32/task_triggers.h"

#include <string>
#include <type_traits>
#include <utility>

namespace tabulon::platform::win32 {
namespace {

constexpr int kService = 1;

// A getter answering a number or an enumeration, as T.
template <typename T, typename I, typename Raw>
Property<T> Get(I* object, HRESULT (STDMETHODCALLTYPE I::*getter)(Raw*)) {
  Raw raw{};
  const HRESULT hr = (object->*getter)(&raw);
  if (FAILED(hr)) return FailedProperty<T>(StatusOf(hr));
  Property<T> out;
  if constexpr (std::is_same_v<Raw, VARIANT_BOOL>) {
    out.value = raw != VARIANT_FALSE;
  } else {
    out.value = static_cast<T>(raw);
  }
  return out;
}

template <typename I>
Property<std::string> GetText(I* object, HRESULT (STDMETHODCALLTYPE I::*getter)(BSTR*)) {
  Bstr value;
  const HRESULT hr = (object->*getter)(value.put());
  return BstrProperty(hr, value.get());
}

// A getter answering an interface.
template <typename Out, typename I>
HRESULT GetInterface(I* object, HRESULT (STDMETHODCALLTYPE I::*getter)(Out**), ComPtr<Out>& out) {
  HRESULT hr = (object->*getter)(out.put());
  if (SUCCEEDED(hr) && !out) hr = E_POINTER;
  return hr;
}

// get_Count of a collection, refused beyond `bound`.
template <typename C>
HRESULT CountOf(C* collection, long bound, long& count) {
  LONG raw = 0;
  const HRESULT hr = collection->get_Count(&raw);
  if (FAILED(hr)) return hr;
  if (raw < 0 || raw > bound) return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
  count = raw;
  return S_OK;
}

win::Status StatusOfCall(HRESULT hr) {
  return hr == HRESULT_FROM_WIN32(ERROR_INVALID_DATA) ? win::Status{ERROR_INVALID_DATA}
                                                      : StatusOf(hr);
}

VARIANT IndexVariant(long index) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = index;
  return v;
}

TaskRegistrationInfo RegistrationOf(IRegistrationInfo* info) {
  TaskRegistrationInfo out;
  out.author = GetText(info, &IRegistrationInfo::get_Author);
  out.date = GetText(info, &IRegistrationInfo::get_Date);
  out.description = GetText(info, &IRegistrationInfo::get_Description);
  out.source = GetText(info, &IRegistrationInfo::get_Source);
  out.version = GetText(info, &IRegistrationInfo::get_Version);
  return out;
}

// The typed form of a trigger of the types that have one.
void ReadTypedForm(ITrigger* trigger, TaskTrigger& out) {
  const auto typed = [&](REFIID iid, auto& as) {
    const HRESULT hr = trigger->QueryInterface(iid, as.put_void());
    out.typed_status = SUCCEEDED(hr) ? win::Status{ERROR_SUCCESS} : StatusOf(hr);
    return SUCCEEDED(hr) && as;
  };
  switch (out.type.value) {
    case kTaskTriggerDaily: {
      ComPtr<IDailyTrigger> daily;
      if (typed(IID_IDailyTrigger, daily)) {
        out.days_interval = Get<std::int16_t>(daily.get(), &IDailyTrigger::get_DaysInterval);
      }
      break;
    }
    case kTaskTriggerWeekly: {
      ComPtr<WeeklyTrigger> weekly;
      if (typed(kIidWeeklyTrigger, weekly)) {
        out.weeks_interval = Get<std::int16_t>(weekly.get(), &WeeklyTrigger::get_WeeksInterval);
        out.days_of_week = Get<std::uint16_t>(weekly.get(), &WeeklyTrigger::get_DaysOfWeek);
      }
      break;
    }
    case kTaskTriggerMonthly: {
      ComPtr<MonthlyTrigger> monthly;
      if (typed(kIidMonthlyTrigger, monthly)) {
        out.days_of_month = Get<std::uint32_t>(monthly.get(), &MonthlyTrigger::get_DaysOfMonth);
        out.months_of_year = Get<std::uint16_t>(monthly.get(), &MonthlyTrigger::get_MonthsOfYear);
        out.run_on_last_day_of_month =
            Get<bool>(monthly.get(), &MonthlyTrigger::get_RunOnLastDayOfMonth);
      }
      break;
    }
    case kTaskTriggerMonthlyDow: {
      ComPtr<MonthlyDowTrigger> monthly;
      if (typed(kIidMonthlyDowTrigger, monthly)) {
        out.days_of_week = Get<std::uint16_t>(monthly.get(), &MonthlyDowTrigger::get_DaysOfWeek);
        out.weeks_of_month =
            Get<std::uint16_t>(monthly.get(), &MonthlyDowTrigger::get_WeeksOfMonth);
        out.months_of_year =
            Get<std::uint16_t>(monthly.get(), &MonthlyDowTrigger::get_MonthsOfYear);
        out.run_on_last_week_of_month =
            Get<bool>(monthly.get(), &MonthlyDowTrigger::get_RunOnLastWeekOfMonth);
      }
      break;
    }
    case kTaskTriggerLogon: {
      ComPtr<LogonTrigger> logon;
      if (typed(kIidLogonTrigger, logon)) {
        out.user_id = GetText(logon.get(), &LogonTrigger::get_UserId);
      }
      break;
    }
    case kTaskTriggerSessionStateChange: {
      ComPtr<SessionStateChangeTrigger> change;
      if (typed(kIidSessionStateChangeTrigger, change)) {
        out.user_id = GetText(change.get(), &SessionStateChangeTrigger::get_UserId);
        out.state_change =
            Get<std::uint32_t>(change.get(), &SessionStateChangeTrigger::get_StateChange);
      }
      break;
    }
    default:
      break;
  }
}

Property<std::vector<TaskTrigger>> TriggersOf(ITaskDefinition* definition) {
  ComPtr<ITriggerCollection> triggers;
  long count = 0;
  HRESULT hr = GetInterface(definition, &ITaskDefinition::get_Triggers, triggers);
  if (SUCCEEDED(hr)) hr = CountOf(triggers.get(), kMaxTaskTriggers, count);
  if (FAILED(hr)) return FailedProperty<std::vector<TaskTrigger>>(StatusOfCall(hr));
  Property<std::vector<TaskTrigger>> out;
  for (long i = 1; i <= count; ++i) {
    TaskTrigger& t = out.value.emplace_back();
    ComPtr<ITrigger> trigger;
    hr = triggers->get_Item(i, trigger.put());
    if (SUCCEEDED(hr) && !trigger) hr = E_POINTER;
    if (FAILED(hr)) {
      t.item_status = StatusOf(hr);
      continue;
    }
    t.type = Get<std::uint32_t>(trigger.get(), &ITrigger::get_Type);
    t.enabled = Get<bool>(trigger.get(), &ITrigger::get_Enabled);
    t.start_boundary = GetText(trigger.get(), &ITrigger::get_StartBoundary);
    if (t.type.ok()) ReadTypedForm(trigger.get(), t);
  }
  return out;
}

Property<TaskDefinition> DefinitionOf(IRegisteredTask* task) {
  ComPtr<ITaskDefinition> definition;
  const HRESULT hr = GetInterface(task, &IRegisteredTask::get_Definition, definition);
  if (FAILED(hr)) return FailedProperty<TaskDefinition>(StatusOf(hr));
  Property<TaskDefinition> out;
  ComPtr<IRegistrationInfo> info;
  if (const HRESULT got =
          GetInterface(definition.get(), &ITaskDefinition::get_RegistrationInfo, info);
      FAILED(got)) {
    out.value.registration_info = FailedProperty<TaskRegistrationInfo>(StatusOf(got));
  } else {
    out.value.registration_info.value = RegistrationOf(info.get());
  }
  ComPtr<IPrincipal> principal;
  if (const HRESULT got =
          GetInterface(definition.get(), &ITaskDefinition::get_Principal, principal);
      FAILED(got)) {
    out.value.principal = FailedProperty<TaskPrincipal>(StatusOf(got));
  } else {
    out.value.principal.value.group_id = GetText(principal.get(), &IPrincipal::get_GroupId);
    out.value.principal.value.user_id = GetText(principal.get(), &IPrincipal::get_UserId);
  }
  out.value.triggers = TriggersOf(definition.get());
  return out;
}

}  // namespace

RegisteredTask ReadRegisteredTask(IRegisteredTask* task) {
  RegisteredTask out;
  out.name = GetText(task, &IRegisteredTask::get_Name);
  out.state = Get<std::uint32_t>(task, &IRegisteredTask::get_State);
  out.next_run_time = Get<double>(task, &IRegisteredTask::get_NextRunTime);
  out.last_run_time = Get<double>(task, &IRegisteredTask::get_LastRunTime);
  out.last_task_result = Get<win::Status>(task, &IRegisteredTask::get_LastTaskResult);
  out.path = GetText(task, &IRegisteredTask::get_Path);
  out.number_of_missed_runs = Get<std::int32_t>(task, &IRegisteredTask::get_NumberOfMissedRuns);
  out.definition = DefinitionOf(task);
  return out;
}

namespace {

// The connected service of `id` and its folder at `path`.
HRESULT OpenFolder(ComObjects& objects, TaskServiceObject id, const std::string& path,
                   ComPtr<ITaskFolder>& folder) {
  const ComPtr<ITaskService> service(static_cast<ITaskService*>(objects.Acquire(id, kService)));
  if (!service) return E_INVALIDARG;
  const Bstr name(path);
  HRESULT hr = service->GetFolder(name.get(), folder.put());
  if (SUCCEEDED(hr) && !folder) hr = E_POINTER;
  return hr;
}

}  // namespace

Win32TaskService::Win32TaskService(BoundedCalls& calls)
    : calls_(calls), objects_(std::make_shared<ComObjects>()) {}

Win32TaskService::~Win32TaskService() {
  calls_.Release([objects = objects_] { objects->ReleaseAll(); });
}

TaskServiceResult Win32TaskService::CreateTaskService() {
  return calls_.Run<TaskServiceResult>([objects = objects_] {
    TaskServiceResult result;
    ComPtr<ITaskService> service;
    const HRESULT hr = ::CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_ITaskService, service.put_void());
    result.status = StatusOf(hr);
    if (SUCCEEDED(hr)) result.object = objects->Add(service.detach(), kService);
    return result;
  });
}

win::Status Win32TaskService::Connect(TaskServiceObject service, std::string_view server_name) {
  return calls_.Run<win::Status>([objects = objects_, service, server = std::string(server_name)] {
    const ComPtr<ITaskService> owner(
        static_cast<ITaskService*>(objects->Acquire(service, kService)));
    if (!owner) return StatusOf(E_INVALIDARG);
    // No user, domain or password: the call goes as the thread's identity.
    Variant computer;
    Variant none;
    if (!server.empty()) {
      const std::wstring name = ToWide(server);
      VARIANT* v = computer.put();
      v->bstrVal = ::SysAllocStringLen(name.data(), static_cast<UINT>(name.size()));
      if (v->bstrVal == nullptr) return StatusOf(E_OUTOFMEMORY);
      v->vt = VT_BSTR;
    }
    return StatusOf(owner->Connect(computer.get(), none.get(), none.get(), none.get()));
  });
}

TaskFolderResult Win32TaskService::GetFolder(TaskServiceObject service, std::string_view path) {
  return calls_.Run<TaskFolderResult>([objects = objects_, service, path = std::string(path)] {
    TaskFolderResult result;
    ComPtr<ITaskFolder> folder;
    HRESULT hr = OpenFolder(*objects, service, path, folder);
    if (FAILED(hr)) {
      result.status = StatusOf(hr);
      return result;
    }
    const Property<std::string> got = GetText(folder.get(), &ITaskFolder::get_Path);
    result.status = got.status;
    result.path = got.value;
    return result;
  });
}

TaskFolderListResult Win32TaskService::GetFolders(TaskServiceObject service,
                                                  std::string_view folder_path,
                                                  std::uint32_t flags) {
  return calls_.Run<TaskFolderListResult>(
      [objects = objects_, service, path = std::string(folder_path), flags] {
        TaskFolderListResult result;
        ComPtr<ITaskFolder> folder;
        ComPtr<ITaskFolderCollection> folders;
        long count = 0;
        HRESULT hr = OpenFolder(*objects, service, path, folder);
        if (SUCCEEDED(hr)) hr = folder->GetFolders(static_cast<LONG>(flags), folders.put());
        if (SUCCEEDED(hr) && !folders) hr = E_POINTER;
        if (SUCCEEDED(hr)) hr = CountOf(folders.get(), kMaxTaskItems, count);
        result.status = StatusOfCall(hr);
        if (FAILED(hr)) return result;
        for (long i = 1; i <= count; ++i) {
          ComPtr<ITaskFolder> item;
          HRESULT got = folders->get_Item(IndexVariant(i), item.put());
          if (SUCCEEDED(got) && !item) got = E_POINTER;
          result.paths.push_back(FAILED(got) ? FailedProperty<std::string>(StatusOf(got))
                                             : GetText(item.get(), &ITaskFolder::get_Path));
        }
        return result;
      });
}

RegisteredTaskListResult Win32TaskService::GetTasks(TaskServiceObject service,
                                                    std::string_view folder_path,
                                                    std::uint32_t flags) {
  return calls_.Run<RegisteredTaskListResult>(
      [objects = objects_, service, path = std::string(folder_path), flags] {
        RegisteredTaskListResult result;
        ComPtr<ITaskFolder> folder;
        ComPtr<IRegisteredTaskCollection> tasks;
        long count = 0;
        HRESULT hr = OpenFolder(*objects, service, path, folder);
        if (SUCCEEDED(hr)) hr = folder->GetTasks(static_cast<LONG>(flags), tasks.put());
        if (SUCCEEDED(hr) && !tasks) hr = E_POINTER;
        if (SUCCEEDED(hr)) hr = CountOf(tasks.get(), kMaxTaskItems, count);
        result.status = StatusOfCall(hr);
        if (FAILED(hr)) return result;
        for (long i = 1; i <= count; ++i) {
          ComPtr<IRegisteredTask> item;
          HRESULT got = tasks->get_Item(IndexVariant(i), item.put());
          if (SUCCEEDED(got) && !item) got = E_POINTER;
          if (FAILED(got)) {
            result.tasks.emplace_back().item_status = StatusOf(got);
          } else {
            result.tasks.push_back(ReadRegisteredTask(item.get()));
          }
        }
        return result;
      });
}

void Win32TaskService::Release(TaskServiceObject service) {
  calls_.Release([objects = objects_, service] { objects->Remove(service); });
}

}  // namespace tabulon::platform::win32
