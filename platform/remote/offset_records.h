#pragma once
// The byte buffers the service and print calls fill: fixed-size records one
// after another (ENUM_SERVICE_STATUSW, PRINTER_INFO_2), whose string fields
// are offsets to NUL-terminated UTF-16 strings elsewhere in the same buffer.
// Service entries count their offsets from the buffer's start, printer
// records from their own. Every field and string is checked against the
// buffer: a server's offsets are hostile.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/byte_reader.h"

namespace tabulon::platform::remote {

class OffsetRecord {
 public:
  // The record of `size` bytes at `at`, whose offsets count from `origin`.
  OffsetRecord(std::span<const std::uint8_t> buffer, std::size_t at, std::size_t size,
               std::size_t origin)
      : buffer_(buffer), at_(at), size_(size), origin_(origin) {}

  // Whether the record's fixed part lies inside the buffer.
  bool Fits() const { return at_ <= buffer_.size() && buffer_.size() - at_ >= size_; }
  // The 32-bit field `index` (0 when the record does not fit: check Fits).
  std::uint32_t Field(std::size_t index) const {
    return index * 4 + 4 <= size_ ? Le32At(buffer_, at_ + index * 4).value_or(0) : 0;
  }
  // The string whose offset is field `index`; offset 0 is no string (empty).
  // False when it does not end inside the buffer.
  bool String(std::size_t index, std::string& out) const {
    out.clear();
    const std::uint32_t offset = Field(index);
    if (offset == 0) return true;
    if (offset > buffer_.size() - origin_) return false;
    auto text = Utf16zAt(buffer_, origin_ + offset);
    if (!text) return false;
    out = std::move(*text);
    return true;
  }
  // The bytes from the offset in field `index` to the buffer's end; empty
  // for offset 0 or one past the end.
  std::span<const std::uint8_t> Tail(std::size_t index) const {
    const std::uint32_t offset = Field(index);
    if (offset == 0 || offset > buffer_.size() - origin_) return {};
    return buffer_.subspan(origin_ + offset);
  }

 private:
  std::span<const std::uint8_t> buffer_;
  std::size_t at_;
  std::size_t size_;
  std::size_t origin_;
};

}  // namespace tabulon::platform::remote
