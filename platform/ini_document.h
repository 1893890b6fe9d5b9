#pragma once
// An INI file held as its lines, so that a changed key is written back with
// comments, blank lines and unknown keys untouched.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon::platform {

enum class TextEncoding { kUtf8, kUtf8Bom, kLatin1, kUtf16Le };

class IniDocument {
 public:
  // Decodes UTF-16LE (with FF FE), UTF-8 (with or without BOM) or Latin-1.
  static IniDocument Parse(std::string_view bytes);
  // Encodes in the encoding the document was read in (UTF-8 for a new one),
  // with CR LF line ends.
  std::string Serialize() const;

  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  void Set(std::string_view section, std::string_view key, std::string_view value);
  // Removes the section's header and every line up to the next header.
  void RemoveSection(std::string_view section);

  TextEncoding encoding() const { return encoding_; }
  std::size_t line_count() const { return lines_.size(); }

 private:
  struct Line {
    std::string text;
  };
  // Index of the first line of `section`'s header, or npos.
  std::size_t FindSection(std::string_view section) const;

  std::vector<Line> lines_;
  TextEncoding encoding_ = TextEncoding::kUtf8;
};

// Splits a line into key and value the way the profile functions do: the key
// is the text before the first '=', both sides trimmed.
bool SplitKeyLine(std::string_view line, std::string_view& key, std::string_view& value);
// A section header "[name]" (leading white space allowed); returns the name.
bool ParseSectionHeader(std::string_view line, std::string_view& name);

}  // namespace tabulon::platform
