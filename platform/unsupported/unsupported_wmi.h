#pragma once
// WMI where no backend can reach it: the locator is a local object and is
// made, but no namespace connection succeeds. ConnectServer fails the way a
// Windows client's does when the computer's WMI service cannot be reached,
// with the RPC server unavailable (0x800706BA), so each target reports the
// failure instead of an empty export.
#include "platform/wmi.h"

namespace tabulon::unsupported {

class UnsupportedWmi final : public platform::Wmi {
 public:
  platform::WmiObjectResult CreateLocator() override;
  platform::WmiObjectResult ConnectServer(platform::WmiObject locator,
                                          std::string_view namespace_path) override;
  win::Status SetProxyBlanket(platform::WmiObject services) override;
  platform::WmiObjectResult ExecQuery(platform::WmiObject services, std::string_view language,
                                      std::string_view query, std::uint32_t flags) override;
  platform::WmiNextResult Next(platform::WmiObject enumerator, std::uint32_t timeout_ms) override;
  // The locator holds nothing, so there is nothing to free.
  void Release(platform::WmiObject /*object*/) override {}
};

}  // namespace tabulon::unsupported
