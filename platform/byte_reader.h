#pragma once
// Little-endian integers read from byte buffers, as Windows and the wire lay
// out binary structures (security descriptors, executables' version
// resources, the buffers of the service and print calls, the worker's
// frames, LDAP ping replies), every read checked against the buffer's end.
// The writers are in little_endian.h.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tabulon::platform {

// Reads in order from the start (or `at`). A read past the end gives false,
// consumes nothing and leaves the value as it was.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes, std::size_t at = 0)
      : bytes_(bytes), at_(at <= bytes.size() ? at : bytes.size()) {}

  bool U8(std::uint8_t& out) { return Read(out); }
  bool U16(std::uint16_t& out) { return Read(out); }
  bool U32(std::uint32_t& out) { return Read(out); }
  bool U64(std::uint64_t& out) { return Read(out); }
  // The next `count` bytes, in place.
  bool Take(std::size_t count, std::span<const std::uint8_t>& out) {
    if (count > left()) return false;
    out = bytes_.subspan(at_, count);
    at_ += count;
    return true;
  }
  bool Skip(std::size_t count) {
    if (count > left()) return false;
    at_ += count;
    return true;
  }

  std::size_t at() const { return at_; }
  std::size_t left() const { return bytes_.size() - at_; }
  bool AtEnd() const { return at_ == bytes_.size(); }
  std::span<const std::uint8_t> bytes() const { return bytes_; }

 private:
  template <typename T>
  bool Read(T& out) {
    if (sizeof(T) > left()) return false;
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) value |= std::uint64_t{bytes_[at_ + i]} << (8 * i);
    out = static_cast<T>(value);
    at_ += sizeof(T);
    return true;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t at_;
};

// Random access for structures that point into themselves: the integer at
// `at`, nothing when it does not lie wholly inside `bytes`.
inline std::optional<std::uint16_t> Le16At(std::span<const std::uint8_t> bytes, std::size_t at) {
  std::uint16_t value = 0;
  if (ByteReader r(bytes, at); at <= bytes.size() && r.U16(value)) return value;
  return std::nullopt;
}
inline std::optional<std::uint32_t> Le32At(std::span<const std::uint8_t> bytes, std::size_t at) {
  std::uint32_t value = 0;
  if (ByteReader r(bytes, at); at <= bytes.size() && r.U32(value)) return value;
  return std::nullopt;
}

// The NUL-terminated UTF-16LE string at `at`, as UTF-8; nothing when it does
// not end inside `bytes`.
std::optional<std::string> Utf16zAt(std::span<const std::uint8_t> bytes, std::size_t at);

}  // namespace tabulon::platform
