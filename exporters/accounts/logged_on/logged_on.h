#pragma once
#include "engine/exporter_unit.h"

namespace tabulon {

// One Logged On Users row per user profile loaded on the target: the
// subkeys of its HKEY_USERS named after a SID.
void ExportLoggedOnRows(ExportContext& context, const tagCObjects& target);

ExporterUnit LoggedOnUnit();

}  // namespace tabulon
