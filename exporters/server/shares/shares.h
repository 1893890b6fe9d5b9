#pragma once
#include "engine/exporter_unit.h"

namespace tabulon {

struct ShareOptions {
  bool show_file = true;
  bool show_print = true;
  bool show_hidden = true;
  bool show_admin = true;
};

// Shares and share connections of the target from one pass over its share
// list, which also hands the shares and their folders to the security access
// export. Runs when any of the three wants the list.
void ExportShareRows(ExportContext& context, const ShareOptions& show, const tagCObjects& target);

ExporterUnit SharesUnit();

}  // namespace tabulon
