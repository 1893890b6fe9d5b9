#pragma once
// A hive of a target's registry, connected for one export and closed after
// it: what the registry-based exports share.
#include <functional>
#include <string>

#include "engine/run_context.h"
#include "platform/registry.h"

namespace tabulon {

// Connects to `hive` of the target's registry and gives it to `read`, then
// closes it. Empty when the connection worked; otherwise the export's
// failure: "Unable to connect to registry on '<path>'. " and the Windows
// error text.
std::string ReadRemoteHive(ExportContext& context, const tagCObjects& target,
                           platform::RegistryKey hive,
                           const std::function<void(platform::RegistryKey)>& read);

}  // namespace tabulon
