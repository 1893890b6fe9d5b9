#pragma once
// Switching one export on or off in a configuration, as the overview's Add
// and Delete do: a plain export type by its enable key, a template by its
// name in its kind's list of section Templates.
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/template_kinds.h"
#include "ui/sheet_context.h"

namespace tabulon::ui {

// True when the enabled-template list names `name` (whole names, without
// regard to case, as the template file's sections match).
bool TemplateListed(std::string_view list, std::string_view name);
// The enabled-template list with `name` added: a missing ';' at the end is
// supplied, then the name and ';' appended; unchanged when it is listed.
std::string AddTemplateName(std::string_view list, std::string_view name);
// The list without any entry of `name`, trimmed of ';' at both ends, with
// one ';' after the last name; empty when no name remains.
std::string RemoveTemplateName(std::string_view list, std::string_view name);

// Writes the type's enable key (1 or 0) in its section.
void SetExportTypeEnabled(const Configuration& configuration, std::uint32_t export_type,
                          bool enabled);

enum class EnableOutcome { kDone, kNoOutputFile };
// Adds the template to, or removes it from, its kind's list. Enabling a
// template whose OutputFileName is empty is refused (kNoOutputFile) and
// nothing is written; the caller says so (59533).
EnableOutcome SetTemplateEnabled(const SheetContext& context, TemplateKind kind,
                                 std::string_view name, bool enabled);

// The template kind of an export type; false for a plain type.
bool TemplateKindOfType(std::uint32_t export_type, TemplateKind& kind);

}  // namespace tabulon::ui
