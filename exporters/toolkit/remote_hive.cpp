#include "exporters/toolkit/remote_hive.h"

#include "engine/error_text.h"
#include "engine/messages.h"
#include "exporters/toolkit/handle_guard.h"

namespace tabulon {

std::string ReadRemoteHive(ExportContext& context, const tagCObjects& target,
                           platform::RegistryKey hive,
                           const std::function<void(platform::RegistryKey)>& read) {
  platform::Registry& registry = context.session.registry();
  const platform::RegistryKeyResult connected = registry.ConnectRegistry(target.path, hive);
  if (connected.status != win::ERROR_SUCCESS) {
    return FormatMessageId(kMsgRegistryConnect, {target.path}) + WindowsErrorText(connected.status);
  }
  const HandleGuard close(connected.key,
                          [&registry](platform::RegistryKey k) { registry.CloseKey(k); });
  read(connected.key);
  return {};
}

}  // namespace tabulon
