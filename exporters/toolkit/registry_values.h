#pragma once
// Reading registry values as the registry-based exports see them: keys that
// close themselves, values as UTF-16 units with their text, list and DWORD
// views.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "format/lists.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace tabulon {

// A key opened below `parent`, closed on every path; not open when the
// open fails, which the export never counts as a failure.
class OpenedKey {
 public:
  OpenedKey(platform::Registry& registry, platform::RegistryKey parent, std::string_view path,
            std::uint32_t access)
      : registry_(registry), key_(registry.OpenKey(parent, path, access).key) {}
  ~OpenedKey() {
    if (key_ != 0) registry_.CloseKey(key_);
  }
  OpenedKey(const OpenedKey&) = delete;
  OpenedKey& operator=(const OpenedKey&) = delete;

  bool is_open() const { return key_ != 0; }
  platform::RegistryKey get() const { return key_; }

 private:
  platform::Registry& registry_;
  platform::RegistryKey key_;
};

// A value as the export sees it: readable when the read succeeds with a
// non-zero size, as UTF-16 units of the buffer.
class RegistryValue {
 public:
  // Reads `name` with a buffer of `buffer_bytes`; larger values count as
  // absent.
  RegistryValue(platform::Registry& registry, std::uint32_t buffer_bytes, const OpenedKey& key,
                std::string_view name) {
    if (!key.is_open()) return;
    const platform::RegistryValueResult r = registry.QueryValue(key.get(), name, buffer_bytes);
    if (r.status != win::ERROR_SUCCESS || r.data_size == 0) return;
    Decode(r.data);
  }
  // Data read already (an enumerated value); empty data is not readable.
  explicit RegistryValue(std::string_view data) {
    if (!data.empty()) Decode(data);
  }

  bool readable() const { return readable_; }
  // A text or multi-string value whose first character is not NUL.
  bool present() const { return readable_ && units_.front() != 0; }
  // A DWORD flag that is readable and non-zero.
  bool set() const { return readable_ && dword_ != 0; }
  std::uint32_t dword() const { return dword_; }

  // The text up to its first NUL.
  std::string Text() const { return Item(0, units_.size()).first; }

  // Items ended by a NUL, the empty ones left out, joined by the secondary
  // delimiter; characters after the last NUL are no item.
  std::string Joined(std::string_view delimiter) const {
    std::string list;
    std::size_t start = 0;
    for (std::size_t i = 0; i < units_.size(); ++i) {
      if (units_[i] != 0) continue;
      if (i > start) format::AppendDelimited(list, Item(start, i).first, delimiter);
      start = i + 1;
    }
    return list;
  }

  // The first (bytes / 2 - 1) units, every NUL among them written as the
  // delimiter: a list's terminators become delimiters, its final NUL does
  // not.
  std::string Delimited(std::string_view delimiter) const {
    const std::size_t count = byte_count_ / 2 == 0 ? 0 : byte_count_ / 2 - 1;
    std::string text;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= count; ++i) {
      if (i < count && units_[i] != 0) continue;
      text += Item(start, i).first;
      if (i < count) text += delimiter;
      start = i + 1;
    }
    return text;
  }

 private:
  void Decode(std::string_view data) {
    readable_ = true;
    byte_count_ = data.size();
    std::string bytes(data);
    if (bytes.size() % 2 != 0) bytes += '\0';  // the rest of the buffer is zero
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
      units_.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                             (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    for (std::size_t i = 0; i < 4 && i < data.size(); ++i) {
      dword_ |= static_cast<std::uint32_t>(static_cast<unsigned char>(data[i])) << (8 * i);
    }
  }

  // UTF-8 of the units from `start` up to `end` or the first NUL.
  std::pair<std::string, std::size_t> Item(std::size_t start, std::size_t end) const {
    std::string bytes;
    std::size_t i = start;
    for (; i < end && units_[i] != 0; ++i) {
      bytes += static_cast<char>(units_[i] & 0xFF);
      bytes += static_cast<char>(units_[i] >> 8);
    }
    return {text::Utf16LeToUtf8(bytes), i};
  }

  bool readable_ = false;
  std::size_t byte_count_ = 0;
  std::vector<char16_t> units_;
  std::uint32_t dword_ = 0;
};

}  // namespace tabulon
