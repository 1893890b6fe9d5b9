#pragma once
// The user calls of the account database: opening a user by RID, reading
// everything the server keeps about it (UserAllInformation, logon hours
// included), the groups of its domain it belongs to, and the aliases of a
// domain that any of a set of SIDs belongs to. Statuses as in
// samr_codec.h.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/remote/account_codec_support.h"
#include "platform/security.h"
#include "platform/time.h"

namespace tabulon::platform::remote::samr {

inline constexpr std::uint32_t kUserReadGeneral = 0x00000001;
inline constexpr std::uint32_t kUserReadPreferences = 0x00000002;
inline constexpr std::uint32_t kUserReadLogon = 0x00000008;
inline constexpr std::uint32_t kUserReadAccount = 0x00000010;
inline constexpr std::uint32_t kUserListGroups = 0x00000100;

// USER_INFORMATION_CLASS UserAllInformation.
inline constexpr std::uint16_t kUserAllInformation = 21;

// SAMPR_LOGON_HOURS: one bit per unit of the week, lowest bit first.
struct LogonHours {
  std::uint16_t units_per_week = 0;
  std::vector<std::uint8_t> bits;  // (units_per_week + 7) / 8 bytes
};

// SAMPR_USER_ALL_INFORMATION without the password and security fields.
// Times are UTC FILETIMEs: 0 is never; the account expiry and the password
// change times may be 0x7FFFFFFFFFFFFFFF, never as well.
struct UserAllInformation {
  FileTime last_logon = 0;
  FileTime last_logoff = 0;
  FileTime password_last_set = 0;
  FileTime account_expires = 0;
  FileTime password_can_change = 0;
  FileTime password_must_change = 0;
  std::string user_name;
  std::string full_name;
  std::string home_directory;
  std::string home_directory_drive;
  std::string script_path;
  std::string profile_path;
  std::string admin_comment;
  std::string workstations;
  std::string user_comment;
  std::string parameters;
  std::uint32_t user_id = 0;
  std::uint32_t primary_group_id = 0;
  std::uint32_t user_account_control = 0;  // USER_*, see AccountFlagsOf
  std::uint32_t which_fields = 0;
  LogonHours logon_hours;
  std::uint16_t bad_password_count = 0;
  std::uint16_t logon_count = 0;
  std::uint16_t country_code = 0;
  std::uint16_t code_page = 0;
  bool password_expired = false;
};

struct UserInformationReply {
  win::Status status = win::ERROR_SUCCESS;
  UserAllInformation info;
};

// GROUP_MEMBERSHIP.
struct GroupMembership {
  std::uint32_t rid = 0;
  std::uint32_t attributes = 0;  // SE_GROUP_*
};

struct GroupsForUserReply {
  win::Status status = win::ERROR_SUCCESS;
  std::vector<GroupMembership> groups;
};

struct AliasMembershipReply {
  win::Status status = win::ERROR_SUCCESS;
  std::vector<std::uint32_t> alias_rids;
};

// Opening answers with DecodeHandleStatusReply.
std::vector<std::uint8_t> EncodeOpenUser(const ndr::ContextHandle& domain, std::uint32_t access,
                                         std::uint32_t rid);

// SamrQueryInformationUser2 at UserAllInformation.
std::vector<std::uint8_t> EncodeQueryUserAllInformation(const ndr::ContextHandle& user);
UserInformationReply DecodeQueryUserAllInformation(std::span<const std::uint8_t> stub);

std::vector<std::uint8_t> EncodeGetGroupsForUser(const ndr::ContextHandle& user);
GroupsForUserReply DecodeGetGroupsForUser(std::span<const std::uint8_t> stub);

// The aliases of the domain opened as `domain` that have any of `sids` as a
// member (at most 1024 SIDs).
std::vector<std::uint8_t> EncodeGetAliasMembership(const ndr::ContextHandle& domain,
                                                   std::span<const Sid> sids);
AliasMembershipReply DecodeGetAliasMembership(std::span<const std::uint8_t> stub);

}  // namespace tabulon::platform::remote::samr
