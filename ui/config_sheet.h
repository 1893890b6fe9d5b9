#pragma once
// The configuration property sheet ("Export Properties for '%s'"): fifteen
// pages, built from the configuration key table, opened on the page of an
// export type. Cancel writes nothing; OK writes every key of every page.
#include <cstdint>

#include "ui/sheet_context.h"

class QWidget;

namespace tabulon::ui {

// Opens the sheet on the page of `export_type` (page 0 for kNoExportType);
// true when closed with OK, after every key was written.
bool EditConfiguration(QWidget* parent, const SheetContext& context, std::uint32_t export_type);

}  // namespace tabulon::ui
