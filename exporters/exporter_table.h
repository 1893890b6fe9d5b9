#pragma once
// The exporters of a computer target, in the order the run calls them.
#include "engine/run_context.h"

namespace tabulon {

ExporterTable StandardExporters();

}  // namespace tabulon
