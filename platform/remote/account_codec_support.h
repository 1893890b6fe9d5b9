#pragma once
// What the account interfaces (lsarpc, samr) share on the wire: context
// handles answered with an NTSTATUS, SIDs, and arrays of
// RPC_UNICODE_STRING. The user, group and alias levels build on these too.
#include <cstdint>
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

// A request whose only parameter is a handle, such as a close.
std::vector<std::uint8_t> EncodeHandleOnly(const ndr::ContextHandle& handle);
HandleStatusReply DecodeHandleStatusReply(std::span<const std::uint8_t> stub);

// The NTSTATUS that ends a reply, as a Windows status.
win::Status ReadNtStatus(ndr::NdrReader& reader);

// RPC_SID where it stands alone (a [ref] parameter or a pointer's
// referent): the conformance, revision, sub-authority count, the 48-bit
// authority big-endian, then the sub-authorities.
void WriteSid(ndr::NdrWriter& writer, const Sid& sid);
// Fails the reader when the conformance and the count disagree or there are
// more than 15 sub-authorities.
void ReadSid(ndr::NdrReader& reader, Sid& sid);

// A [size_is(n)] array of RPC_UNICODE_STRING: the count, the structures,
// then their characters in order.
void WriteUnicodeStrings(ndr::NdrWriter& writer, std::span<const std::string> texts);

}  // namespace tabulon::platform::remote
