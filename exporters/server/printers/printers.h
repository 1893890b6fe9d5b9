#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/exporter_unit.h"

namespace tabulon {

// One Printers row per printer of a computer target, or the one printer of
// a printer target. Also runs when only printer security is wanted; the
// Printers file is then not open and no rows are written.
void ExportPrinterRows(ExportContext& context, const tagCObjects& target);

// Names of the set bits in table order (not bit order), joined by the
// secondary delimiter.
std::string PrinterAttributeNames(std::uint32_t attributes, std::string_view delimiter);
std::string PrinterStatusNames(std::uint32_t status, std::string_view delimiter);

ExporterUnit PrintersUnit();

}  // namespace tabulon
