#pragma once
// Account database settings (platform/user_modals.h) on NetUserModalsGet.
#include "platform/bounded_calls.h"
#include "platform/user_modals.h"

namespace tabulon::platform::win32 {

class Win32UserModals final : public UserModals {
 public:
  // `calls` runs every call; it must outlive this object.
  explicit Win32UserModals(BoundedCalls& calls) : calls_(calls) {}

  UserModals0Result NetUserModalsGet0(std::string_view server) override;
  UserModals2Result NetUserModalsGet2(std::string_view server) override;
  UserModals3Result NetUserModalsGet3(std::string_view server) override;

 private:
  BoundedCalls& calls_;
};

}  // namespace tabulon::platform::win32
