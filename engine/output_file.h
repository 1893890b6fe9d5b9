#pragma once
// One output or log file. An 8-bit file writes each character U+0000-U+00FF
// as one byte (others as '?') and every LF as CR LF, as a text-mode file
// does; a Unicode file is UTF-16LE written unchanged. Writes are buffered.
// The export carries on after a failed write; the file keeps the status of
// its first failed write or close for the run to report.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/status.h"
#include "platform/writable_file.h"

namespace tabulon {

class OutputFile {
 public:
  enum class Encoding { kEightBit, kUtf16Le };

  OutputFile() = default;
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  OutputFile(OutputFile&& other) noexcept;
  OutputFile& operator=(OutputFile&& other) noexcept;

  // Opens for appending or replacing; on failure returns the status of the
  // failing call and leaves the object closed.
  win::Status Open(const std::string& path, bool append, Encoding encoding);
  bool is_open() const { return file_ != nullptr; }
  Encoding encoding() const { return encoding_; }
  const std::string& path() const { return path_; }
  // The first failed write or close since Open; ERROR_SUCCESS when none.
  win::Status error() const { return error_; }

  // Text in UTF-8, encoded as the file's encoding asks.
  void Write(std::string_view utf8) {
    if (!file_ || utf8.empty()) return;
    if (utf8.size() > kMaxChunk) return WriteLarge(utf8);
    if (room() < 2 * utf8.size()) Flush();
    Encode(utf8);
  }
  // Bytes written as they are (the byte-order mark).
  void WriteRaw(std::string_view bytes);
  void Flush();
  // Flushes and closes; the file's error() afterwards tells whether every
  // byte reached the file.
  void Close();

 private:
  static constexpr std::size_t kBufferSize = std::size_t{64} * 1024;
  // Encoded text is at most twice its UTF-8 size (LF as CR LF, ASCII as
  // two UTF-16 bytes), so a chunk of this size always fits an empty buffer.
  static constexpr std::size_t kMaxChunk = kBufferSize / 2;
  void WriteLarge(std::string_view utf8);
  void Encode(std::string_view utf8) {
    if (encoding_ == Encoding::kEightBit) {
      WriteEightBit(utf8);
    } else {
      WriteUtf16(utf8);
    }
  }
  void WriteEightBit(std::string_view utf8);
  void WriteUtf16(std::string_view utf8);
  std::size_t room() const { return kBufferSize - used_; }

  std::unique_ptr<platform::WritableFile> file_;
  Encoding encoding_ = Encoding::kEightBit;
  std::string path_;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  win::Status error_ = win::ERROR_SUCCESS;
};

}  // namespace tabulon
