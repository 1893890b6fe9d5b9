#pragma once
// What the interface codecs share: the NDR layout of the enumeration
// parameters the network management calls have in common, and the one way a
// decode failure becomes a result.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/remote/ndr/ndr_reader.h"
#include "platform/remote/ndr/ndr_writer.h"
#include "platform/status.h"

namespace tabulon::platform::remote {

// A result carrying the reader's status when the stub was malformed, so that
// no half-decoded entries escape.
template <class Result>
Result Finish(const ndr::NdrReader& reader, Result result) {
  if (reader.ok()) return result;
  Result failed{};
  failed.status = reader.status();
  return failed;
}

// The reply of a call that returns a self-relative security descriptor, with
// the size the server says it needs when the buffer offered was short.
struct DescriptorReply {
  win::Status status = win::ERROR_SUCCESS;
  std::vector<std::uint8_t> descriptor;
  std::uint32_t bytes_needed = 0;
};

// An optional [string, unique] argument: empty text is sent as a null pointer.
inline std::optional<std::string_view> OptionalText(std::string_view text) {
  if (text.empty()) return std::nullopt;
  return text;
}

// The [in] enumeration structure of the Enum calls: the level, the union's
// copy of it, and a pointer to an empty container (no entries, null buffer).
void WriteEmptyEnumStruct(ndr::NdrWriter& writer, std::uint32_t level);

// The [out] enumeration structure: the level twice, the container pointer,
// the entry count and the pointer to the conformant array of entries. Each
// entry's fixed part is `wire_size` bytes; `read_entry` reads it into
// entries[i] and defers its strings.
template <class Entry>
void ReadEnumStruct(ndr::NdrReader& reader, std::uint32_t level, std::vector<Entry>& entries,
                    std::size_t wire_size, std::function<void(Entry&)> read_entry) {
  reader.Construct([&reader, &entries, level, wire_size, read_entry = std::move(read_entry)] {
    if (reader.U32() != level || reader.U32() != level) reader.Fail();
    reader.Pointer([&reader, &entries, wire_size, read_entry] {
      const std::uint32_t entries_read = reader.U32();
      reader.Pointer([&reader, &entries, wire_size, read_entry, entries_read] {
        const std::uint32_t count = reader.ArrayCount(wire_size, sizeof(Entry));
        if (count != entries_read) reader.Fail();
        if (!reader.ok()) return;
        entries.resize(count);
        for (Entry& entry : entries) read_entry(entry);
      });
    });
  });
}

}  // namespace tabulon::platform::remote
