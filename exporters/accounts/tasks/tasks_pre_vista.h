#pragma once
#include "engine/exporter_unit.h"

namespace tabulon {

// Scheduled Tasks (Pre-Vista) rows of a computer: one per trigger of every
// Task Scheduler 1.0 work item, or, when that interface cannot be used for
// the computer, one per job of its schedule service ("AT" jobs).
void ExportPreVistaTaskRows(ExportContext& context, const tagCObjects& target);

ExporterUnit TasksUnit();

}  // namespace tabulon
