#include "ui/enable_operation.h"

#include <algorithm>
#include <vector>

#include "engine/catalogue.h"
#include "platform/text.h"

namespace tabulon::ui {
namespace {

// Template names are section names, which match without regard to case.
bool SameName(std::string_view a, std::string_view b) {
  return text::EqualsNoCase(a, b);
}

// The list's items between ';', empty ones included.
std::vector<std::string_view> Items(std::string_view list) {
  std::vector<std::string_view> items;
  std::size_t start = 0;
  for (std::size_t end; (end = list.find(';', start)) != std::string_view::npos; start = end + 1) {
    items.push_back(list.substr(start, end - start));
  }
  items.push_back(list.substr(start));
  return items;
}

}  // namespace

bool TemplateListed(std::string_view list, std::string_view name) {
  const auto items = Items(list);
  return std::any_of(items.begin(), items.end(),
                     [name](std::string_view item) { return SameName(item, name); });
}

std::string AddTemplateName(std::string_view list, std::string_view name) {
  if (TemplateListed(list, name)) return std::string(list);
  // A list that names nothing (";" is what an empty selection writes) starts over.
  std::string added =
      list.find_first_not_of(';') == std::string_view::npos ? "" : std::string(list);
  if (!added.empty() && added.back() != ';') added += ';';
  added.append(name);
  added += ';';
  return added;
}

std::string RemoveTemplateName(std::string_view list, std::string_view name) {
  std::string kept;
  bool first = true;
  for (std::string_view item : Items(list)) {
    if (SameName(item, name)) continue;
    if (!first) kept += ';';
    kept.append(item);
    first = false;
  }
  const std::size_t begin = kept.find_first_not_of(';');
  if (begin == std::string::npos) return {};
  const std::size_t end = kept.find_last_not_of(';');
  return kept.substr(begin, end - begin + 1) + ';';
}

void SetExportTypeEnabled(const Configuration& configuration, std::uint32_t export_type,
                          bool enabled) {
  const ExportTypeDescriptor& type = ExportTypeInfo(export_type);
  if (type.section.empty()) return;
  configuration.WriteInt(type.section, type.enable_key, enabled ? 1 : 0);
}

EnableOutcome SetTemplateEnabled(const SheetContext& context, TemplateKind kind,
                                 std::string_view name, bool enabled) {
  const TemplateKindRow& row = TemplateKindInfo(kind);
  const Configuration configuration = context.config();
  const std::string list = configuration.ReadText("Templates", row.list_key, "");
  if (!enabled) {
    configuration.WriteText("Templates", row.list_key, RemoveTemplateName(list, name));
    return EnableOutcome::kDone;
  }
  const Configuration templates(context.profile, context.TemplateFile(kind));
  if (templates.ReadText(name, "OutputFileName", "").empty()) return EnableOutcome::kNoOutputFile;
  configuration.WriteText("Templates", row.list_key, AddTemplateName(list, name));
  return EnableOutcome::kDone;
}

bool TemplateKindOfType(std::uint32_t export_type, TemplateKind& kind) {
  for (const TemplateKindRow& row : kTemplateKinds) {
    if (row.type == export_type && !row.list_key.empty()) {
      kind = row.kind;
      return true;
    }
  }
  return false;
}

}  // namespace tabulon::ui
