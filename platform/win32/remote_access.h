#pragma once
// Dial-in permissions (platform/remote_access.h): MprAdminUserGetInfo of
// mprapi, and RasAdminUserGetInfo of rassapi where this computer still has
// that library (found at run time: current systems do not).
#include <cstddef>
#include <memory>

#include "platform/bounded_calls.h"
#include "platform/remote_access.h"

namespace tabulon::platform::win32 {

// RAS_USER_0 as our struct: `phone` is the record's fixed array of
// `capacity` units, read to its terminator and never past
// kMaxPhoneNumberLength units or the array.
RasUser0 RasUserOf(std::uint8_t privilege, const wchar_t* phone, std::size_t capacity);

class Win32RemoteAccess final : public RemoteAccess {
 public:
  // `calls` runs every call; it must outlive this object.
  explicit Win32RemoteAccess(BoundedCalls& calls);
  ~Win32RemoteAccess() override;

  bool Available() override;
  RasUserResult MprAdminUserGetInfo(std::string_view server, std::string_view user,
                                    std::uint32_t level) override;
  RasUserResult RasAdminUserGetInfo(std::string_view server, std::string_view user) override;

  struct Rassapi;

 private:
  BoundedCalls& calls_;
  // Loaded on first use on the session's worker; freed there.
  std::shared_ptr<Rassapi> rassapi_;
};

}  // namespace tabulon::platform::win32
