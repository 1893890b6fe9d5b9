#pragma once
#include "engine/exporter_unit.h"

namespace tabulon {

// The security access export: the sink that the services, shares, printers,
// registry and file exporters hand their objects to.
ExporterUnit SecurityAccessUnit();

}  // namespace tabulon
