#pragma once
#include "engine/exporter_unit.h"

namespace tabulon {

// The registry templates enabled by [Templates] RegistryTemplates: one
// output file each, rows for every computer target.
ExporterUnit RegistryTemplatesUnit();

}  // namespace tabulon
