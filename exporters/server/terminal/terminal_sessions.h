#pragma once
#include "engine/exporter_unit.h"

namespace tabulon {

// One Terminal Server Sessions row per session of the target. Each session
// costs one query per selected column group and nothing for the others.
void ExportTseSessionRows(ExportContext& context, const tagCObjects& target);

ExporterUnit TseSessionsUnit();

}  // namespace tabulon
