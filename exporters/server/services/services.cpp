#include "exporters/server/services/services.h"

#include "engine/error_text.h"
#include "engine/messages.h"
#include "engine/row.h"
#include "engine/setting_values.h"
#include "exporters/toolkit/export_progress.h"
#include "exporters/toolkit/handle_guard.h"
#include "exporters/toolkit/security.h"
#include "exporters/toolkit/simple_unit.h"
#include "format/special_values.h"
#include "platform/text.h"

namespace tabulon {
namespace {

constexpr std::uint32_t kConfigBufferSize = 512;

enum Column : std::uint32_t {
  kName = 0,
  kDescription = 1,
  kState = 2,
  kType = 3,
  kStartup = 4,
  kAccount = 5,
  kDepends = 6,
  kBinary = 7,
};

std::string_view StateText(std::uint32_t state) {
  static constexpr std::string_view kStates[] = {
      "Stopped", "Starting", "Stopping", "Running", "Continue Pending", "Pause Pending", "Paused"};
  if (state >= 1 && state <= 7) return kStates[state - 1];
  return format::kUnknown;
}

std::string_view TypeText(std::uint32_t type) {
  if (type & platform::kServiceKernelDriver) return "Driver (Device)";
  if (type & platform::kServiceFileSystemDriver) return "Driver (File System)";
  if (type & platform::kServiceWin32OwnProcess) return "Service (Own Process)";
  if (type & platform::kServiceWin32ShareProcess) return "Service (Shared Process)";
  return {};
}

std::string_view StartupText(std::uint32_t start) {
  static constexpr std::string_view kStarts[] = {"Boot", "System", "Automatic", "Manual",
                                                 "Disabled"};
  return start <= 4 ? kStarts[start] : std::string_view();
}

void SetConfigFields(Row& row, std::string_view value) {
  for (Column c : {kStartup, kAccount, kDepends, kBinary}) row[c] = value;
}

// Closes a service handle on every path.
auto ServiceHandleGuard(platform::ServiceControl& sc, platform::ServiceHandle handle) {
  return HandleGuard(handle, [&sc](platform::ServiceHandle h) { sc.CloseServiceHandle(h); });
}

void ExportOneService(ExportContext& context, const tagCObjects& target,
                      platform::ServiceHandle manager, const platform::EnumServiceStatus& service,
                      Row& row) {
  RunOutput& out = context.output;
  platform::ServiceControl& sc = context.session.services();
  row[kName] = service.service_name;
  row[kDescription] = service.display_name;
  row[kState] = StateText(service.current_state);
  row[kType] = TypeText(service.service_type);
  if (text::EqualsNoCase(service.service_name, "prlntss")) {
    SetConfigFields(row, format::kUnknown);
    row.Write();
    return;
  }
  const platform::ServiceHandleResult opened =
      sc.OpenService(manager, service.service_name, platform::kServiceQueryConfig);
  if (opened.status != win::ERROR_SUCCESS) {
    out.AddProgressRow(target.display_name,
                       FillMessage("Unable to access service %s. ", {service.service_name}) +
                           WindowsErrorText(opened.status),
                       1, ProgressKind::kFailure);
    row.Clear();
    return;
  }
  const auto close = ServiceHandleGuard(sc, opened.handle);
  platform::ServiceConfigResult config = sc.QueryServiceConfig(opened.handle, kConfigBufferSize);
  if (config.status == win::ERROR_INSUFFICIENT_BUFFER) {
    config = sc.QueryServiceConfig(opened.handle, config.bytes_needed);
  }
  if (config.status == win::ERROR_SUCCESS) {
    row[kStartup] = StartupText(config.config.start_type);
    row[kAccount] = config.config.service_start_name;
    row[kDepends] = out.JoinList(config.config.dependencies);
    row[kBinary] = config.config.binary_path_name;
  } else {
    out.AddProgressRow(target.display_name,
                       FillMessage("Unable to query service %s. ", {service.service_name}) +
                           WindowsErrorText(config.status),
                       1, ProgressKind::kFailure);
    SetConfigFields(row, format::kError);
  }
  row.Write();
}

}  // namespace

void ExportServiceRows(ExportContext& context, const ServiceSelection& selection,
                       const tagCObjects& target) {
  RunOutput& out = context.output;
  platform::ServiceControl& sc = context.session.services();
  TypedOutput& file = context.files.of(kServices);
  Row row(out, file, &target);
  ExportProgress progress(out, target, "Exporting Services...", ProgressKind::kServices);

  const bool service_security = WantsSecurity(context, SecurityObjectKind::kService);
  std::string failure;
  win::Status failed_status = win::ERROR_SUCCESS;
  const platform::ServiceHandleResult manager =
      sc.OpenSCManager(target.path, platform::kScManagerEnumerateService);
  if (manager.status != win::ERROR_SUCCESS) {
    failure = "Unable to open service manager system. ";
    failed_status = manager.status;
  } else {
    const auto close = ServiceHandleGuard(sc, manager.handle);
    platform::EnumServicesResult list =
        sc.EnumServicesStatus(manager.handle, selection.type, selection.state, 0, 0);
    if (list.status == win::ERROR_MORE_DATA) {
      list = sc.EnumServicesStatus(manager.handle, selection.type, selection.state,
                                   list.bytes_needed, 0);
      if (list.status != win::ERROR_SUCCESS) {
        failure = "Unable to get service information. ";
        failed_status = list.status;
      }
    } else if (list.status != win::ERROR_SUCCESS) {
      failure = "Unable to get service information. ";
      failed_status = list.status;
    } else {
      list.services.clear();  // the sizing call succeeded: no services
    }
    if (failure.empty()) {
      for (const platform::EnumServiceStatus& service : list.services) {
        if (service_security) {
          const std::string path = target.path + "\\" + service.service_name;
          HandToSecurityAccess(context, target,
                               {SecurityObjectKind::kService, service.service_name, path});
        }
        if (!file.is_open()) continue;
        if (!selection.names.empty() &&
            !format::MatchNameList(service.service_name, selection.names)) {
          continue;
        }
        ExportOneService(context, target, manager.handle, service, row);
      }
    }
  }

  if (!failure.empty()) {
    failure += WindowsErrorText(failed_status);
    progress.ReportFailure(failure);
  }
  out.LogLine(&target, ExportTypeInfo(kServices).log_name, !failure.empty(), failure);
}

}  // namespace tabulon

namespace tabulon {
namespace {

std::uint32_t ServiceTypeFilter(ServiceTypeChoice setting) {
  switch (setting) {
    case ServiceTypeChoice::kDriversOnly:
      return platform::kServiceKernelDriver |
             platform::kServiceFileSystemDriver;  // kernel and file system drivers
    case ServiceTypeChoice::kServicesOnly:
      return platform::kServiceWin32;
    case ServiceTypeChoice::kDriversAndServices:
      break;
  }
  return platform::kServiceKernelDriver | platform::kServiceFileSystemDriver |
         platform::kServiceWin32;
}

std::uint32_t ServiceStateFilter(ServiceStateChoice setting) {
  switch (setting) {
    case ServiceStateChoice::kActiveOnly:
      return platform::kServiceActive;
    case ServiceStateChoice::kInactiveOnly:
      return platform::kServiceInactive;
    case ServiceStateChoice::kActiveAndInactive:
      break;
  }
  return platform::kServiceStateAll;
}

class ServicesRun final : public ExporterRun {
 public:
  ServicesRun(const Configuration& config, const EnabledExports& enabled)
      : rows_(enabled[kServices]) {
    if (rows_) {
      selection_.type =
          ServiceTypeFilter(config.ReadChoice<ServiceTypeChoice>("Services", "ServiceType"));
      selection_.state =
          ServiceStateFilter(config.ReadChoice<ServiceStateChoice>("Services", "ServiceState"));
    }
  }
  bool Prepare(UnitSetup& setup) override {
    if (!rows_ || !setup.config.ReadSwitch("Services", "ExportSpecificServices")) return true;
    return setup.LoadListFile(setup.config.ReadSettingText("Services", "SpecificFileName"),
                              selection_.names);
  }
  bool Wanted(const SecurityAccessSink* security) const override {
    return rows_ || (security != nullptr && security->Wants(SecurityObjectKind::kService));
  }
  void ExportTarget(ExportContext& context, const tagCObjects& target) override {
    ExportServiceRows(context, selection_, target);
  }

 private:
  bool rows_;
  ServiceSelection selection_;
};

constexpr ExportType kTypes[] = {kServices};

}  // namespace

ExporterUnit ServicesUnit() {
  return {.name = "services", .types = kTypes, .start = StartRun<ServicesRun>};
}

}  // namespace tabulon
