#pragma once
#include "engine/exporter_unit.h"

namespace tabulon {

// One Open Files row per file of the target opened over the network.
void ExportOpenFileRows(ExportContext& context, const tagCObjects& target);

ExporterUnit OpenFilesUnit();

}  // namespace tabulon
