#pragma once
// The text of one value of a directory attribute, by attribute name and the
// value type the directory gives it.
#include <string>
#include <string_view>

#include "format/settings.h"
#include "platform/directory_search.h"
#include "platform/locale.h"

namespace tabulon::format {

// Numbered message texts the caller takes from its message table.
struct DirectoryValueTexts {
  std::string_view no_expiration;    // a large-integer date that never comes
  std::string_view unable_under_nt;  // SIDs, GUIDs and descriptors before version 5
};

struct DirectoryValueContext {
  const FormatSettings& settings;
  platform::Locale& locale;
  std::string_view line_break_replacement;
  DirectoryValueTexts texts;
  // What writing a photo attribute to its file gave; null when none was written.
  const std::string* photo_result = nullptr;
};

// "jpegPhoto" or "thumbnailPhoto" in any case: values shown as the photo result.
bool IsPhotoAttribute(std::string_view attribute);

// `value` holds the bytes as the server sent them: integers, booleans, times
// and large integers as text, octet strings and descriptors as bytes. The
// result never holds a line break.
std::string FormatDirectoryValue(std::string_view attribute, platform::DirectoryValueKind kind,
                                 std::string_view value, const DirectoryValueContext& context);

}  // namespace tabulon::format
