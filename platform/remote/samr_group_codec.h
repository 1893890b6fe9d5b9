#pragma once
// The group and alias calls of the account database: opening one by RID,
// its general information (name, comment, member count) and its members:
// RIDs with attributes for a group, SIDs for an alias. Statuses as in
// samr_codec.h.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/remote/account_codec_support.h"
#include "platform/security.h"

namespace tabulon::platform::remote::samr {

inline constexpr std::uint32_t kGroupReadInformation = 0x00000001;
inline constexpr std::uint32_t kGroupListMembers = 0x00000010;
inline constexpr std::uint32_t kAliasListMembers = 0x00000004;
inline constexpr std::uint32_t kAliasReadInformation = 0x00000008;

// GroupGeneralInformation and AliasGeneralInformation.
inline constexpr std::uint16_t kGroupGeneralInformation = 1;
inline constexpr std::uint16_t kAliasGeneralInformation = 1;

// SAMPR_GROUP_GENERAL_INFORMATION.
struct GroupGeneralInformation {
  std::string name;
  std::uint32_t attributes = 0;  // SE_GROUP_*
  std::uint32_t member_count = 0;
  std::string admin_comment;
};

struct GroupInformationReply {
  win::Status status = win::ERROR_SUCCESS;
  GroupGeneralInformation info;
};

// SAMPR_ALIAS_GENERAL_INFORMATION.
struct AliasGeneralInformation {
  std::string name;
  std::uint32_t member_count = 0;
  std::string admin_comment;
};

struct AliasInformationReply {
  win::Status status = win::ERROR_SUCCESS;
  AliasGeneralInformation info;
};

struct GroupMembersReply {
  win::Status status = win::ERROR_SUCCESS;
  std::vector<std::uint32_t> rids;
  std::vector<std::uint32_t> attributes;  // one per RID
};

struct AliasMembersReply {
  win::Status status = win::ERROR_SUCCESS;
  std::vector<Sid> members;
};

// Opening answers with DecodeHandleStatusReply.
std::vector<std::uint8_t> EncodeOpenGroup(const ndr::ContextHandle& domain, std::uint32_t access,
                                          std::uint32_t rid);
std::vector<std::uint8_t> EncodeOpenAlias(const ndr::ContextHandle& domain, std::uint32_t access,
                                          std::uint32_t rid);

std::vector<std::uint8_t> EncodeQueryGroupGeneral(const ndr::ContextHandle& group);
GroupInformationReply DecodeQueryGroupGeneral(std::span<const std::uint8_t> stub);
std::vector<std::uint8_t> EncodeQueryAliasGeneral(const ndr::ContextHandle& alias);
AliasInformationReply DecodeQueryAliasGeneral(std::span<const std::uint8_t> stub);

std::vector<std::uint8_t> EncodeGetMembersInGroup(const ndr::ContextHandle& group);
GroupMembersReply DecodeGetMembersInGroup(std::span<const std::uint8_t> stub);
std::vector<std::uint8_t> EncodeGetMembersInAlias(const ndr::ContextHandle& alias);
AliasMembersReply DecodeGetMembersInAlias(std::span<const std::uint8_t> stub);

}  // namespace tabulon::platform::remote::samr
