#include "engine/export_run.h"

#include <algorithm>

#include "engine/error_text.h"
#include "engine/messages.h"
#include "engine/run_settings.h"
#include "engine/target_list.h"
#include "platform/c_time_format.h"

namespace tabulon {
namespace {

constexpr std::uint32_t kFailureKind = 2;
constexpr std::uint32_t kEndReportKind = 1;

bool IsComputerTarget(std::uint32_t type) {
  return type == kObjectWorkstation || type == kObjectDomainController ||
         type == kObjectBackupController || type == kObjectServer ||
         type == kObjectDirectoryComputer;
}

bool IsDirectoryObject(std::uint32_t type) {
  switch (type) {
    case kObjectDirectoryDomain:
    case kObjectDirectoryUser:
    case kObjectDirectoryObject:
    case kObjectDirectoryGroup:
    case kObjectContainer:
    case kObjectDirectoryContact:
    case kObjectDirectoryShare:
    case kObjectDirectoryPrinter:
      return true;
    default:
      return false;
  }
}

std::string PingHost(const std::string& path) {
  if (!path.empty() && path.front() == '\\') return path.size() > 2 ? path.substr(2) : "";
  return path;
}

class Run {
 public:
  Run(const RunEnvironment& env, const RunRequest& request)
      : env_(env),
        request_(request),
        output_(env.platform, request.progress, env.messages),
        format_(env.format) {
    output_.locations() = env.locations;
    output_.settings().suppress_messages = request.suppress_messages;
  }

  RunResult Execute() {
    RunResult result;
    result.stopped_early = true;
    if (Prepare()) {
      result.stopped_early = !ProcessTargets(result);
    }
    Close(result);
    return result;
  }

 private:
  // Phases up to the target list; false when the run stops.
  bool Prepare() {
    Configuration config(*env_.platform.profile, request_.configuration_path);
    std::string object_file = request_.handover_object_file;
    if (object_file.empty()) object_file = config.ReadText("General", "ObjectFile", "");
    if (object_file.empty()) {
      output_.GeneralFailure(FormatMessageId(kMsgMissingObjectFile, {request_.configuration_path}));
      return false;
    }
    object_file_ = output_.ResolveOutputName(object_file, false);

    ReadRunSettings(config, options_, output_.settings(), format_);
    if (options_.targets.skip_enable &&
        !LoadListFile(config.ReadText("Computers", "SkipFileName", ""), options_.targets.skip_list,
                      &options_.targets.skip_enable)) {
      return false;
    }
    if (output_.settings().enable_logging) {
      const bool append = config.ReadInt("General", "AppendLog", 1) != 0;
      if (!output_.OpenLog(config.ReadText("General", "LogFileName", "Export.log"), append)) {
        return false;
      }
    }
    output_.ResetValueBufferSize();
    if (!OpenOutputs(config)) return false;
    output_.SizeValueBuffer();
    options_.computers_needed = ComputersNeeded(options_);
    return true;
  }

  // Loads a list file; an empty name turns `enabled` off when given.
  bool LoadListFile(const std::string& name, format::NameList& list, bool* enabled) {
    if (name.empty()) {
      if (enabled != nullptr) *enabled = false;
      return true;
    }
    const std::string path = output_.ResolveOutputName(name, false);
    const format::LoadStatus status = format::LoadNameList(path, list);
    if (!status.ok()) {
      output_.FileOpenFailure("Exception List", path, status.error);
      return false;
    }
    return true;
  }

  bool OpenTyped(const Configuration& config, ExportType type) {
    if (!options_.is_enabled(type)) return true;
    const ExportTypeDescriptor& d = ExportTypeInfo(type);
    return output_.OpenTypedOutputFile(config, d.section, d.output_file_key, d.columns_key, type,
                                       files_.of(type));
  }

  bool OpenOutputs(const Configuration& config) {
    if (options_.is_enabled(kSecurity)) {
      if (!OpenTyped(config, kSecurity)) return false;
      if (options_.security.specific_trustees &&
          !LoadListFile(config.ReadText("Security", "SpecificFileName", ""),
                        options_.security.trustees, nullptr)) {
        return false;
      }
    }
    if (options_.is_enabled(kServices)) {
      if (!OpenTyped(config, kServices)) return false;
      if (config.ReadInt("Services", "ExportSpecificServices", 0) == 1 &&
          !LoadListFile(config.ReadText("Services", "SpecificFileName", ""),
                        options_.services.names, nullptr)) {
        return false;
      }
    }
    for (ExportType type : {kTasks, kTasksNew, kComputers, kPrinters}) {
      if (!OpenTyped(config, type)) return false;
    }
    if (!OpenTemplateOutputs(config)) return false;
    for (ExportType type : {kShares, kShareConnections, kSessions, kTseSessions, kTseProcesses,
                            kOpenFiles, kGroups, kGroupMembers}) {
      if (!OpenTyped(config, type)) return false;
    }
    if (options_.groups.specific_groups &&
        (options_.is_enabled(kGroups) || options_.is_enabled(kGroupMembers)) &&
        !LoadListFile(config.ReadText("Groups", "SpecificFileName", ""), options_.groups.groups,
                      nullptr)) {
      return false;
    }
    if (!OpenTyped(config, kUsers)) return false;
    if (options_.is_enabled(kUsers)) {
      for (std::uint32_t column : files_.of(kUsers).columns) {
        options_.user_columns.sid |= column == 21;
        options_.user_columns.remote_access |= column >= 22 && column <= 24;
        options_.user_columns.terminal_server |= column >= 25 && column <= 43;
      }
    }
    for (ExportType type :
         {kUserGroups, kNetwork, kProtocols, kRights, kPolicies, kLoggedOn, kDrives}) {
      if (!OpenTyped(config, type)) return false;
    }
    return true;
  }

  // Directory, registry, WMI and file/directory templates: their output
  // files are prepared before the first target.
  bool OpenTemplateOutputs(const Configuration& config) {
    const TemplateFiles files = ReadTemplateFileNames(config, output_);
    platform::Profile& profile = *env_.platform.profile;
    const Configuration directory(profile, files.directory_queries);
    for (const std::string& name : options_.directory_templates) {
      std::string columns = directory.ReadText(name, "Attributes", "") + ",";
      const std::int32_t filter = directory.ReadInt(name, "Filter", 0);
      if (filter >= 2 && filter <= 5 && directory.ReadInt(name, "GetGroupMembers", 0) == 1) {
        std::string members = directory.ReadText(name, "GroupMemberAttributes", "");
        if (members.empty()) members = std::string(kDefaultGroupMemberAttributes);
        columns += members + ",";
      }
      if ((filter == 1 || filter == 6) && directory.ReadInt(name, "GetUserGroups", 0) == 1) {
        std::string groups = directory.ReadText(name, "UserGroupAttributes", "");
        if (groups.empty()) groups = std::string(kDefaultUserGroupAttributes);
        columns += groups + ",";
      }
      if (!OpenTemplate(directory, name, columns)) return false;
    }
    const Configuration registry(profile, files.registry);
    for (const std::string& name : options_.registry_templates) {
      if (!OpenTemplate(registry, name, registry.ReadText(name, "OutputColumns", "") + ",")) {
        return false;
      }
    }
    const Configuration wmi(profile, files.wmi_queries);
    for (const std::string& name : options_.wmi_templates) {
      if (!OpenTemplate(wmi, name, wmi.ReadText(name, "OutputColumns", "") + ",")) return false;
    }
    if (options_.security.file && options_.file_templates.empty()) {
      output_.GeneralFailure(MessageText(kMsgFileTemplatesRequired));
      return false;
    }
    const Configuration file_templates(profile, files.file_templates);
    for (const std::string& name : options_.file_templates) {
      TypedOutput out;
      if (!output_.OpenTypedOutputFile(file_templates, name, "OutputFileName", "OutputColumns",
                                       kFiles, out)) {
        return false;
      }
    }
    return true;
  }

  bool OpenTemplate(const Configuration& template_file, const std::string& name,
                    const std::string& columns) {
    output_.RaiseValueBufferSize(
        static_cast<std::size_t>(std::count(columns.begin(), columns.end(), ',')));
    return output_.OpenTemplateOutputFile(template_file, name, columns, nullptr);
  }

  // Reads the object file and walks the targets; false when the run stopped
  // before the first target.
  bool ProcessTargets(RunResult& result) {
    export_date_time_ = platform::FormatTmInCLocale(
        "%x %H:%M", platform::TmFromSystemTime(env_.platform.clock->LocalNow()), 128);
    output_.symbols().export_date_time = export_date_time_;
    output_.symbols().secondary_delimiter = output_.settings().secondary_delimiter;

    TargetListBuilder builder(env_.platform, output_, options_.targets, options_.computers_needed);
    builder.set_local_computer_name(env_.local_computer_name);
    if (!builder.ReadObjectFile(object_file_, targets_)) return false;
    if (targets_.empty()) {
      output_.GeneralFailure(MessageText(kMsgNoObjects));
      return false;
    }
    ExportContext context{env_.platform, output_, files_, options_, format_};
    for (std::size_t i = 0; i < targets_.size(); ++i) {
      tagCObjects& target = targets_[i];
      if (target.type == kObjectComputerInclude || target.type == kObjectDirectoryInclude) {
        continue;
      }
      ++result.targets_processed;
      if (request_.on_target) request_.on_target(i, targets_.size(), target);
      ProcessTarget(context, target);
      if (request_.progress != nullptr) {
        if (request_.pump_messages) request_.pump_messages();
      }
      if (request_.stop_flag != nullptr && request_.stop_flag->load() != 0) {
        result.aborted_by_user = true;
        break;
      }
    }
    output_.AddProgressRow(
        MessageText(result.aborted_by_user ? kMsgExportAborted : kMsgExportCompleted),
        FormatMessageId(kMsgObjectsProcessed, {std::to_string(result.targets_processed)}), 0,
        kEndReportKind);
    return true;
  }

  bool Rejected(const tagCObjects& target) const {
    return target.server_type != 0 && options_.targets.filtering_enable &&
           options_.targets.filtering_type > 0 &&
           !FilterPasses(static_cast<std::uint32_t>(options_.targets.filtering_type),
                         target.server_type);
  }

  void WriteNameOnlyComputerRow(const tagCObjects& target) {
    if (!options_.is_enabled(kComputers)) return;
    output_.ClearValues();
    output_.value(0) = target.display_name;
    output_.WriteTypedRow(&target, files_.of(kComputers), true);
  }

  void ProcessTarget(ExportContext& context, tagCObjects& target) {
    if (target.type == kObjectPrinter) {
      RunExporter(context, target, "printers");
      return;
    }
    if (IsDirectoryObject(target.type)) return;  // directory queries come later
    if (!IsComputerTarget(target.type)) return;
    if (options_.targets.skip_enable && SkipListMatches(target.path, options_.targets.skip_list)) {
      return;
    }
    if (Rejected(target)) return;
    if (target.type == kObjectDirectoryComputer && !options_.computers_needed) return;
    if (options_.targets.skip_disabled && target.disabled_in_directory != 0) {
      output_.AddProgressRow(target.display_name,
                             FormatMessageId(kMsgSkippingDisabled, {target.display_name}), 0,
                             kEndReportKind);
      return;
    }
    if (options_.targets.ping_enable && !Ping(target)) {
      if (!options_.targets.ping_hide_progress_errors) {
        output_.AddProgressRow(target.display_name, MessageText(kMsgPingFailed), 0, kFailureKind);
      }
      WriteNameOnlyComputerRow(target);
      output_.LogLine(&target, "PING", true, MessageText(kMsgPingFailed));
      return;
    }
    if (target.server_type == 0) {
      const platform::ServerInfoResult info = env_.platform.net->NetServerGetInfo101(target.path);
      if (info.status != win::ERROR_SUCCESS) {
        const std::string text = FormatMessageId(kMsgNoComputerInformation, {target.path}) +
                                 WindowsErrorText(info.status);
        output_.AddProgressRow(target.display_name, text, 0, kFailureKind);
        output_.LogLine(&target, "REMOTE_ACCESS", true, text);
        WriteNameOnlyComputerRow(target);
        return;
      }
      target.server_name = info.info.name;
      target.server_comment = info.info.comment;
      target.major_version = info.info.version_major;
      target.minor_version = info.info.version_minor;
      target.server_type = info.info.type;
      if (Rejected(target)) return;
    }
    output_.AddProgressRow(target.display_name, MessageText(kMsgExporting), 0, target.type);
    if (!options_.computers_needed) return;
    for (const ExporterEntry& entry : env_.exporters) {
      if (entry.wanted(options_)) entry.run(context, target);
    }
  }

  void RunExporter(ExportContext& context, const tagCObjects& target, std::string_view name) {
    for (const ExporterEntry& entry : env_.exporters) {
      if (entry.name == name && entry.wanted(options_)) entry.run(context, target);
    }
  }

  bool Ping(const tagCObjects& target) {
    const TargetOptions& o = options_.targets;
    const std::string host = PingHost(target.path);
    std::int64_t timeout = o.ping_timeout;
    for (std::int32_t attempt = 0; attempt < o.ping_retry; ++attempt) {
      platform::EchoRequest request;
      request.host = host;
      request.ttl = static_cast<std::uint32_t>(o.ping_ttl);
      request.timeout_ms =
          static_cast<std::uint32_t>(std::clamp<std::int64_t>(timeout, 0, 0x7FFFFFFF));
      request.data_size = 32;
      const platform::EchoResult r = o.ping_type == 0 ? env_.platform.icmp->RawEcho(request)
                                                      : env_.platform.icmp->SystemEcho(request);
      if (r.success) return true;
      timeout *= o.ping_retry_multiplier;
    }
    return false;
  }

  void Close(RunResult& result) {
    std::vector<TypedOutput*> outputs;
    for (TypedOutput& out : files_.typed) outputs.push_back(&out);
    output_.CloseAll(outputs);
    targets_.clear();
    result.output_files = output_.output_files();
    result.open_output_window = request_.progress != nullptr && options_.open_output_window;
  }

  const RunEnvironment& env_;
  const RunRequest& request_;
  RunOutput output_;
  format::FormatSettings format_;
  RunOptions options_;
  RunFiles files_;
  std::string object_file_;
  std::string export_date_time_;
  std::vector<tagCObjects> targets_;
};

}  // namespace

RunResult ExportRun(const RunEnvironment& environment, const RunRequest& request) {
  Run run(environment, request);
  return run.Execute();
}

}  // namespace tabulon
