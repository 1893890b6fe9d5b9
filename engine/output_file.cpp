#include "engine/output_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "platform/text.h"

namespace tabulon {
namespace {

constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
constexpr std::uint64_t kOnes = 0x0101010101010101ULL;

// True when any of the eight bytes is a LF or not ASCII.
bool NeedsWork(std::uint64_t w) {
  const std::uint64_t lf = w ^ (kOnes * '\n');
  return ((w | ((lf - kOnes) & ~lf)) & kHighBits) != 0;
}

}  // namespace

OutputFile::~OutputFile() {
  Close();
}

OutputFile::OutputFile(OutputFile&& other) noexcept
    : file_(std::move(other.file_)),
      encoding_(other.encoding_),
      path_(std::move(other.path_)),
      buffer_(std::move(other.buffer_)),
      used_(std::exchange(other.used_, 0)),
      error_(other.error_) {}

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
  if (this != &other) {
    Close();
    file_ = std::move(other.file_);
    encoding_ = other.encoding_;
    path_ = std::move(other.path_);
    buffer_ = std::move(other.buffer_);
    used_ = std::exchange(other.used_, 0);
    error_ = other.error_;
  }
  return *this;
}

win::Status OutputFile::Open(const std::string& path, bool append, Encoding encoding) {
  Close();
  const win::Status status = platform::OpenWritableFile(path, append, file_);
  if (status != win::ERROR_SUCCESS) return status;
  encoding_ = encoding;
  path_ = path;
  if (!buffer_) buffer_ = std::make_unique<char[]>(kBufferSize);
  used_ = 0;
  error_ = win::ERROR_SUCCESS;
  return win::ERROR_SUCCESS;
}

void OutputFile::WriteLarge(std::string_view utf8) {
  while (!utf8.empty()) {
    std::size_t chunk = std::min(utf8.size(), kMaxChunk);
    // Never split a character between chunks.
    while (chunk < utf8.size() && chunk > 0 &&
           (static_cast<unsigned char>(utf8[chunk]) & 0xC0) == 0x80) {
      --chunk;
    }
    if (chunk == 0) chunk = std::min(utf8.size(), kMaxChunk);
    if (room() < 2 * chunk) Flush();
    Encode(utf8.substr(0, chunk));
    utf8.remove_prefix(chunk);
  }
}

void OutputFile::WriteRaw(std::string_view bytes) {
  if (!file_) return;
  while (!bytes.empty()) {
    if (room() == 0) Flush();
    const std::size_t n = std::min(room(), bytes.size());
    std::memcpy(buffer_.get() + used_, bytes.data(), n);
    used_ += n;
    bytes.remove_prefix(n);
  }
}

void OutputFile::WriteEightBit(std::string_view utf8) {
  char* out = buffer_.get() + used_;
  const char* in = utf8.data();
  const char* const end = in + utf8.size();
  while (in < end) {
    // Plain ASCII is copied eight bytes at a time; LF and other characters
    // take the slow path one at a time.
    while (end - in >= 8) {
      std::uint64_t w;
      std::memcpy(&w, in, 8);
      if (NeedsWork(w)) break;
      std::memcpy(out, in, 8);
      in += 8;
      out += 8;
    }
    if (in >= end) break;
    const auto c = static_cast<unsigned char>(*in);
    if (c == '\n') {
      *out++ = '\r';
      *out++ = '\n';
      ++in;
    } else if (c < 0x80) {
      *out++ = static_cast<char>(c);
      ++in;
    } else {
      std::size_t pos = static_cast<std::size_t>(in - utf8.data());
      const char32_t cp = text::NextCodePoint(utf8, pos);
      *out++ = cp <= 0xFF ? static_cast<char>(cp) : text::kUnmappableEightBit;
      in = utf8.data() + pos;
    }
  }
  used_ = static_cast<std::size_t>(out - buffer_.get());
}

void OutputFile::WriteUtf16(std::string_view utf8) {
  char* out = buffer_.get() + used_;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const auto c = static_cast<unsigned char>(utf8[pos]);
    if (c < 0x80) {
      *out++ = static_cast<char>(c);
      *out++ = '\0';
      ++pos;
      continue;
    }
    const char32_t cp = text::NextCodePoint(utf8, pos);
    auto put = [&out](char32_t u) {
      *out++ = static_cast<char>(u & 0xFF);
      *out++ = static_cast<char>((u >> 8) & 0xFF);
    };
    if (cp >= 0x10000) {
      put(0xD800 + ((cp - 0x10000) >> 10));
      put(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      put(cp);
    }
  }
  used_ = static_cast<std::size_t>(out - buffer_.get());
}

void OutputFile::Flush() {
  if (file_ && used_ != 0) {
    const win::Status status = file_->Write(std::string_view(buffer_.get(), used_));
    if (error_ == win::ERROR_SUCCESS) error_ = status;
  }
  used_ = 0;
}

void OutputFile::Close() {
  if (!file_) return;
  Flush();
  const win::Status status = file_->Close();
  if (error_ == win::ERROR_SUCCESS) error_ = status;
  file_.reset();
}

}  // namespace tabulon
