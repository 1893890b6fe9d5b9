#pragma once
// WMI through the system's own COM client: the locator, namespace
// connections, query enumerators, each held in the family's object table
// and used only on the session's worker thread, which impersonates the
// session's logon and has joined the multi-threaded apartment.
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/bounded_calls.h"
#include "platform/win32/com_objects.h"
#include "platform/wmi.h"

namespace tabulon::platform::win32 {

// Bound on the properties copied from one instance.
inline constexpr std::size_t kMaxWmiProperties = 4096;

class Win32Wmi final : public Wmi {
 public:
  explicit Win32Wmi(BoundedCalls& calls);
  // Releases what the caller left open, on the worker thread.
  ~Win32Wmi() override;

  WmiObjectResult CreateLocator() override;
  WmiObjectResult ConnectServer(WmiObject locator, std::string_view namespace_path) override;
  win::Status SetProxyBlanket(WmiObject services) override;
  WmiObjectResult ExecQuery(WmiObject services, std::string_view language, std::string_view query,
                            std::uint32_t flags) override;
  WmiNextResult Next(WmiObject enumerator, std::uint32_t timeout_ms) override;
  void Release(WmiObject object) override;

 private:
  BoundedCalls& calls_;
  std::shared_ptr<ComObjects> objects_;
};

}  // namespace tabulon::platform::win32
