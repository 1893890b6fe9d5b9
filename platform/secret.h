#pragma once
// A secret held in memory: a password, with one owner. It is moved but never
// copied, its bytes are wiped when it is destroyed or replaced, and it has no
// conversion to text and no stream operator, so it cannot be printed or
// logged by accident: only reveal() reaches the text, for the one call that
// hands it to a library.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace tabulon::platform {

// Overwrites `size` bytes at `data` with zeros; unlike a plain memset, the
// compiler cannot drop it when the memory is freed right after.
void WipeBytes(void* data, std::size_t size);

// Wipes a text that held a secret (every byte of its buffer, not only its
// current length) and empties it.
void WipeText(std::string& text);

class Secret {
 public:
  Secret() = default;
  explicit Secret(std::string_view text);
  ~Secret() { Clear(); }
  Secret(Secret&& other) noexcept;
  Secret& operator=(Secret&& other) noexcept;
  Secret(const Secret&) = delete;
  Secret& operator=(const Secret&) = delete;

  bool empty() const { return size_ == 0; }
  std::size_t size() const { return size_; }
  // The text, NUL-terminated; "" when empty.
  const char* reveal() const { return bytes_ ? bytes_.get() : ""; }
  // Wipes the bytes and frees them.
  void Clear();

 private:
  std::unique_ptr<char[]> bytes_;
  std::size_t size_ = 0;
};

}  // namespace tabulon::platform
