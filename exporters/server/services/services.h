#pragma once
#include <cstdint>

#include "engine/exporter_unit.h"
#include "format/name_list.h"
#include "platform/service_control.h"

namespace tabulon {

// Platform filter values of the services enumeration.
struct ServiceSelection {
  std::uint32_t type = 51;  // drivers and services
  std::uint32_t state = platform::kServiceStateAll;
  format::NameList names;  // empty: every service
};

// One Services row per service of the target, in the order the service
// manager returns them. Also runs when only service security is wanted; the
// Services file is then not open and no rows are written.
void ExportServiceRows(ExportContext& context, const ServiceSelection& selection,
                       const tagCObjects& target);

ExporterUnit ServicesUnit();

}  // namespace tabulon
