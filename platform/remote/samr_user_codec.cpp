#include "platform/remote/samr_user_codec.h"

#include <utility>

#include "platform/remote/codec_support.h"

namespace tabulon::platform::remote::samr {
namespace {

using ndr::NdrReader;
using ndr::NdrWriter;

// SAMPR_USER_INFO_BUFFER: no arm holds a 64-bit scalar.
constexpr std::size_t kUserUnionAlignment = 4;
// GROUP_MEMBERSHIP: RID and attributes.
constexpr std::size_t kGroupMembershipWireSize = 8;

// RPC_SHORT_BLOB (the password hashes, which servers send empty): lengths
// in bytes and a pointer to the 16-bit units. Checked, then dropped.
void SkipShortBlob(NdrReader& r) {
  const std::uint16_t length = r.U16();
  const std::uint16_t maximum = r.U16();
  if (length > maximum) r.Fail();
  r.Pointer([&r, length, maximum] {
    const std::uint32_t max_count = r.U32();
    const std::uint32_t actual = r.VaryingCount(max_count, 2, 0);
    if (max_count != maximum / 2u || actual != length / 2u) r.Fail();
    for (std::uint32_t i = 0; i < actual; ++i) r.U16();
  });
}

// SAMPR_SR_SECURITY_DESCRIPTOR: the length and a pointer to the bytes.
// Checked, then dropped.
void SkipSecurityDescriptor(NdrReader& r) {
  const std::uint32_t length = r.U32();
  r.Pointer([&r, length] {
    if (r.ConformantBytes().size() != length) r.Fail();
  });
}

// SAMPR_LOGON_HOURS: the unit count and a pointer to a varying array of
// (units + 7) / 8 bytes.
void ReadLogonHours(NdrReader& r, LogonHours& hours) {
  hours.units_per_week = r.U16();
  r.Pointer([&r, &hours] {
    const std::uint32_t max_count = r.U32();
    const std::uint32_t actual = r.VaryingCount(max_count, 1, 1);
    if (actual != (hours.units_per_week + 7u) / 8u) r.Fail();
    if (!r.ok()) return;
    hours.bits.resize(actual);
    for (std::uint8_t& byte : hours.bits) byte = r.U8();
  });
}

}  // namespace

std::vector<std::uint8_t> EncodeOpenUser(const ndr::ContextHandle& domain, std::uint32_t access,
                                         std::uint32_t rid) {
  return EncodeOpenByRid(domain, access, rid);
}

std::vector<std::uint8_t> EncodeQueryUserAllInformation(const ndr::ContextHandle& user) {
  return EncodeInformationQuery(user, kUserAllInformation);
}

UserInformationReply DecodeQueryUserAllInformation(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  UserInformationReply reply;
  UserAllInformation& u = reply.info;
  std::string private_data;
  const bool present = ReadInformationUnion(r, kUserAllInformation, kUserUnionAlignment, [&] {
    for (FileTime* time : {&u.last_logon, &u.last_logoff, &u.password_last_set, &u.account_expires,
                           &u.password_can_change, &u.password_must_change}) {
      *time = ReadOldLargeInteger(r);
    }
    for (std::string* text :
         {&u.user_name, &u.full_name, &u.home_directory, &u.home_directory_drive, &u.script_path,
          &u.profile_path, &u.admin_comment, &u.workstations, &u.user_comment, &u.parameters}) {
      r.UnicodeString(*text);
    }
    SkipShortBlob(r);  // LmOwfPassword
    SkipShortBlob(r);  // NtOwfPassword
    r.UnicodeString(private_data);
    SkipSecurityDescriptor(r);
    u.user_id = r.U32();
    u.primary_group_id = r.U32();
    u.user_account_control = r.U32();
    u.which_fields = r.U32();
    ReadLogonHours(r, u.logon_hours);
    u.bad_password_count = r.U16();
    u.logon_count = r.U16();
    u.country_code = r.U16();
    u.code_page = r.U16();
    r.U8();  // LmPasswordPresent
    r.U8();  // NtPasswordPresent
    u.password_expired = r.U8() != 0;
    r.U8();  // PrivateDataSensitive
  });
  reply.status = ReadNtStatus(r);
  if (reply.status == win::ERROR_SUCCESS && !present) r.Fail();
  return Finish(r, std::move(reply));
}

std::vector<std::uint8_t> EncodeGetGroupsForUser(const ndr::ContextHandle& user) {
  return EncodeHandleOnly(user);
}

GroupsForUserReply DecodeGetGroupsForUser(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  GroupsForUserReply reply;
  // [out] PSAMPR_GET_GROUPS_BUFFER*: the count and a pointer to the entries.
  const bool present = r.Pointer([&r, &reply] {
    ReadCountedArray(r, reply.groups, kGroupMembershipWireSize, [&r, &reply] {
      for (GroupMembership& group : reply.groups) {
        group.rid = r.U32();
        group.attributes = r.U32();
      }
    });
  });
  reply.status = ReadNtStatus(r);
  if (reply.status == win::ERROR_SUCCESS && !present) r.Fail();
  return Finish(r, std::move(reply));
}

std::vector<std::uint8_t> EncodeGetAliasMembership(const ndr::ContextHandle& domain,
                                                   std::span<const Sid> sids) {
  NdrWriter w;
  w.Handle(domain);
  WriteSidArray(w, sids);
  return w.Take();
}

AliasMembershipReply DecodeGetAliasMembership(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  AliasMembershipReply reply;
  ReadUlongArray(r, reply.alias_rids);
  reply.status = ReadNtStatus(r);
  return Finish(r, std::move(reply));
}

}  // namespace tabulon::platform::remote::samr
