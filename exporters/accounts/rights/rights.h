#pragma once
#include "engine/exporter_unit.h"

namespace tabulon {

// One User Rights row per account holding each right of the fixed list, on
// the target's local security policy.
void ExportRightsRows(ExportContext& context, const tagCObjects& target);

ExporterUnit RightsUnit();

}  // namespace tabulon
