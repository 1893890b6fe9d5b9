#pragma once
// The sheet's "Other" page: the export types without a page of their own,
// listed with their output file, each ticked when enabled; "Properties..."
// (or a double-click) opens "Export Properties" for the selected type. The
// values are the sheet's and are written when it closes with OK.
#include <cstdint>
#include <vector>

#include "ui/key_controls.h"

class QWidget;

namespace tabulon::ui {

struct OtherExport {
  std::uint32_t type;
  KeyControl* enable;
  KeyControl* file;
  KeyControl* columns;
};

QWidget* MakeOtherExportsPage(std::vector<OtherExport> exports);

// "Export Properties" for one type: "Enable Exporting", the output file
// and "Customize Output Columns..."; true when closed with OK, after the
// values were given to the type's controls.
bool EditOtherExport(QWidget* parent, const OtherExport& item);

}  // namespace tabulon::ui
