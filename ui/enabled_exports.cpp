#include "ui/enabled_exports.h"

#include "engine/catalogue.h"
#include "engine/template_kinds.h"

namespace tabulon::ui {
namespace {

const TemplateKindRow* TemplateKindOfType(std::uint32_t type) {
  for (const TemplateKindRow& kind : kTemplateKinds) {
    if (kind.type == type && !kind.list_key.empty()) return &kind;
  }
  return nullptr;
}

}  // namespace

std::vector<EnabledExportRow> EnabledExports(const Configuration& configuration) {
  std::vector<EnabledExportRow> rows;
  const auto types = ExportTypes();
  for (std::uint32_t t = 0; t < kExportTypeCount; ++t) {
    const ExportTypeDescriptor& d = types[t];
    if (const TemplateKindRow* kind = TemplateKindOfType(t)) {
      const std::vector<std::string> names = configuration.ReadTemplateList(kind->list_key);
      if (names.empty()) continue;
      rows.push_back({t, std::string(d.settings_label), false});
      for (const std::string& name : names) rows.push_back({t, name, true});
      continue;
    }
    // Enabled means exactly 1 here, as the list shows what the file says.
    if (configuration.ReadInt(d.section, d.enable_key, 0) == 1) {
      rows.push_back({t, std::string(d.settings_label), false});
    }
  }
  if (rows.empty()) rows.push_back({kNoExportType, "[None]", false});
  return rows;
}

}  // namespace tabulon::ui
