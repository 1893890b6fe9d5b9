#include "exporters/security/security_access.h"

#include "engine/messages.h"
#include "exporters/security/access_rows.h"
#include "platform/netapi.h"

namespace tabulon {
namespace {

struct SecuritySettings {
  bool share = false;
  bool share_file = true;
  bool share_printer = true;
  bool share_admin = true;
  bool share_hidden = true;
  bool share_folder = true;
  bool owner = false;
  bool printer = false;
  bool service = false;
  bool registry = false;
  bool file = false;
  bool specific_trustees = false;
  format::NameList trustees;
};

SecuritySettings ReadSecuritySettings(const Configuration& config) {
  SecuritySettings s;
  s.share = config.ReadSwitch("Security", "ExportShareSecurity");
  s.share_file = config.ReadSwitch("Security", "ExportShareSecurityFile");
  s.share_printer = config.ReadSwitch("Security", "ExportShareSecurityPrinter");
  s.share_admin = config.ReadSwitch("Security", "ExportShareSecurityAdmin");
  s.share_hidden = config.ReadSwitch("Security", "ExportShareSecurityHidden");
  s.share_folder = config.ReadSwitch("Security", "ExportShareSecurityFolder");
  s.owner = config.ReadSwitch("Security", "ExportOwnerSecurity");
  s.printer = config.ReadSwitch("Security", "ExportPrinterSecurity");
  s.service = config.ReadSwitch("Security", "ExportServiceSecurity");
  s.registry = config.ReadSwitch("Security", "ExportRegistrySecurity");
  s.file = config.ReadSwitch("Security", "ExportFileSecurity");
  s.specific_trustees = config.ReadSwitch("Security", "ExportSpecificTrustees");
  return s;
}

// Which shares the share settings select; hidden disk shares have their own
// switch.
bool ShareSelected(const SecurityObject& share, const SecuritySettings& s) {
  switch (share.share_type) {
    case platform::kStypePrintq:
      return s.share_printer;
    case platform::kStypeSpecial:
      return s.share_admin;
    case platform::kStypeDisktree:
      return share.name.ends_with('$') ? s.share_hidden : s.share_file;
    default:
      return false;
  }
}

class SecurityAccessRun final : public ExporterRun, public SecurityAccessSink {
 public:
  explicit SecurityAccessRun(const Configuration& config)
      : settings_(ReadSecuritySettings(config)) {}

  bool Prepare(UnitSetup& setup) override {
    if (settings_.file && setup.config.ReadTemplateList("FileTemplates").empty()) {
      setup.output.GeneralFailure(MessageText(kMsgFileTemplatesRequired));
      return false;
    }
    if (!settings_.specific_trustees) return true;
    return setup.LoadListFile(setup.config.ReadSettingText("Security", "SpecificFileName"),
                              settings_.trustees);
  }
  SecurityAccessSink* security_sink() override { return this; }
  // The sink is fed by the other exporters; it visits no target itself.
  bool Wanted(const SecurityAccessSink* /*security*/) const override { return false; }
  void ExportTarget(ExportContext& /*context*/, const tagCObjects& /*target*/) override {}

  bool Wants(SecurityObjectKind kind) const override {
    switch (kind) {
      case SecurityObjectKind::kService:
        return settings_.service;
      case SecurityObjectKind::kShare:
      case SecurityObjectKind::kShareFolder:
        return settings_.share;
      case SecurityObjectKind::kPrinter:
        return settings_.printer;
      case SecurityObjectKind::kRegistryKey:
        return settings_.registry;
      case SecurityObjectKind::kFile:
      case SecurityObjectKind::kDirectory:
        return settings_.file;
    }
    return false;
  }

  void HandOver(ExportContext& context, const tagCObjects& target,
                const SecurityObject& object) override {
    if (!Wants(object.kind)) return;
    if (object.kind == SecurityObjectKind::kShare && !ShareSelected(object, settings_)) return;
    if (object.kind == SecurityObjectKind::kShareFolder &&
        (!settings_.share_folder || !ShareSelected(object, settings_))) {
      return;
    }
    // Only the share itself is the administrative one, not its folder.
    const bool special =
        object.kind == SecurityObjectKind::kShare && object.share_type == platform::kStypeSpecial;
    ExportObjectSecurity(context, target, object, special,
                         {.owner = settings_.owner, .trustees = &settings_.trustees});
  }

 private:
  SecuritySettings settings_;
};

constexpr ExportType kTypes[] = {kSecurity};

}  // namespace

ExporterUnit SecurityAccessUnit() {
  return {.name = "security access",
          .types = kTypes,
          .start = [](const Configuration& config,
                      const EnabledExports& enabled) -> std::unique_ptr<ExporterRun> {
            if (!enabled[kSecurity]) return nullptr;
            return std::make_unique<SecurityAccessRun>(config);
          }};
}

}  // namespace tabulon
