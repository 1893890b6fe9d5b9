#pragma once
// "Export Configuration File Locations": the configuration's object file and
// its four template files. A blank template file name means the default file.
#include "ui/sheet_context.h"

class QWidget;

namespace tabulon::ui {

// Writes the five names when closed with OK; true then.
bool EditFileLocations(QWidget* parent, const SheetContext& context);

}  // namespace tabulon::ui
