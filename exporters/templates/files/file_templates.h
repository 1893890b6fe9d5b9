#pragma once
#include "engine/exporter_unit.h"

namespace tabulon {

// The file/directory templates enabled by [Templates] FileTemplates: one
// output file each (with the catalogue's file columns), rows for every
// computer target.
ExporterUnit FileTemplatesUnit();

}  // namespace tabulon
