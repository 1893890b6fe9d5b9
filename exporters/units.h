#pragma once
// The one registration list of exporter units, in the order the run calls
// them for each target.
#include "engine/exporter_unit.h"

namespace tabulon {

ExporterUnits StandardExporterUnits();

}  // namespace tabulon
