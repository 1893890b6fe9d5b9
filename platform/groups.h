#pragma once
// The groups of an account database (SAM), after the NetAPI32 local group
// and global group functions: the same levels, resume handles and
// ERROR_MORE_DATA paging as network management, records returned as values.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/security.h"
#include "platform/sizes.h"
#include "platform/status.h"

namespace tabulon::platform {

// LOCALGROUP_INFO_1.
struct LocalGroupInfo1 {
  std::string name;
  std::string comment;
};

// One page of NetLocalGroupEnum level 1.
struct LocalGroupEnumResult {
  win::Status status = win::ERROR_SUCCESS;  // or ERROR_MORE_DATA
  std::vector<LocalGroupInfo1> entries;
  std::uint32_t total_entries = 0;
  std::uint32_t resume_handle = 0;
};

// LOCALGROUP_MEMBERS_INFO_2. A SID that no longer resolves is listed with
// the usage SidTypeDeletedAccount or SidTypeUnknown and its string form as
// the name.
struct LocalGroupMembersInfo2 {
  Sid sid;
  SidNameUse sid_usage = SidNameUse::kUser;
  std::string domain_and_name;  // "DOMAIN\account"
};

// One page of NetLocalGroupGetMembers level 2.
struct LocalGroupMembersResult {
  win::Status status = win::ERROR_SUCCESS;  // or ERROR_MORE_DATA
  std::vector<LocalGroupMembersInfo2> entries;
  std::uint32_t total_entries = 0;
  std::uint32_t resume_handle = 0;
};

struct LocalGroupInfoResult {
  win::Status status = win::ERROR_SUCCESS;
  LocalGroupInfo1 info;
};

// GROUP_INFO_1.
struct GroupInfo1 {
  std::string name;
  std::string comment;
};

struct GroupInfoResult {
  win::Status status = win::ERROR_SUCCESS;
  GroupInfo1 info;
};

// GROUP_USERS_INFO_0: a member's bare account name.
struct GroupUsersInfo0 {
  std::string name;
};

// One page of NetGroupGetUsers level 0.
struct GroupUsersResult {
  win::Status status = win::ERROR_SUCCESS;  // or ERROR_MORE_DATA
  std::vector<GroupUsersInfo0> entries;
  std::uint32_t total_entries = 0;
  std::uint32_t resume_handle = 0;
};

// Buffer sizes as a 32-bit process counts them, for paging.
inline std::uint32_t LocalGroupInfo1Bytes(const LocalGroupInfo1& group) {
  return 8 + WideStringBytes(group.name) + WideStringBytes(group.comment);
}
inline std::uint32_t LocalGroupMembersInfo2Bytes(const LocalGroupMembersInfo2& member) {
  return 12 + member.sid.ByteSize() + WideStringBytes(member.domain_and_name);
}
inline std::uint32_t GroupUsersInfo0Bytes(const GroupUsersInfo0& user) {
  return 4 + WideStringBytes(user.name);
}

// The calls take the server as "\\NAME", "NAME" or a DNS name; on a domain
// controller they answer from the domain's database. A group that does not
// exist gives NERR_GroupNotFound.
class GroupService {
 public:
  virtual ~GroupService() = default;

  // NetLocalGroupEnum level 1.
  virtual LocalGroupEnumResult NetLocalGroupEnum1(std::string_view server,
                                                  std::uint32_t preferred_max_length,
                                                  std::uint32_t resume_handle) = 0;
  // NetLocalGroupGetMembers level 2.
  virtual LocalGroupMembersResult NetLocalGroupGetMembers2(std::string_view server,
                                                           std::string_view group,
                                                           std::uint32_t preferred_max_length,
                                                           std::uint32_t resume_handle) = 0;
  // NetLocalGroupGetInfo level 1.
  virtual LocalGroupInfoResult NetLocalGroupGetInfo1(std::string_view server,
                                                     std::string_view group) = 0;
  // NetGroupGetInfo level 1.
  virtual GroupInfoResult NetGroupGetInfo1(std::string_view server, std::string_view group) = 0;
  // NetGroupGetUsers level 0.
  virtual GroupUsersResult NetGroupGetUsers0(std::string_view server, std::string_view group,
                                             std::uint32_t preferred_max_length,
                                             std::uint32_t resume_handle) = 0;
};

}  // namespace tabulon::platform
