#pragma once
// INI profile access with the semantics of the Windows private-profile
// functions: sections and keys match without regard to case, a missing file,
// section or key gives the default, values are cut to the caller's buffer,
// and writes keep every other line of the file as it was.
#include <cstddef>
#include <string>
#include <string_view>

namespace tabulon::platform {

class Profile {
 public:
  virtual ~Profile() = default;

  // Returns at most `buffer_chars - 1` characters, as a buffer of
  // `buffer_chars` characters with its terminator would hold.
  virtual std::string GetString(std::string_view path, std::string_view section,
                                std::string_view key, std::string_view default_value,
                                std::size_t buffer_chars) = 0;
  // Returns false when the file cannot be written.
  virtual bool WriteString(std::string_view path, std::string_view section, std::string_view key,
                           std::string_view value) = 0;
  // Removes a whole section, as a write with no key does; false when the
  // file cannot be written.
  virtual bool DeleteSection(std::string_view path, std::string_view section) = 0;
};

}  // namespace tabulon::platform
