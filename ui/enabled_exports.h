#pragma once
// The rows of an "Enabled Exports" list (the main window's pane, and the
// configuration list's preview): every plain export type whose enable key
// is 1, and every template type with at least one enabled template followed
// by one row per template, in export type order; "[None]" alone when the
// configuration enables nothing.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/configuration.h"

namespace tabulon::ui {

struct EnabledExportRow {
  std::uint32_t export_type = 0;  // kNoExportType for the "[None]" row
  std::string text;               // the type's settings label, or the template's name
  bool is_template = false;       // a template's row under its type's row
};

std::vector<EnabledExportRow> EnabledExports(const Configuration& configuration);

}  // namespace tabulon::ui
