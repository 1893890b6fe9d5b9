#include "exporters/templates/files/file_fields.h"

#include <cstdio>

#include "format/numbers.h"
#include "format/special_values.h"
#include "format/time_texts.h"

namespace tabulon {
namespace {

struct CodeText {
  std::uint32_t code;
  std::string_view text;
};

constexpr CodeText kDesignedOsTexts[] = {
    {0x0, "Unknown"},
    {0x1, "Windows_16-bit"},
    {0x4, "Windows_32-bit"},
    {0x10000, "DOS"},
    {0x10001, "DOS_Windows_16-bit"},
    {0x10004, "DOS_Windows_32-bit"},
    {0x20000, "OS/2_16-bit"},
    {0x30000, "OS/2_32-bit"},
    {0x40000, "NT"},
    {0x40004, "NT_Windows_32-bit"},
};

constexpr CodeText kFileTypeTexts[] = {
    {0, "Unknown"}, {1, "Application"},    {2, "Dynamic Link Library (DLL)"}, {3, "Device Driver"},
    {4, "Font"},    {5, "Virtual Device"}, {7, "Static Link Library"},
};

std::string_view TextOf(std::span<const CodeText> table, std::uint32_t code) {
  for (const CodeText& c : table) {
    if (c.code == code) return c.text;
  }
  return {};
}

// Attribute columns 9 to 18 in order; "normal" is the attributes being
// exactly that bit.
constexpr std::uint32_t kAttributeBits[] = {
    platform::kFileAttributeDirectory,  platform::kFileAttributeArchive,
    platform::kFileAttributeCompressed, platform::kFileAttributeEncrypted,
    platform::kFileAttributeHidden,     platform::kFileAttributeNormal,
    platform::kFileAttributeOffline,    platform::kFileAttributeReadOnly,
    platform::kFileAttributeSystem,     platform::kFileAttributeTemporary,
};

std::string TimeText(std::uint64_t file_time, const FileTimeFormat& times) {
  const auto system = platform::FileTimeToSystemTime(static_cast<platform::FileTime>(file_time));
  if (!system) return {};
  return format::FormatSystemTime(*system, true, times.settings, times.locale);
}

}  // namespace

std::string VersionText(std::uint32_t most_significant, std::uint32_t least_significant) {
  char text[32];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", most_significant >> 16, most_significant & 0xFFFF,
                least_significant >> 16, least_significant & 0xFFFF);
  return text;
}

std::string_view DesignedOsText(std::uint32_t file_os) {
  return TextOf(kDesignedOsTexts, file_os);
}

std::string_view FileTypeText(std::uint32_t file_type) {
  return TextOf(kFileTypeTexts, file_type);
}

void FillFindColumns(Row& row, const platform::FindData& data, const FileTimeFormat& times) {
  const bool directory = (data.attributes & platform::kFileAttributeDirectory) != 0;
  const auto size = static_cast<std::int64_t>(data.size);
  row[kFileSizeBytes] = format::FormatSize(size, format::kSizeBytes);
  row[kFileName] = data.name;
  const std::size_t dot = data.name.rfind('.');
  if (!directory && dot != std::string::npos) row[kFileExtension] = data.name.substr(dot + 1);
  row[kFileCreation] = TimeText(data.creation_time, times);
  row[kFileLastAccess] = TimeText(data.last_access_time, times);
  row[kFileLastWritten] = TimeText(data.last_write_time, times);
  row[kFileSizeKb] = format::FormatSize(size, format::kSizeKilobytes);
  for (std::uint32_t i = 0; i < std::size(kAttributeBits); ++i) {
    const std::uint32_t bit = kAttributeBits[i];
    const bool set = bit == platform::kFileAttributeNormal ? data.attributes == bit
                                                           : (data.attributes & bit) != 0;
    row[kFileIsDirectory + i] = std::string(set ? format::kYes : format::kNo);
  }
}

void FillVersionColumns(const RunOutput& out, Row& row, const format::VersionResource& version,
                        bool strings) {
  if (version.fixed) {
    const format::FixedFileInfo& f = *version.fixed;
    row[kFileVersion] = VersionText(f.file_version_ms, f.file_version_ls);
    row[kProductVersion] = VersionText(f.product_version_ms, f.product_version_ls);
    row[kDesignedOs] = std::string(DesignedOsText(f.file_os));
    row[kFileType] = std::string(FileTypeText(f.file_type));
  }
  if (!strings) return;
  for (std::uint32_t i = 0; i < kVersionStringNames.size(); ++i) {
    row[kFileComments + i] =
        out.ReplaceLineBreaks(format::VersionString(version, kVersionStringNames[i]));
  }
}

}  // namespace tabulon
