#pragma once
#include <string>
#include <string_view>

#include "engine/exporter_unit.h"

namespace tabulon {

// One Protocols row per transport the target's workstation service is
// bound to.
void ExportProtocolRows(ExportContext& context, const tagCObjects& target);

// "00C04F123456" as "00-C0-4F-12-34-56"; an odd last character stays alone.
std::string FormatMacAddress(std::string_view address);

ExporterUnit ProtocolsUnit();

}  // namespace tabulon
