#include "platform/remote/ndr/ndr_writer.h"

#include <string>
#include <utility>

#include "platform/text.h"

namespace tabulon::platform::remote::ndr {

void NdrWriter::Align(std::size_t boundary) {
  while (out_.size() % boundary != 0) out_.push_back(0);
}

void NdrWriter::Put(std::uint64_t value, std::size_t size) {
  Align(size);
  for (std::size_t i = 0; i < size; ++i)
    out_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void NdrWriter::U8(std::uint8_t value) {
  Put(value, 1);
}
void NdrWriter::U16(std::uint16_t value) {
  Put(value, 2);
}
void NdrWriter::U32(std::uint32_t value) {
  Put(value, 4);
}
void NdrWriter::U64(std::uint64_t value) {
  Put(value, 8);
}

void NdrWriter::Bytes(std::span<const std::uint8_t> bytes) {
  out_.insert(out_.end(), bytes.begin(), bytes.end());
}

void NdrWriter::Handle(const ContextHandle& handle) {
  Align(4);
  Bytes(handle.bytes);
}

void NdrWriter::Construct(const std::function<void()>& body) {
  deferred_.emplace_back();
  body();
  // Each referent is a construct of its own: its deferred referents follow
  // it before the next sibling's.
  std::vector<std::function<void()>> queue = std::move(deferred_.back());
  deferred_.pop_back();
  for (auto& referent : queue) Construct(referent);
}

void NdrWriter::Pointer(bool present, std::function<void()> referent) {
  if (!present) {
    U32(0);
    return;
  }
  U32(next_referent_id_);
  next_referent_id_ += 4;
  if (deferred_.empty()) {
    Construct(referent);
  } else {
    deferred_.back().push_back(std::move(referent));
  }
}

void NdrWriter::WideString(std::string_view utf8) {
  const std::string units = text::Utf8ToUtf16Le(utf8);
  const auto count = static_cast<std::uint32_t>(units.size() / 2 + 1);
  U32(count);  // maximum count
  U32(0);      // offset
  U32(count);  // actual count
  for (const char c : units) out_.push_back(static_cast<std::uint8_t>(c));
  U16(0);
}

void NdrWriter::UniqueWideString(std::optional<std::string_view> utf8) {
  Pointer(utf8.has_value(), [this, s = std::string(utf8.value_or(""))] { WideString(s); });
}

void NdrWriter::UnicodeString(std::string_view utf8) {
  std::string units = text::Utf8ToUtf16Le(utf8);
  // The lengths are 16-bit byte counts: longer text cannot travel here.
  if (units.size() > 0xFFFE) units.resize(0xFFFE);
  const auto length = static_cast<std::uint16_t>(units.size());
  U16(length);
  U16(length);
  Pointer(true, [this, units = std::move(units)] {
    U32(static_cast<std::uint32_t>(units.size() / 2));  // maximum count
    U32(0);                                             // offset
    U32(static_cast<std::uint32_t>(units.size() / 2));  // actual count
    for (const char c : units) out_.push_back(static_cast<std::uint8_t>(c));
  });
}

void NdrWriter::ConformantBytes(std::span<const std::uint8_t> bytes) {
  U32(static_cast<std::uint32_t>(bytes.size()));
  Bytes(bytes);
}

void NdrWriter::UniqueU32(std::optional<std::uint32_t> value) {
  Pointer(value.has_value(), [this, v = value.value_or(0)] { U32(v); });
}

}  // namespace tabulon::platform::remote::ndr
