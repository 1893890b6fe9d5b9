#include "exporters/exporter_table.h"

#include "exporters/server/computers.h"
#include "exporters/server/services.h"

namespace tabulon {
namespace {

bool WantServices(const RunOptions& o) {
  return o.is_enabled(kServices) || o.security.service;
}
bool WantComputers(const RunOptions& o) {
  return o.is_enabled(kComputers);
}

// Exports that do not exist yet are simply absent; the run keeps this order.
constexpr ExporterEntry kExporters[] = {
    {"services", WantServices, ExportServiceRows},
    {"computers", WantComputers, ExportComputerRow},
};

}  // namespace

ExporterTable StandardExporters() {
  return kExporters;
}

}  // namespace tabulon
