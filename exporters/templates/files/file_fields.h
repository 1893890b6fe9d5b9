#pragma once
// The columns of a file/directory row and how they are filled from the find
// data and the version resource.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/row.h"
#include "format/pe_version.h"
#include "format/settings.h"
#include "platform/file_system.h"
#include "platform/locale.h"

namespace tabulon {

enum FileColumn : std::uint32_t {
  kFilePath = 0,
  kFileSizeBytes = 1,
  kFileName = 2,
  kFileExtension = 3,
  kFileCreation = 4,
  kFileLastAccess = 5,
  kFileLastWritten = 6,
  kFileRootDirectory = 7,
  kFileSizeKb = 8,
  kFileIsDirectory = 9,  // through 18: one attribute each
  kFileDirFilesBytes = 19,
  kFileVersion = 20,
  kProductVersion = 21,
  kDesignedOs = 22,
  kFileType = 23,
  kFileComments = 24,  // through 35: the version strings
  kFileColumnCount = 36,
};

// The version string read into each of the columns 24 to 35.
inline constexpr std::array<std::string_view, 12> kVersionStringNames = {
    "Comments",       "InternalName",   "ProductName",      "CompanyName",
    "LegalCopyright", "ProductVersion", "FileDescription",  "LegalTrademarks",
    "PrivateBuild",   "FileVersion",    "OriginalFilename", "SpecialBuild"};

// "1.2.3.4" of a version's two 32-bit halves.
std::string VersionText(std::uint32_t most_significant, std::uint32_t least_significant);
// The texts of VS_FIXEDFILEINFO's file OS and file type; "" for others.
std::string_view DesignedOsText(std::uint32_t file_os);
std::string_view FileTypeText(std::uint32_t file_type);

// What fills the time columns.
struct FileTimeFormat {
  const format::FormatSettings& settings;
  platform::Locale& locale;
};

// Fills columns 1 to 6 and 8 to 18 from the find data.
void FillFindColumns(Row& row, const platform::FindData& data, const FileTimeFormat& times);

// Fills columns 20 to 23 from the fixed info, and 24 to 35 when `strings`.
void FillVersionColumns(const RunOutput& out, Row& row, const format::VersionResource& version,
                        bool strings);

}  // namespace tabulon
