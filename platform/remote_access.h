#pragma once
// Dial-in permissions of user accounts, after the remote-access
// administration functions: MprAdminUserGetInfo of mprapi and the older
// RasAdminUserGetInfo of rassapi, which both answer a RAS_USER_0. The record
// comes back as a value instead of a buffer to fill. rassapi is optional on
// the computer the program runs on: `Available()` says what the start-up
// probe found, and the users export leaves its dial-in columns unformatted
// without it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace tabulon::platform {

// RASPRIV_* bits of RAS_USER_0's bfPrivilege. The low three bits are the
// callback setting.
inline constexpr std::uint8_t kRasPrivNoCallback = 0x1;
inline constexpr std::uint8_t kRasPrivAdminSetCallback = 0x2;
inline constexpr std::uint8_t kRasPrivCallerSetCallback = 0x4;
inline constexpr std::uint8_t kRasPrivDialinPrivilege = 0x8;

// MAX_PHONE_NUMBER_LEN: the characters wszPhoneNumber holds without its
// terminator.
inline constexpr std::size_t kMaxPhoneNumberLength = 48;

// RAS_USER_0.
struct RasUser0 {
  std::uint8_t privilege = 0;  // bfPrivilege
  std::string phone_number;    // wszPhoneNumber: the callback number
  bool operator==(const RasUser0&) const = default;
};

struct RasUserResult {
  win::Status status = win::ERROR_SUCCESS;
  RasUser0 user;
};

class RemoteAccess {
 public:
  virtual ~RemoteAccess() = default;

  // Whether the probe found rassapi with RasAdminUserGetInfo on the
  // computer the program runs on. A call made without it fails with a
  // Windows status instead of answering.
  virtual bool Available() = 0;

  // MprAdminUserGetInfo: the account `user` of the database `server`
  // ("\\NAME") answers from; level 0 gives RAS_USER_0.
  virtual RasUserResult MprAdminUserGetInfo(std::string_view server, std::string_view user,
                                            std::uint32_t level) = 0;
  // RasAdminUserGetInfo: the same for systems before mprapi, with the
  // server that holds the account (lpszUserAccountServer).
  virtual RasUserResult RasAdminUserGetInfo(std::string_view server, std::string_view user) = 0;
};

}  // namespace tabulon::platform
