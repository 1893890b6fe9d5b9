#pragma once
#include "engine/exporter_unit.h"

namespace tabulon {

// One Account/Audit Policies row per target: password and lockout
// settings of its account database and its audit policy.
void ExportPolicyRow(ExportContext& context, const tagCObjects& target);

ExporterUnit PoliciesUnit();

}  // namespace tabulon
