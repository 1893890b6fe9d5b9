#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "engine/run_context.h"

namespace tabulon {

// One Disk Drives row per drive reachable through a share that the drive
// masks name. Drives that cannot be measured are left out; the export never
// reports a failure.
void ExportDriveRows(ExportContext& context, const tagCObjects& target);

// The share-name patterns of a DrivesMask setting: every piece ended by ";"
// and a non-empty last piece; an empty setting is "%s$".
std::vector<std::string> DrivePatterns(std::string_view mask);

}  // namespace tabulon
