#pragma once
// What the account interfaces (lsarpc, samr) share on the wire: context
// handles answered with an NTSTATUS, SIDs and arrays of them, arrays of
// RPC_UNICODE_STRING and of 32-bit values, RID enumerations, and the
// information unions the query calls answer with.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "platform/remote/ndr/context_handle.h"
#include "platform/remote/ndr/ndr_reader.h"
#include "platform/remote/ndr/ndr_writer.h"
#include "platform/security.h"
#include "platform/status.h"

namespace tabulon::platform::remote {

// The reply of an open (the new handle) or a close (the null handle), with
// the call's NTSTATUS as a Windows status.
struct HandleStatusReply {
  win::Status status = win::ERROR_SUCCESS;
  ndr::ContextHandle handle;
};

// SAMPR_RID_ENUMERATION: a domain, user, group or alias and its RID.
struct RidName {
  std::uint32_t rid = 0;
  std::string name;
};

// The reply of the SAM enumerations (domains, users, groups, aliases).
struct RidEnumerationReply {
  win::Status status = win::ERROR_SUCCESS;  // or ERROR_MORE_DATA
  std::uint32_t enumeration_context = 0;
  std::vector<RidName> entries;
};

// A request whose only parameter is a handle, such as a close.
std::vector<std::uint8_t> EncodeHandleOnly(const ndr::ContextHandle& handle);
HandleStatusReply DecodeHandleStatusReply(std::span<const std::uint8_t> stub);

// An object opened by its RID inside an open domain: the domain handle,
// the access wanted and the RID.
std::vector<std::uint8_t> EncodeOpenByRid(const ndr::ContextHandle& domain, std::uint32_t access,
                                          std::uint32_t rid);
// A query of one information class of an object: the handle and the class
// (an enum, 16 bits on the wire).
std::vector<std::uint8_t> EncodeInformationQuery(const ndr::ContextHandle& handle,
                                                 std::uint16_t information_class);

// [in, out] enumeration context, [out] PSAMPR_ENUMERATION_BUFFER*, [out]
// count returned, NTSTATUS.
RidEnumerationReply DecodeRidEnumeration(std::span<const std::uint8_t> stub);

// The NTSTATUS that ends a reply, as a Windows status.
win::Status ReadNtStatus(ndr::NdrReader& reader);
// The same for a translation of names or SIDs: STATUS_SOME_NOT_MAPPED is
// success, the entries not mapped say so by their use.
win::Status ReadLookupStatus(ndr::NdrReader& reader);
// A SID_NAME_USE value; fails the reader for a value outside the type.
SidNameUse UseOf(ndr::NdrReader& reader, std::uint32_t use);

// The [out] pointer to an information union: the referent id, the
// discriminant (which must be `information_class`), padding to the
// union's widest arm, then `read_arm` reads the arm, whose own pointers
// follow it. False when the pointer is null.
bool ReadInformationUnion(ndr::NdrReader& reader, std::uint16_t information_class,
                          std::size_t union_alignment, std::function<void()> read_arm);

// OLD_LARGE_INTEGER: the low and the high 32 bits, 4-byte aligned.
std::int64_t ReadOldLargeInteger(ndr::NdrReader& reader);
// LARGE_INTEGER: a 64-bit value, 8-byte aligned.
std::int64_t ReadLargeInteger(ndr::NdrReader& reader);

// RPC_SID where it stands alone (a [ref] parameter or a pointer's
// referent): the conformance, revision, sub-authority count, the 48-bit
// authority big-endian, then the sub-authorities.
void WriteSid(ndr::NdrWriter& writer, const Sid& sid);
// Fails the reader when the conformance and the count disagree or there are
// more than 15 sub-authorities.
void ReadSid(ndr::NdrReader& reader, Sid& sid);

// A structure of a count and a pointer to a conformant array of
// `wire_size`-byte entries, as a parameter of its own (or a referent):
// `read_entries` reads them once `entries` has that many. A missing array
// with a non-zero count, or an array of another size, is malformed.
template <class Entry, class ReadEntries>
void ReadCountedArray(ndr::NdrReader& r, std::vector<Entry>& entries, std::size_t wire_size,
                      ReadEntries read_entries) {
  r.Construct([&] {
    const std::uint32_t count = r.U32();
    const bool present = r.Pointer([&r, &entries, wire_size, read_entries, count] {
      if (r.ArrayCount(wire_size, sizeof(Entry)) != count) r.Fail();
      if (!r.ok()) return;
      entries.resize(count);
      read_entries();
    });
    if (!present && count != 0) r.Fail();
  });
}

// A structure of a count and a pointer to an array of SID pointers
// (SAMPR_PSID_ARRAY, LSAPR_ACCOUNT_ENUM_BUFFER), as a parameter of its own.
void WriteSidArray(ndr::NdrWriter& writer, std::span<const Sid> sids);
// Fails the reader when the counts disagree or an entry has no SID.
void ReadSidArray(ndr::NdrReader& reader, std::vector<Sid>& sids);

// SAMPR_ULONG_ARRAY as a parameter of its own: the count and a pointer to
// the values.
void ReadUlongArray(ndr::NdrReader& reader, std::vector<std::uint32_t>& values);

// A [size_is(n)] array of RPC_UNICODE_STRING: the count, the structures,
// then their characters in order.
void WriteUnicodeStrings(ndr::NdrWriter& writer, std::span<const std::string> texts);
// SAMPR_RETURNED_USTRING_ARRAY as a parameter of its own: the count and a
// pointer to the structures.
void ReadUnicodeStrings(ndr::NdrReader& reader, std::vector<std::string>& texts);

}  // namespace tabulon::platform::remote
