#include "engine/output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/text.h"

namespace tabulon {

OutputFile::~OutputFile() {
  Close();
}

OutputFile::OutputFile(OutputFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      encoding_(other.encoding_),
      path_(std::move(other.path_)),
      buffer_(std::move(other.buffer_)) {}

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    encoding_ = other.encoding_;
    path_ = std::move(other.path_);
    buffer_ = std::move(other.buffer_);
  }
  return *this;
}

win::Status OutputFile::Open(const std::string& path, bool append, Encoding encoding) {
  Close();
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : O_TRUNC);
  int fd = -1;
  do {
    fd = ::open(path.c_str(), flags, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return win::StatusFromErrno(errno);
  fd_ = fd;
  encoding_ = encoding;
  path_ = path;
  buffer_.clear();
  buffer_.reserve(kFlushAt + 4096);
  return win::ERROR_SUCCESS;
}

void OutputFile::Write(std::string_view utf8) {
  if (fd_ < 0) return;
  if (encoding_ == Encoding::kEightBit) {
    WriteEightBit(utf8);
  } else {
    WriteUtf16(utf8);
  }
  if (buffer_.size() >= kFlushAt) Flush();
}

void OutputFile::WriteRaw(std::string_view bytes) {
  if (fd_ < 0) return;
  buffer_ += bytes;
  if (buffer_.size() >= kFlushAt) Flush();
}

void OutputFile::WriteEightBit(std::string_view utf8) {
  // Plain ASCII runs are copied in one go; only LF and non-ASCII need work.
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    std::size_t run = pos;
    while (run < utf8.size()) {
      const auto c = static_cast<unsigned char>(utf8[run]);
      if (c == '\n' || c >= 0x80) break;
      ++run;
    }
    buffer_.append(utf8.data() + pos, run - pos);
    pos = run;
    if (pos >= utf8.size()) break;
    if (utf8[pos] == '\n') {
      buffer_ += "\r\n";
      ++pos;
      continue;
    }
    const char32_t cp = text::NextCodePoint(utf8, pos);
    buffer_.push_back(cp <= 0xFF ? static_cast<char>(cp) : text::kUnmappableEightBit);
  }
}

void OutputFile::WriteUtf16(std::string_view utf8) {
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const auto c = static_cast<unsigned char>(utf8[pos]);
    if (c < 0x80) {
      buffer_.push_back(static_cast<char>(c));
      buffer_.push_back('\0');
      ++pos;
      continue;
    }
    const char32_t cp = text::NextCodePoint(utf8, pos);
    auto put = [this](char32_t u) {
      buffer_.push_back(static_cast<char>(u & 0xFF));
      buffer_.push_back(static_cast<char>((u >> 8) & 0xFF));
    };
    if (cp >= 0x10000) {
      put(0xD800 + ((cp - 0x10000) >> 10));
      put(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      put(cp);
    }
  }
}

void OutputFile::Flush() {
  std::size_t done = 0;
  while (fd_ >= 0 && done < buffer_.size()) {
    const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // write errors are not reported
    done += static_cast<std::size_t>(n);
  }
  buffer_.clear();
}

void OutputFile::Close() {
  if (fd_ < 0) return;
  Flush();
  ::close(fd_);
  fd_ = -1;
}

}  // namespace tabulon
