#pragma once
#include <array>

#include "engine/catalogue.h"

namespace tabulon::catalogue_data {

extern const std::array<ExportTypeDescriptor, kExportTypeCount> kExportTypes;
extern const std::array<FieldDescriptor, kFieldCatalogueSize> kFieldCatalogue;
extern const std::array<ExportSymbol, kExportSymbolCount> kExportSymbols;
extern const std::array<ComputerTypeRow, kComputerTypeCount> kComputerTypes;

}  // namespace tabulon::catalogue_data
