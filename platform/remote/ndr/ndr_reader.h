#pragma once
// Decodes an NDR 2.0 stub (little-endian, 32-bit transfer syntax) that came
// from a server, which may be hostile: every read is bounds-checked, every
// count is checked against the bytes left before anything is allocated, the
// nesting of constructs and the bytes the decoded values take are bounded.
// The first problem marks the reader failed; from then on reads return
// zeros, pointers read as null and no referent runs, so a decoder can read
// straight through and ask status() once at the end.
//
// Deferral mirrors NdrWriter: read each parameter that holds pointers inside
// Construct() and hand each pointer the callable that reads its referent.
// Referents run after the callable that read the pointer has returned, so
// they capture that callable's locals by value; the places they fill (a
// vector's elements) must not move afterwards, so size vectors before
// reading their elements.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "platform/remote/ndr/context_handle.h"
#include "platform/status.h"

namespace tabulon::platform::remote::ndr {

struct NdrLimits {
  std::size_t max_depth = 16;
  // Bytes the decoded values may take, whatever the stub claims.
  std::size_t max_allocation = std::size_t{64} << 20;
};

class NdrReader {
 public:
  explicit NdrReader(std::span<const std::uint8_t> stub, NdrLimits limits = {});

  bool ok() const { return ok_; }
  void Fail() { ok_ = false; }
  // ERROR_SUCCESS, or RPC_X_BAD_STUB_DATA once anything was malformed.
  win::Status status() const { return ok_ ? win::ERROR_SUCCESS : win::RPC_X_BAD_STUB_DATA; }
  std::size_t remaining() const { return ok_ ? stub_.size() - pos_ : 0; }

  // Alignment is relative to the start of the stub.
  void Align(std::size_t boundary);
  std::uint8_t U8();
  std::uint16_t U16();
  std::uint32_t U32();
  std::uint64_t U64();
  ContextHandle Handle();

  // Runs `body`, then the referents its embedded pointers deferred.
  void Construct(const std::function<void()>& body);
  // A unique pointer: reads the referent id and, when it is not null, has
  // `referent` read in NDR order. Returns whether the pointer is present.
  bool Pointer(std::function<void()> referent);
  // A full pointer: an id seen before points at a referent already read,
  // so `referent` runs only for a new id.
  bool FullPointer(std::function<void()> referent);

  // The referent of a [string] wchar_t*, up to its terminating NUL.
  std::string WideString();
  // The same with every character the array carries, NULs included.
  std::u16string WideChars();
  // A [string, unique] wchar_t* read into `out`; empty when null.
  void UniqueWideString(std::string& out);
  // RPC_UNICODE_STRING read into `out`.
  void UnicodeString(std::string& out);
  // The referent of a [size_is(n)] byte pointer.
  std::vector<std::uint8_t> ConformantBytes();
  // A [unique] DWORD* read into `out`; false (and `out` untouched) when null.
  bool UniqueU32(std::uint32_t& out);

  // Reads the conformance (maximum count) of an array whose elements take
  // at least `wire_size` bytes here and `memory_size` bytes once decoded, and
  // checks both against what is left; 0 after a failure.
  std::uint32_t ArrayCount(std::size_t wire_size, std::size_t memory_size);
  // Reads the offset and actual count of a varying array whose maximum count
  // is `max_count`, with the same checks; returns the actual count.
  std::uint32_t VaryingCount(std::uint32_t max_count, std::size_t wire_size,
                             std::size_t memory_size);
  // Charges `count` elements of the given sizes; false (and failed) when they
  // cannot be in the stub or exceed the allocation bound.
  bool Reserve(std::uint64_t count, std::size_t wire_size, std::size_t memory_size);

 private:
  bool Take(std::size_t size, const std::uint8_t*& at);
  std::uint64_t Get(std::size_t size);

  std::span<const std::uint8_t> stub_;
  NdrLimits limits_;
  std::size_t pos_ = 0;
  bool ok_ = true;
  std::size_t depth_ = 0;
  std::size_t allocated_ = 0;
  std::vector<std::vector<std::function<void()>>> deferred_;
  std::set<std::uint32_t> full_pointer_ids_;
};

}  // namespace tabulon::platform::remote::ndr
