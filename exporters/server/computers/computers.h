#pragma once
#include "engine/exporter_unit.h"

namespace tabulon {

// One Computers row from the target's server information.
void ExportComputerRow(ExportContext& context, const tagCObjects& target);

ExporterUnit ComputersUnit();

}  // namespace tabulon
