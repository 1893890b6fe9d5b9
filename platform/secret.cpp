#include "platform/secret.h"

#include <cstring>
#include <utility>

namespace tabulon::platform {

void WipeBytes(void* data, std::size_t size) {
  // Stores through a volatile pointer are observable behaviour: none of
  // them may be left out. Portable, and fast enough for a few bytes.
  volatile unsigned char* p = static_cast<volatile unsigned char*>(data);
  for (std::size_t i = 0; i < size; ++i) p[i] = 0;
}

void WipeText(std::string& text) {
  // Growing to the capacity never reallocates, so the whole buffer, with
  // whatever a longer earlier value left in it, is wiped.
  text.resize(text.capacity());
  WipeBytes(text.data(), text.size());
  text.clear();
}

Secret::Secret(std::string_view text)
    : bytes_(std::make_unique<char[]>(text.size() + 1)), size_(text.size()) {
  std::memcpy(bytes_.get(), text.data(), text.size());
  bytes_[text.size()] = '\0';
}

Secret::Secret(Secret&& other) noexcept
    : bytes_(std::move(other.bytes_)), size_(std::exchange(other.size_, 0)) {}

Secret& Secret::operator=(Secret&& other) noexcept {
  if (this != &other) {
    Clear();
    bytes_ = std::move(other.bytes_);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

void Secret::Clear() {
  if (bytes_) WipeBytes(bytes_.get(), size_ + 1);
  bytes_.reset();
  size_ = 0;
}

}  // namespace tabulon::platform
