#pragma once
#include "engine/exporter_unit.h"

namespace tabulon {

// Scheduled Tasks (Vista & Later) rows of a computer: one per registered
// task in the whole Task Scheduler 2.0 folder tree, hidden tasks included,
// with a sentence for a task's only trigger.
void ExportVistaTaskRows(ExportContext& context, const tagCObjects& target);

ExporterUnit TasksNewUnit();

}  // namespace tabulon
