#pragma once
// The version resource of an executable, read from its bytes: the PE/COFF
// headers, the section table, the resource tree (type 16, then a name, then
// a language) and the VS_VERSIONINFO block it leads to. The file is read
// through a byte-range reader, a few small reads at a time, so a large file
// is never read whole. Every offset and length is checked against what was
// read: a short, lying or looping file is a status, never a read past the
// end or a walk without end.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tabulon::format {

// Reads up to `size` bytes at `offset` into `out` (fewer at the end of the
// file). False: the file could not be read.
using ByteRangeReader =
    std::function<bool(std::uint64_t offset, std::size_t size, std::vector<std::uint8_t>& out)>;

// No executable is smaller: its DOS header alone takes this many bytes, so a
// smaller file need not be opened.
inline constexpr std::size_t kSmallestExecutable = 64;

enum class PeVersionStatus {
  kOk,
  kReadFailed,     // the reader failed
  kNotExecutable,  // no MZ header, no PE signature, or an unknown optional header
  kNoVersion,      // an executable without a version resource
  kMalformed,      // headers or resource data that point outside the file or lie about sizes
};

// VS_FIXEDFILEINFO, as stored.
struct FixedFileInfo {
  std::uint32_t file_version_ms = 0;
  std::uint32_t file_version_ls = 0;
  std::uint32_t product_version_ms = 0;
  std::uint32_t product_version_ls = 0;
  std::uint32_t file_flags_mask = 0;
  std::uint32_t file_flags = 0;
  std::uint32_t file_os = 0;
  std::uint32_t file_type = 0;
  std::uint32_t file_subtype = 0;
  std::uint32_t file_date_ms = 0;
  std::uint32_t file_date_ls = 0;
};

// One entry of \VarFileInfo\Translation.
struct Translation {
  std::uint16_t language = 0;
  std::uint16_t code_page = 0;
};

// One table of \StringFileInfo: its key ("040904b0") and its strings in
// file order, as UTF-8.
struct StringTable {
  std::string key;
  std::vector<std::pair<std::string, std::string>> strings;
};

struct VersionResource {
  std::optional<FixedFileInfo> fixed;  // absent when the block carries none
  std::vector<Translation> translations;
  std::vector<StringTable> string_tables;
};

struct PeVersionResult {
  PeVersionStatus status = PeVersionStatus::kOk;
  VersionResource version;
};

// The version resource of the executable `read` reads. Of several version
// resources the one with ID 1 is taken (else the first); of its languages
// the neutral one, else US English, else the first.
PeVersionResult ReadPeVersion(const ByteRangeReader& read);

// Parses a VS_VERSIONINFO block on its own. False: not one.
bool ParseVersionBlock(const std::vector<std::uint8_t>& block, VersionResource& out);

// The string `name` of the first translation, as read at
// \StringFileInfo\<language><code page>\<name> (hexadecimal, any case);
// empty when there is no translation, no such table or no such string.
std::string VersionString(const VersionResource& version, std::string_view name);

}  // namespace tabulon::format
