#pragma once
#include "engine/exporter_unit.h"

namespace tabulon {

// One Network row per visible network card, read from the target's
// registry: the Windows 2000 and later layout for major version 5 and
// above, the older layout below.
void ExportNetworkRows(ExportContext& context, const tagCObjects& target);

ExporterUnit NetworkUnit();

}  // namespace tabulon
