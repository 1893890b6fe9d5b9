#include "platform/remote/samr_group_codec.h"

#include <utility>

#include "platform/remote/codec_support.h"

namespace tabulon::platform::remote::samr {
namespace {

using ndr::NdrReader;

// SAMPR_GROUP_INFO_BUFFER and SAMPR_ALIAS_INFO_BUFFER: no arm holds a 64-bit
// scalar.
constexpr std::size_t kUnionAlignment = 4;

// [size_is(n)] unsigned long*: the conformance, which must be `count`, and
// the values.
void ReadUlongs(NdrReader& r, std::vector<std::uint32_t>& values, std::uint32_t count) {
  if (r.ArrayCount(4, 4) != count || !r.ok()) {
    r.Fail();
    return;
  }
  values.resize(count);
  for (std::uint32_t& value : values) value = r.U32();
}

}  // namespace

std::vector<std::uint8_t> EncodeOpenGroup(const ndr::ContextHandle& domain, std::uint32_t access,
                                          std::uint32_t rid) {
  return EncodeOpenByRid(domain, access, rid);
}

std::vector<std::uint8_t> EncodeOpenAlias(const ndr::ContextHandle& domain, std::uint32_t access,
                                          std::uint32_t rid) {
  return EncodeOpenByRid(domain, access, rid);
}

std::vector<std::uint8_t> EncodeQueryGroupGeneral(const ndr::ContextHandle& group) {
  return EncodeInformationQuery(group, kGroupGeneralInformation);
}

GroupInformationReply DecodeQueryGroupGeneral(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  GroupInformationReply reply;
  GroupGeneralInformation& g = reply.info;
  const bool present = ReadInformationUnion(r, kGroupGeneralInformation, kUnionAlignment, [&] {
    r.UnicodeString(g.name);
    g.attributes = r.U32();
    g.member_count = r.U32();
    r.UnicodeString(g.admin_comment);
  });
  reply.status = ReadNtStatus(r);
  if (reply.status == win::ERROR_SUCCESS && !present) r.Fail();
  return Finish(r, std::move(reply));
}

std::vector<std::uint8_t> EncodeQueryAliasGeneral(const ndr::ContextHandle& alias) {
  return EncodeInformationQuery(alias, kAliasGeneralInformation);
}

AliasInformationReply DecodeQueryAliasGeneral(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  AliasInformationReply reply;
  AliasGeneralInformation& a = reply.info;
  const bool present = ReadInformationUnion(r, kAliasGeneralInformation, kUnionAlignment, [&] {
    r.UnicodeString(a.name);
    a.member_count = r.U32();
    r.UnicodeString(a.admin_comment);
  });
  reply.status = ReadNtStatus(r);
  if (reply.status == win::ERROR_SUCCESS && !present) r.Fail();
  return Finish(r, std::move(reply));
}

std::vector<std::uint8_t> EncodeGetMembersInGroup(const ndr::ContextHandle& group) {
  return EncodeHandleOnly(group);
}

GroupMembersReply DecodeGetMembersInGroup(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  GroupMembersReply reply;
  // [out] PSAMPR_GET_MEMBERS_BUFFER*: the count, then pointers to the RIDs
  // and to their attributes.
  const bool present = r.Pointer([&r, &reply] {
    const std::uint32_t count = r.U32();
    const bool rids = r.Pointer([&r, &reply, count] { ReadUlongs(r, reply.rids, count); });
    const bool attributes =
        r.Pointer([&r, &reply, count] { ReadUlongs(r, reply.attributes, count); });
    if (count != 0 && !(rids && attributes)) r.Fail();
  });
  reply.status = ReadNtStatus(r);
  if (reply.status == win::ERROR_SUCCESS && !present) r.Fail();
  return Finish(r, std::move(reply));
}

std::vector<std::uint8_t> EncodeGetMembersInAlias(const ndr::ContextHandle& alias) {
  return EncodeHandleOnly(alias);
}

AliasMembersReply DecodeGetMembersInAlias(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  AliasMembersReply reply;
  ReadSidArray(r, reply.members);
  reply.status = ReadNtStatus(r);
  return Finish(r, std::move(reply));
}

}  // namespace tabulon::platform::remote::samr
