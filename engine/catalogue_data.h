#pragma once
#include <array>
#include <cstdint>

#include "engine/catalogue.h"

namespace tabulon::catalogue_data {

extern const std::array<ExportTypeDescriptor, kExportTypeCount> kExportTypes;
extern const std::array<FieldDescriptor, kFieldCatalogueSize> kFieldCatalogue;
// The row of kFieldCatalogue that holds column 0 of each type, computed from
// the table's block order and the types' field counts.
extern const std::array<std::uint32_t, kExportTypeCount> kFirstCatalogueRow;
extern const std::array<ExportSymbol, kExportSymbolCount> kExportSymbols;
extern const std::array<ComputerTypeRow, kComputerTypeCount> kComputerTypes;

}  // namespace tabulon::catalogue_data
