#pragma once
#include "engine/exporter_unit.h"

namespace tabulon {

// One File Server Sessions row per client session of the target; a server
// that refuses level 502 is asked again at level 1, without transports.
void ExportSessionRows(ExportContext& context, const tagCObjects& target);

ExporterUnit SessionsUnit();

}  // namespace tabulon
