#pragma once
#include "engine/exporter_unit.h"

namespace tabulon {

// The registry, WMI, file/directory and directory query templates enabled
// by the configuration's template lists. Their output files are prepared
// before the first target, in the order of the export types.
ExporterUnit TemplatesUnit();

}  // namespace tabulon
