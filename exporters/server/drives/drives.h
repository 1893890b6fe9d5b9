#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/exporter_unit.h"

namespace tabulon {

struct DriveOptions {
  std::string mask;
  std::int32_t size_format = 1;
};

// One Disk Drives row per drive reachable through a share that the drive
// masks name. Drives that cannot be measured are left out; the export never
// reports a failure.
void ExportDriveRows(ExportContext& context, const DriveOptions& options,
                     const tagCObjects& target);

ExporterUnit DrivesUnit();

// The share-name patterns of a DrivesMask setting: every piece ended by ";"
// and a non-empty last piece; an empty setting is "%s$".
std::vector<std::string> DrivePatterns(std::string_view mask);

}  // namespace tabulon
