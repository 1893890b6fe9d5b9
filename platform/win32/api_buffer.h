#pragma once
// Reading records an API wrote into a buffer: the strings they point to must
// lie within it and end in it, whatever a server made the API write.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tabulon::platform::win32 {

class ApiBuffer {
 public:
  // Zeroed, aligned for any record, never empty (an API is given a valid
  // pointer even for a size of 0).
  explicit ApiBuffer(std::uint32_t size) : words_(size / sizeof(std::uint64_t) + 1), size_(size) {}
  void* data() { return words_.data(); }
  std::uint32_t size() const { return size_; }

 private:
  std::vector<std::uint64_t> words_;
  std::uint32_t size_;
};

// The UTF-16 string at `text` in UTF-8: empty for a null pointer, nothing
// when it starts outside [begin, begin + size) or has no terminator there.
std::optional<std::string> StringInBuffer(const wchar_t* text, const void* begin, std::size_t size);

}  // namespace tabulon::platform::win32
