#pragma once
#include "engine/exporter_unit.h"

namespace tabulon {

// One Terminal Server Processes row per process of any session of the
// target, with the account name of the process's user.
void ExportTseProcessRows(ExportContext& context, const tagCObjects& target);

ExporterUnit TseProcessesUnit();

}  // namespace tabulon
