#include "platform/remote/ndr/ndr_reader.h"

#include <string_view>
#include <utility>

#include "platform/text.h"

namespace tabulon::platform::remote::ndr {
namespace {

// What a decoded string costs besides its characters.
constexpr std::size_t kStringOverhead = sizeof(std::string);

std::string Utf8FromUnits(const std::u16string& units) {
  std::string bytes;
  bytes.reserve(units.size() * 2);
  for (const char16_t u : units) {
    bytes.push_back(static_cast<char>(u & 0xFF));
    bytes.push_back(static_cast<char>(u >> 8));
  }
  return text::Utf16LeToUtf8(bytes);
}

}  // namespace

NdrReader::NdrReader(std::span<const std::uint8_t> stub, NdrLimits limits)
    : stub_(stub), limits_(limits) {}

bool NdrReader::Take(std::size_t size, const std::uint8_t*& at) {
  if (!ok_ || size > stub_.size() - pos_) {
    ok_ = false;
    return false;
  }
  at = stub_.data() + pos_;
  pos_ += size;
  return true;
}

void NdrReader::Align(std::size_t boundary) {
  const std::size_t pad = (boundary - pos_ % boundary) % boundary;
  const std::uint8_t* at = nullptr;
  Take(pad, at);
}

std::uint64_t NdrReader::Get(std::size_t size) {
  Align(size);
  const std::uint8_t* at = nullptr;
  if (!Take(size, at)) return 0;
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < size; ++i) value |= std::uint64_t{at[i]} << (8 * i);
  return value;
}

std::uint8_t NdrReader::U8() {
  return static_cast<std::uint8_t>(Get(1));
}
std::uint16_t NdrReader::U16() {
  return static_cast<std::uint16_t>(Get(2));
}
std::uint32_t NdrReader::U32() {
  return static_cast<std::uint32_t>(Get(4));
}
std::uint64_t NdrReader::U64() {
  return Get(8);
}

ContextHandle NdrReader::Handle() {
  ContextHandle handle;
  Align(4);
  const std::uint8_t* at = nullptr;
  if (Take(handle.bytes.size(), at)) std::copy(at, at + handle.bytes.size(), handle.bytes.begin());
  return handle;
}

void NdrReader::Construct(const std::function<void()>& body) {
  if (!ok_) return;
  if (depth_ >= limits_.max_depth) {
    ok_ = false;
    return;
  }
  ++depth_;
  deferred_.emplace_back();
  body();
  std::vector<std::function<void()>> queue = std::move(deferred_.back());
  deferred_.pop_back();
  for (auto& referent : queue) {
    if (!ok_) break;
    Construct(referent);
  }
  --depth_;
}

bool NdrReader::Pointer(std::function<void()> referent) {
  if (U32() == 0 || !ok_) return false;
  if (deferred_.empty()) {
    Construct(referent);
  } else {
    deferred_.back().push_back(std::move(referent));
  }
  return ok_;
}

bool NdrReader::FullPointer(std::function<void()> referent) {
  const std::uint32_t id = U32();
  if (id == 0 || !ok_) return false;
  if (!full_pointer_ids_.insert(id).second) return true;
  if (deferred_.empty()) {
    Construct(referent);
  } else {
    deferred_.back().push_back(std::move(referent));
  }
  return ok_;
}

bool NdrReader::Reserve(std::uint64_t count, std::size_t wire_size, std::size_t memory_size) {
  if (!ok_) return false;
  // Counts are at most 32 bits and sizes small, so the products fit.
  if (count * wire_size > stub_.size() - pos_ ||
      count * memory_size > limits_.max_allocation - allocated_) {
    ok_ = false;
    return false;
  }
  allocated_ += static_cast<std::size_t>(count * memory_size);
  return true;
}

std::uint32_t NdrReader::ArrayCount(std::size_t wire_size, std::size_t memory_size) {
  const std::uint32_t count = U32();
  return Reserve(count, wire_size, memory_size) ? count : 0;
}

std::uint32_t NdrReader::VaryingCount(std::uint32_t max_count, std::size_t wire_size,
                                      std::size_t memory_size) {
  const std::uint32_t offset = U32();
  const std::uint32_t actual = U32();
  if (std::uint64_t{offset} + actual > max_count) Fail();
  return Reserve(actual, wire_size, memory_size) ? actual : 0;
}

std::u16string NdrReader::WideChars() {
  Align(4);
  const std::uint32_t max_count = U32();
  const std::uint32_t actual = VaryingCount(max_count, 2, 2);
  std::u16string units;
  const std::uint8_t* at = nullptr;
  if (!Reserve(1, 0, kStringOverhead) || !Take(std::size_t{actual} * 2, at)) return units;
  units.resize(actual);
  for (std::size_t i = 0; i < actual; ++i) {
    units[i] = static_cast<char16_t>(at[2 * i] | (at[2 * i + 1] << 8));
  }
  return units;
}

std::string NdrReader::WideString() {
  std::u16string units = WideChars();
  if (const auto nul = units.find(u'\0'); nul != std::u16string::npos) units.resize(nul);
  return Utf8FromUnits(units);
}

void NdrReader::UniqueWideString(std::string& out) {
  out.clear();
  Pointer([this, &out] { out = WideString(); });
}

void NdrReader::UnicodeString(std::string& out) {
  out.clear();
  Align(4);
  const std::uint16_t length = U16();
  const std::uint16_t maximum_length = U16();
  if (length > maximum_length || length % 2 != 0) Fail();
  Pointer([this, &out, length] {
    const std::u16string units = WideChars();
    if (units.size() * 2 != length) Fail();
    out = Utf8FromUnits(units);
  });
}

std::vector<std::uint8_t> NdrReader::ConformantBytes() {
  Align(4);
  const std::uint32_t count = ArrayCount(1, 1);
  std::vector<std::uint8_t> bytes;
  const std::uint8_t* at = nullptr;
  if (Take(count, at)) bytes.assign(at, at + count);
  return bytes;
}

bool NdrReader::UniqueU32(std::uint32_t& out) {
  return Pointer([this, &out] { out = U32(); });
}

}  // namespace tabulon::platform::remote::ndr
