#pragma once
// Encodes an NDR 2.0 stub (little-endian, 32-bit transfer syntax) the way a
// client stub marshals its [in] parameters.
//
// Pointers embedded in a construct (a structure, an array, a parameter) send
// their referent id in place and their referent after the construct, in the
// order the pointers appeared, each referent followed at once by its own
// deferred referents. Write each parameter that holds pointers inside
// Construct() and hand each pointer its referent as a callable: the writer
// keeps the queue, so the order cannot be got wrong by hand. A pointer
// written outside any construct is a top-level one: its referent follows it
// directly.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/remote/ndr/context_handle.h"

namespace tabulon::platform::remote::ndr {

class NdrWriter {
 public:
  // Alignment is relative to the start of the stub.
  void Align(std::size_t boundary);
  void U8(std::uint8_t value);
  void U16(std::uint16_t value);
  void U32(std::uint32_t value);
  void U64(std::uint64_t value);
  // Bytes as they are, without alignment.
  void Bytes(std::span<const std::uint8_t> bytes);
  void Handle(const ContextHandle& handle);

  // Runs `body`, then the referents its embedded pointers deferred.
  void Construct(const std::function<void()>& body);
  // A unique (or full) pointer: 0 when absent, otherwise a fresh referent id
  // with `referent` written in NDR order.
  void Pointer(bool present, std::function<void()> referent);

  // The referent of a [string] wchar_t*: maximum count, offset 0, actual
  // count, then the UTF-16LE characters with their terminating NUL.
  void WideString(std::string_view utf8);
  // A [string, unique] wchar_t*: a null pointer when `utf8` is absent.
  void UniqueWideString(std::optional<std::string_view> utf8);
  // RPC_UNICODE_STRING: Length and MaximumLength in bytes, without a NUL,
  // and a pointer to the conformant-varying characters.
  void UnicodeString(std::string_view utf8);
  // The referent of a [size_is(n)] byte pointer: the count, then the bytes.
  void ConformantBytes(std::span<const std::uint8_t> bytes);
  // A [unique] DWORD* holding `value`, or a null pointer.
  void UniqueU32(std::optional<std::uint32_t> value);

  const std::vector<std::uint8_t>& bytes() const { return out_; }
  std::vector<std::uint8_t> Take() { return std::move(out_); }

 private:
  void Put(std::uint64_t value, std::size_t size);

  std::vector<std::uint8_t> out_;
  // One queue of deferred referents per open construct, innermost last.
  std::vector<std::vector<std::function<void()>>> deferred_;
  std::uint32_t next_referent_id_ = 0x00020000;
};

}  // namespace tabulon::platform::remote::ndr
