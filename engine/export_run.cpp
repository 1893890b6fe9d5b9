#include "engine/export_run.h"

#include <algorithm>
#include <memory>

#include "engine/error_text.h"
#include "engine/messages.h"
#include "engine/object_file.h"
#include "engine/run_recovery.h"
#include "engine/run_settings.h"
#include "engine/serialised_observer.h"
#include "engine/setting_limits.h"
#include "engine/target_list.h"
#include "engine/target_pipeline.h"
#include "platform/c_time_format.h"
#include "platform/ini_file_profile.h"

namespace tabulon {
namespace {

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

// A unit with its state for this run.
struct ActiveUnit {
  const ExporterUnit* unit;
  std::unique_ptr<ExporterRun> run;
  bool wanted = false;
};

class Run {
 public:
  Run(RunEnvironment& env, const RunRequest& request)
      : env_(env),
        request_(request),
        serialised_(request.observer != nullptr ? *request.observer : silent_),
        observer_(serialised_),
        output_(env.platform, observer_, request.progress_rows),
        format_(env.format) {
    output_.locations() = env.locations;
    output_.settings().suppress_messages = request.suppress_messages;
    session_options_.credentials = &env.credentials;
    if (request.control != nullptr) session_options_.cancel = request.control->CancelToken();
  }

  RunResult Execute() {
    RunResult result;
    result.stopped_early = true;
    if (Prepare()) {
      result.stopped_early = !ProcessTargets(result);
    }
    Close(result);
    if (recovery_) {
      if (resume_refused_) {
        recovery_->RestoreFiles();
      } else if (!result.stopped_early) {
        recovery_->End(!result.aborted_by_user, failed_targets_path_);
      }
    }
    return result;
  }

 private:
  // Phases up to the target list; false when the run stops.
  bool Prepare() {
    Configuration config(*env_.platform.profile, request_.configuration_path);
    std::string object_file = request_.handover_object_file;
    if (object_file.empty()) object_file = config.ReadSettingText("General", "ObjectFile");
    if (object_file.empty()) {
      output_.GeneralFailure(FormatMessageId(kMsgMissingObjectFile, {request_.configuration_path}));
      return false;
    }
    object_file_ = output_.ResolveOutputName(object_file, false);

    ReadRunSettings(config, settings_, output_.settings(), format_);
    session_options_.call_timeout_ms = settings_.call_timeout_ms;
    if (settings_.targets.skip_enable) {
      const std::string skip_file = config.ReadSettingText("Computers", "SkipFileName");
      if (skip_file.empty()) {
        settings_.targets.skip_enable = false;
      } else if (!Setup(config).LoadListFile(skip_file, settings_.targets.skip_list)) {
        return false;
      }
    }
    if (!CheckPaths(config)) return false;
    if (!StartRecovery()) return false;
    if (output_.settings().enable_logging) {
      if (!output_.OpenLog(config.ReadSettingText("General", "LogFileName"),
                           config.ReadSwitch("General", "AppendLog") || request_.resume)) {
        return false;
      }
    }
    StartUnits(config);
    if (!OpenOutputs(config)) return false;
    UnitSetup setup = Setup(config);
    for (ActiveUnit& active : units_) {
      if (!active.run->Prepare(setup)) return false;
    }
    for (ActiveUnit& active : units_) {
      if (SecurityAccessSink* sink = active.run->security_sink()) security_ = sink;
    }
    for (ActiveUnit& active : units_) {
      active.wanted = active.run->Wanted(security_);
      if (active.wanted && (active.unit->target_kinds & kComputerTargets) != 0) {
        computers_needed_ = true;
      }
    }
    return true;
  }

  // Where the journal and the failed targets' file live: beside the log,
  // else in the output directory. A resume reads its journal here, before
  // any file is opened, and opens every file to append: what the run
  // writes before its first target is cut off again once the files are
  // cut back to the last committed target. False when the journal is
  // refused.
  bool StartRecovery() {
    recovery_ = std::make_unique<RunRecovery>(journal_path_, request_.resume);
    JournalIdentity identity;
    identity.configuration_path = request_.configuration_path;
    DigestFile(request_.configuration_path, identity.configuration_digest);
    identity.object_file_path = platform::NativePath(object_file_);
    DigestFile(identity.object_file_path, identity.object_file_digest);
    if (const std::string refusal = recovery_->Load(identity); !refusal.empty()) {
      output_.GeneralFailure(refusal);
      return false;
    }
    if (request_.resume) output_.settings().append = true;
    return true;
  }

  // The journal and the failed targets' file: beside the log, else in the
  // default output directory, named after the configuration.
  void FindSideFiles(const Configuration& config) {
    const std::string log_path =
        output_.settings().enable_logging
            ? output_.ResolveOutputName(config.ReadSettingText("General", "LogFileName"), true)
            : std::string();
    auto side_file = [&](std::string_view suffix) {
      const std::string name = RunSideFileName(log_path, request_.configuration_path, suffix);
      return log_path.empty() ? output_.ResolveOutputName(name, true) : name;
    };
    failed_targets_path_ = side_file(".failed.dat");
    journal_path_ = side_file(".journal");
  }

  std::vector<TypedOutput*> TypedOutputs() {
    std::vector<TypedOutput*> outputs;
    for (TypedOutput& out : files_.typed) outputs.push_back(&out);
    return outputs;
  }

  // Resolves every path the run reads or writes before the first file is
  // opened: opening an output that is also an input, or another output,
  // would destroy or interleave it. False, with the message shown, when two
  // uses name one file.
  bool CheckPaths(const Configuration& config) {
    output_.set_planning(true);
    output_.ClaimInput("Configuration File", request_.configuration_path);
    for (const auto& [use, path] : request_.input_files) output_.ClaimInput(use, path);
    output_.ClaimInput("Object File", platform::NativePath(object_file_));
    ClaimIncludeFiles();
    if (settings_.targets.skip_enable) {
      Setup(config).LoadListFile(config.ReadSettingText("Computers", "SkipFileName"),
                                 settings_.targets.skip_list);
    }
    const TemplateFiles templates = ReadTemplateFileNames(config, output_);
    for (const std::string& file :
         {templates.registry, templates.directory_schema, templates.directory_queries,
          templates.wmi_queries, templates.file_templates}) {
      // A template file the run does not read is no input of it.
      if (platform::IdentifyFile(file).exists) output_.ClaimInput("Template File", file);
    }
    if (output_.settings().enable_logging) {
      output_.OpenLog(config.ReadSettingText("General", "LogFileName"), false);
    }
    FindSideFiles(config);
    output_.ClaimOutput("Journal", journal_path_);
    output_.ClaimOutput("Failed Targets File", failed_targets_path_);
    StartUnits(config);
    if (OpenOutputs(config)) {
      UnitSetup setup = Setup(config);
      for (ActiveUnit& active : units_) {
        if (!active.run->Prepare(setup)) break;
      }
    }
    units_.clear();
    files_ = RunFiles();
    output_.set_planning(false);
    if (output_.collision().empty()) return true;
    output_.GeneralFailure(output_.collision());
    return false;
  }

  // Include files named by the object file, read only once the outputs
  // are open.
  void ClaimIncludeFiles() {
    ForEachTextLine(platform::NativePath(object_file_), [this](std::string_view text_line) {
      const ObjectLine line = ParseObjectLine(text_line);
      if (line.type == kObjectComputerInclude || line.type == kObjectDirectoryInclude) {
        output_.ClaimInput("Include File", platform::NativePath(line.path));
      }
    });
  }

  UnitSetup Setup(const Configuration& config) {
    return UnitSetup{config, settings_.enabled, output_, files_, *env_.platform.profile};
  }

  void StartUnits(const Configuration& config) {
    units_.clear();
    for (std::size_t i = 0; i < env_.units.size(); ++i) {
      const ExporterUnit& unit = env_.units[i];
      std::unique_ptr<ExporterRun> run = unit.start(config, settings_.enabled);
      if (run) units_.push_back({&unit, std::move(run)});
    }
  }

  // The unit that opens the files of `type` itself, if any.
  ActiveUnit* OwnerOf(ExportType type) {
    for (ActiveUnit& active : units_) {
      if (!active.unit->opens_own_outputs) continue;
      if (std::find(active.unit->types.begin(), active.unit->types.end(), type) !=
          active.unit->types.end()) {
        return &active;
      }
    }
    return nullptr;
  }

  bool OpenOutputs(const Configuration& config) {
    UnitSetup setup = Setup(config);
    for (ExportType type : OutputOpenOrder()) {
      if (ActiveUnit* owner = OwnerOf(type)) {
        if (!owner->run->OpenOutputs(setup, type)) return false;
        continue;
      }
      if (!settings_.enabled[type]) continue;
      const ExportTypeDescriptor& d = ExportTypeInfo(type);
      if (!output_.OpenTypedOutputFile(config, d.section, d.output_file_key, d.columns_key, type,
                                       files_.of(type))) {
        return false;
      }
    }
    return true;
  }

  bool StopRequested() const {
    return request_.control != nullptr && request_.control->stop_requested();
  }
  // Set by either request: what units and the target list ask.
  platform::CancelToken StopToken() const {
    return request_.control != nullptr ? request_.control->StopToken() : platform::CancelToken();
  }
  bool CancelRequested() const {
    return request_.control != nullptr && request_.control->cancel_requested();
  }

  // Reads the object file and walks the targets; false when the run stopped
  // before the first target.
  bool ProcessTargets(RunResult& result) {
    export_date_time_ = platform::FormatTmInCLocale(
        "%x %H:%M", platform::TmFromSystemTime(env_.platform.clock->LocalNow()), 128);
    output_.symbols().export_date_time = export_date_time_;
    output_.symbols().secondary_delimiter = output_.settings().secondary_delimiter;
    if (!env_.logon_notice.empty()) output_.Notice("LOGON", env_.logon_notice);

    // Nothing is half done while the list is built: a stop cancels the call
    // in flight at once.
    platform::SessionOptions list_options = session_options_;
    list_options.cancel = StopToken();
    TargetListBuilder builder(env_.platform, output_, settings_.targets, computers_needed_,
                              list_options);
    builder.set_local_computer_name(env_.local_computer_name);
    directory_ = {settings_.directory_server, settings_.directory_ca_file,
                  settings_.directory_start_tls};
    builder.set_directory_settings(directory_);
    if (!builder.ReadObjectFile(object_file_, targets_)) return false;
    if (StopRequested()) {
      result.aborted_by_user = true;
    } else if (targets_.empty()) {
      output_.GeneralFailure(MessageText(kMsgNoObjects));
      return false;
    }
    if (!result.aborted_by_user) {
      const std::vector<TypedOutput*> outputs = TypedOutputs();
      output_.FlushAll(outputs);
      const std::string refusal =
          recovery_->Begin(targets_, output_.OpenFilePaths(outputs), start_);
      if (!refusal.empty()) {
        resume_refused_ = true;
        output_.GeneralFailure(refusal);
        return false;
      }
      if (const std::string problem = recovery_->journal_problem(); !problem.empty()) {
        output_.Notice("JOURNAL", problem);
      }
      if (settings_.parallel_targets > 1) {
        ExportInParallel(result);
      } else {
        ExportSerially(result);
      }
      // The targets an interrupted run committed count as processed.
      result.targets_processed += static_cast<std::size_t>(
          std::count_if(targets_.begin(), targets_.begin() + static_cast<std::ptrdiff_t>(start_),
                        [](const tagCObjects& t) { return !IsInclude(t); }));
    }
    output_.AddProgressRow(
        MessageText(result.aborted_by_user ? kMsgExportAborted : kMsgExportCompleted),
        FormatMessageId(kMsgObjectsProcessed, {std::to_string(result.targets_processed)}), 0,
        ProgressKind::kEndReport);
    return true;
  }

  static bool IsInclude(const tagCObjects& target) {
    return target.type == kObjectComputerInclude || target.type == kObjectDirectoryInclude;
  }

  void ExportSerially(RunResult& result) {
    for (std::size_t i = start_; i < targets_.size() && !result.aborted_by_user; ++i) {
      tagCObjects& target = targets_[i];
      if (IsInclude(target)) continue;
      ++result.targets_processed;
      CommitStarted(i);
      // A serial run streams each target to the files as it is produced.
      TargetOutput target_output = output_.MakeTargetOutput(TargetOutput::Mode::kStreaming);
      output_.set_target(&target_output);
      ProcessTarget(target, output_);
      output_.set_target(nullptr);
      target_output.Commit();
      Committed(i, target_output);
      if (StopRequested()) result.aborted_by_user = true;
    }
  }

  // Workers export the targets into buffered outputs, each through its own
  // view of the run's output; the pipeline commits them in list order.
  void ExportInParallel(RunResult& result) {
    PipelineWork work;
    // Entries a resumed run's predecessor committed are no work.
    work.is_target = [this](std::size_t i) { return i >= start_ && !IsInclude(targets_[i]); };
    work.export_target = [this](std::size_t i, TargetOutput& target_output) {
      RunOutput view(output_, RunOutput::WorkerView{});
      view.set_target(&target_output);
      ProcessTarget(targets_[i], view);
      view.set_target(nullptr);
    };
    work.commit_started = [this](std::size_t i) { CommitStarted(i); };
    work.committed = [this](std::size_t i, const TargetOutput& target_output) {
      Committed(i, target_output);
    };
    work.in_flight = [this](std::size_t i, bool started) {
      if (started) {
        observer_.TargetWorkStarted(i, targets_[i]);
      } else {
        observer_.TargetWorkEnded(i, targets_[i]);
      }
    };
    work.stop_requested = [this] { return StopRequested(); };
    TargetPipeline pipeline(output_.destination(),
                            static_cast<std::size_t>(settings_.parallel_targets));
    result.targets_processed = pipeline.Run(targets_.size(), work);
    if (StopRequested()) result.aborted_by_user = true;
  }

  // Around the commit of entry i's output, one thread at a time, in list
  // order: what a serial run does before and after the target.
  void CommitStarted(std::size_t i) { observer_.TargetStarted(i, targets_.size(), targets_[i]); }
  // Once the target's output is in the files: the journal records it.
  void Committed(std::size_t i, const TargetOutput& target_output) {
    output_.FlushAll(TypedOutputs());
    // A target committed after a stop request may have been cut short by
    // it (long walks end at a stop): a resume exports it again.
    recovery_->Committed(i, targets_[i], target_output.failed(), !StopRequested());
    observer_.TargetFinished(i + 1, targets_.size(), targets_[i]);
  }

  bool Rejected(const tagCObjects& target) const {
    return target.server_type != 0 && settings_.targets.filtering_enable &&
           settings_.targets.filtering_type > 0 &&
           !FilterPasses(static_cast<std::uint32_t>(settings_.targets.filtering_type),
                         target.server_type);
  }

  void ReportUnreachable(const tagCObjects& target, RunOutput& out) {
    for (ActiveUnit& active : units_) active.run->TargetUnreachable(out, files_, target);
  }

  // Calls every wanted unit that runs for `kind` with one session on the
  // target.
  void RunUnits(const tagCObjects& target, std::uint32_t kind,
                std::unique_ptr<platform::TargetSession> session, RunOutput& out) {
    if (!session) session = env_.platform.sessions->Open(target.path, session_options_);
    ExportContext context{*session,         out,        files_,     format_, security_,
                          session_options_, directory_, StopToken()};
    out.set_account_lookup(&session->lookup());
    for (ActiveUnit& active : units_) {
      if (CancelRequested()) break;  // every further call would be cancelled
      if (active.wanted && (active.unit->target_kinds & kind) != 0) {
        active.run->ExportTarget(context, target);
      }
    }
    out.set_account_lookup(nullptr);
  }

  // Everything the target produces goes through `out`, the run's output or
  // a worker's view of it.
  void ProcessTarget(tagCObjects& target, RunOutput& out) {
    if (target.type == kObjectPrinter) {
      RunUnits(target, kPrinterTargets, nullptr, out);
      return;
    }
    if (IsDirectoryObject(target.type)) {
      RunUnits(target, kDirectoryTargets, nullptr, out);
      return;
    }
    if (!IsComputerTarget(target.type)) return;
    if (settings_.targets.skip_enable &&
        SkipListMatches(target.path, settings_.targets.skip_list)) {
      return;
    }
    if (Rejected(target)) return;
    if (target.type == kObjectDirectoryComputer) {
      // The computer's directory entry, not the name it is reached by.
      RunUnits(target, kDirectoryTargets,
               env_.platform.sessions->Open(target.source_path, session_options_), out);
      if (!computers_needed_) return;
    }
    if (settings_.targets.skip_disabled && target.disabled_in_directory != 0) {
      out.AddProgressRow(target.display_name,
                         FormatMessageId(kMsgSkippingDisabled, {target.display_name}), 0,
                         ProgressKind::kEndReport);
      return;
    }
    if (settings_.targets.ping_enable && !Ping(target)) {
      if (CancelRequested()) return;  // not pinged to the end: nothing to say
      if (!settings_.targets.ping_hide_progress_errors) {
        out.AddProgressRow(target.display_name, MessageText(kMsgPingFailed), 0,
                           ProgressKind::kFailure);
      }
      ReportUnreachable(target, out);
      out.LogLine(&target, "PING", true, MessageText(kMsgPingFailed));
      return;
    }
    std::unique_ptr<platform::TargetSession> session =
        env_.platform.sessions->Open(target.path, session_options_);
    if (target.server_type == 0) {
      const platform::ServerInfoResult info = session->server().NetServerGetInfo101(target.path);
      if (info.status != win::ERROR_SUCCESS) {
        const std::string text = FormatMessageId(kMsgNoComputerInformation, {target.path}) +
                                 WindowsErrorText(info.status);
        out.AddProgressRow(target.display_name, text, 0, ProgressKind::kFailure);
        out.LogLine(&target, "REMOTE_ACCESS", true, text);
        ReportUnreachable(target, out);
        return;
      }
      target.server_name = info.info.name;
      target.server_comment = info.info.comment;
      target.major_version = info.info.version_major;
      target.minor_version = info.info.version_minor;
      target.server_type = info.info.type;
      if (Rejected(target)) return;
    }
    out.AddProgressRow(target.display_name, MessageText(kMsgExporting), 0,
                       ProgressKindOfObject(target.type));
    if (!computers_needed_) return;
    RunUnits(target, kComputerTargets, std::move(session), out);
  }

  bool Ping(const tagCObjects& target) {
    const TargetOptions& o = settings_.targets;
    const std::string host = PingHost(target.path);
    std::int64_t timeout = o.ping_timeout;
    for (std::int32_t attempt = 0; attempt < o.ping_retry; ++attempt) {
      if (CancelRequested()) return false;
      platform::EchoRequest request;
      request.host = host;
      request.ttl = static_cast<std::uint32_t>(o.ping_ttl);
      request.timeout_ms =
          static_cast<std::uint32_t>(std::clamp<std::int64_t>(timeout, 0, 0x7FFFFFFF));
      request.data_size = 32;
      const platform::EchoResult r = o.ping_type == PingMethod::kRawSocket
                                         ? env_.platform.icmp->RawEcho(request)
                                         : env_.platform.icmp->SystemEcho(request);
      if (r.success) return true;
      timeout = NextPingTimeout(timeout, o.ping_retry_multiplier);
    }
    return false;
  }

  void Close(RunResult& result) {
    std::vector<TypedOutput*> outputs;
    for (TypedOutput& out : files_.typed) outputs.push_back(&out);
    units_.clear();  // units close what they opened themselves
    output_.CloseAll(outputs);
    targets_.clear();
    result.output_files = output_.output_files();
    result.write_failures = output_.write_failures();
    result.open_output_window = request_.progress_rows && settings_.open_output_window;
  }

  RunEnvironment& env_;
  const RunRequest& request_;
  RunObserver silent_;
  // Workers and the committing thread take turns at the front end's
  // observer.
  SerialisedObserver serialised_;
  RunObserver& observer_;
  RunOutput output_;
  format::FormatSettings format_;
  RunSettings settings_;
  platform::SessionOptions session_options_;
  DirectoryConnectionSettings directory_;
  RunFiles files_;
  std::vector<ActiveUnit> units_;
  SecurityAccessSink* security_ = nullptr;
  bool computers_needed_ = false;
  std::string object_file_;
  std::string export_date_time_;
  std::vector<tagCObjects> targets_;
  std::unique_ptr<RunRecovery> recovery_;
  std::string journal_path_;
  std::string failed_targets_path_;
  bool resume_refused_ = false;
  std::size_t start_ = 0;  // the first entry of the target list to export
};

}  // namespace

bool UnitSetup::LoadListFile(std::string_view name, format::NameList& list) const {
  constexpr std::string_view kLabel = "Exception List";
  const std::string path = output.ResolveOutputName(name, false);
  if (output.planning()) {
    output.ClaimInput(kLabel, platform::NativePath(path));
    return true;
  }
  if (name.empty()) {
    output.FileOpenFailure(kLabel, path, win::ERROR_FILE_NOT_FOUND);
    return false;
  }
  const format::LoadStatus status = format::LoadNameList(path, list);
  if (!status.ok()) {
    output.FileOpenFailure(kLabel, path, status.error);
    return false;
  }
  return true;
}

RunResult ExportRun(RunEnvironment& environment, const RunRequest& request) {
  Run run(environment, request);
  return run.Execute();
}

}  // namespace tabulon
