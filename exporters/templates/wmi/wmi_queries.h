#pragma once
#include "engine/exporter_unit.h"

namespace tabulon {

// The WMI query templates enabled by [Templates] WmiTemplates: one output
// file each, rows for every computer target.
ExporterUnit WmiQueriesUnit();

}  // namespace tabulon
