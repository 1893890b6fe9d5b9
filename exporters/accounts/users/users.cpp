#include "exporters/accounts/users/users.h"

#include "engine/error_text.h"
#include "engine/messages.h"
#include "engine/object_file.h"
#include "engine/progress.h"
#include "engine/setting_values.h"
#include "exporters/accounts/users/user_rows.h"
#include "exporters/toolkit/domain_controllers.h"
#include "exporters/toolkit/last_logons.h"

namespace tabulon {
namespace {

constexpr std::uint32_t kDomainControllerBits = 0x8 | 0x10;  // PDC, BDC
// From this version a controller's accounts are directory accounts.
constexpr std::uint32_t kFirstDirectoryMajorVersion = 5;

class UsersRun final : public ExporterRun {
 public:
  explicit UsersRun(const Configuration& config)
      : collect_(config.ReadSwitch("Users", "GetLogonInformation")),
        consolidate_(config.ReadChoice<LastLogonChoice>("Users", "LastLogonType") ==
                     LastLogonChoice::kCombined),
        skip_controllers_(config.ReadSwitch("Users", "SkipSpecifiedDomainControllers")) {}

  bool Prepare(UnitSetup& setup) override {
    groups_ = ColumnGroupsOf(setup.files.of(kUsers).columns);
    if (!collect_ || !skip_controllers_ || !setup.config.ReadSwitch("Computers", "SkipEnable")) {
      return true;
    }
    // The computer skip list, which the run has loaded once already.
    const std::string skip_file = setup.config.ReadSettingText("Computers", "SkipFileName");
    has_skip_list_ = !skip_file.empty();
    return !has_skip_list_ || setup.LoadListFile(skip_file, skip_list_);
  }

  bool Wanted(const SecurityAccessSink* /*security*/) const override { return true; }

  void ExportTarget(ExportContext& context, const tagCObjects& target) override {
    if (target.type == kObjectBackupController) return;
    if ((target.server_type & kDomainControllerBits) != 0 &&
        target.major_version >= kFirstDirectoryMajorVersion) {
      return;
    }
    if (groups_.tse && !context.session.terminal().Libraries().terminal_services &&
        context.output.AskYesNo(MessageText(kMsgTseLibrariesMissing), false)) {
      return;
    }
    if (target.type == kObjectDomainController && collect_) {
      ExportDomain(context, target);
      return;
    }
    ExportComputerUsers(context, target, groups_, domain_sids_, nullptr);
  }

 private:
  void ExportDomain(ExportContext& context, const tagCObjects& pdc) {
    // What this domain's controllers say; read by its consolidated export
    // only.
    LastLogonMap last_logons;
    const std::vector<std::string> controllers =
        DomainControllers(context.session, pdc.path, has_skip_list_ ? &skip_list_ : nullptr);
    for (const std::string& name : controllers) {
      if (context.StopRequested()) return;  // the run ends after this target
      tagCObjects controller = pdc;
      controller.display_name = name;
      controller.path = name.starts_with('\\') ? name : "\\\\" + name;
      if (!Reachable(context, controller)) continue;
      if (consolidate_) {
        CollectLastLogons(context, controller, last_logons);
      } else {
        ExportComputerUsers(context, controller, groups_, domain_sids_, nullptr);
      }
    }
    if (consolidate_ && !context.StopRequested()) {
      ExportComputerUsers(context, pdc, groups_, domain_sids_, &last_logons);
    }
  }

  // Reads the controller's server information into it; a controller that
  // does not answer is reported and passed over.
  static bool Reachable(ExportContext& context, tagCObjects& controller) {
    const platform::ServerInfoResult info =
        context.session.server().NetServerGetInfo101(controller.path);
    if (info.status != win::ERROR_SUCCESS) {
      context.output.AddProgressRow(controller.display_name,
                                    FormatMessageId(kMsgNoComputerInformation, {controller.path}) +
                                        WindowsErrorText(info.status),
                                    0, ProgressKind::kFailure);
      return false;
    }
    controller.major_version = info.info.version_major;
    controller.minor_version = info.info.version_minor;
    controller.server_type = info.info.type;
    controller.server_name = info.info.name;
    controller.server_comment = info.info.comment;
    return true;
  }

  DomainSidCache domain_sids_;  // for this run only
  const bool collect_;
  const bool consolidate_;
  const bool skip_controllers_;
  UserColumnGroups groups_;
  bool has_skip_list_ = false;
  format::NameList skip_list_;
};

std::unique_ptr<ExporterRun> StartUsers(const Configuration& config,
                                        const EnabledExports& enabled) {
  if (!enabled[kUsers] && !enabled[kUserGroups]) return nullptr;
  return std::make_unique<UsersRun>(config);
}

constexpr ExportType kTypes[] = {kUsers, kUserGroups};

}  // namespace

ExporterUnit UsersUnit() {
  return {.name = "users", .types = kTypes, .start = StartUsers};
}

}  // namespace tabulon
