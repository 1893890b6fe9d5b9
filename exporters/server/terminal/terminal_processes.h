#pragma once
#include "engine/exporter_unit.h"
#include "exporters/toolkit/once_question.h"

namespace tabulon {

// One Terminal Server Processes row per process of any session of the
// target, with the account name of the process's user.
void ExportTseProcessRows(ExportContext& context, OnceQuestion& missing_library,
                          const tagCObjects& target);

ExporterUnit TseProcessesUnit();

}  // namespace tabulon
