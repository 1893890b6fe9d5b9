#pragma once
#include "engine/exporter_unit.h"

namespace tabulon {

// The directory queries enabled by [Templates] DirectoryTemplates: one
// output file each, rows for every directory target.
ExporterUnit DirectoryQueriesUnit();

}  // namespace tabulon
