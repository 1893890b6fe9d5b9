#include "estate/reg_file.h"

#include <charconv>
#include <optional>
#include <vector>

#include "estate/json_reader.h"
#include "platform/sizes.h"
#include "platform/text.h"

namespace tabulon::estate {
namespace {

constexpr std::string_view kVersion5Header = "Windows Registry Editor Version 5.00";
constexpr std::string_view kVersion4Header = "REGEDIT4";
constexpr std::uint32_t kMaxValueNameChars = 16383;

struct Problem {
  std::size_t line;
  std::string message;
};

std::optional<std::uint32_t> ParseHex(std::string_view digits, std::size_t max_digits) {
  if (digits.empty() || digits.size() > max_digits) return std::nullopt;
  std::uint32_t value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
  if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

// The text of the file as UTF-8, or a problem with its encoding.
std::optional<std::string> Decode(std::string_view bytes, Problem& problem) {
  if (bytes.starts_with("\xFF\xFE")) {
    bytes.remove_prefix(2);
    if (bytes.size() % 2 != 0) {
      problem = {0, "the UTF-16 text ends in the middle of a character"};
      return std::nullopt;
    }
    return text::Utf16LeToUtf8(bytes);
  }
  if (bytes.starts_with("\xFE\xFF")) {
    problem = {0, "big-endian UTF-16 is not read; save the file as UTF-16LE or UTF-8"};
    return std::nullopt;
  }
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  return text::EightBitToUtf8(bytes);
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (true) {
    const auto cut = text.find('\n');
    std::string_view line = text.substr(0, cut);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    if (cut == std::string_view::npos) break;
    text.remove_prefix(cut + 1);
  }
  return lines;
}

class Parser {
 public:
  Parser(std::vector<std::string_view> lines, RegistryTree& tree)
      : lines_(std::move(lines)), tree_(tree) {}

  RegFileResult Run() {
    if (!ReadHeader()) return Result();
    for (next_ = 1; next_ < lines_.size();) {
      const std::size_t number = next_ + 1;
      const std::string_view line = text::Trim(lines_[next_++]);
      if (line.empty() || line.front() == ';') continue;
      const bool ok = line.front() == '[' ? KeyLine(line, number) : ValueLine(line, number);
      if (!ok) return Result();
    }
    return {};
  }

 private:
  RegFileResult Result() const { return {false, problem_.line, problem_.message}; }

  bool Fail(std::size_t line, std::string message) {
    problem_ = {line, std::move(message)};
    return false;
  }

  bool ReadHeader() {
    const std::string_view header = text::Trim(lines_.front());
    if (header == kVersion5Header) return true;
    if (header == kVersion4Header) {
      version4_ = true;
      return true;
    }
    // Not quoted: the file may be anything but a .reg file.
    return Fail(1, "expected the header \"" + std::string(kVersion5Header) + "\" or \"" +
                       std::string(kVersion4Header) + "\"");
  }

  bool KeyLine(std::string_view line, std::size_t number) {
    if (!line.ends_with(']')) return Fail(number, "a key line must end with ']'");
    std::string_view path = line.substr(1, line.size() - 2);
    const bool remove = path.starts_with('-');
    if (remove) path.remove_prefix(1);
    const auto cut = path.find('\\');
    const std::string_view hive_name = path.substr(0, cut);
    const std::optional<Hive> hive = HiveFromName(hive_name);
    if (!hive) {
      return Fail(number, "unknown hive " + QuoteForMessage(hive_name) +
                              "; expected HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_USER, "
                              "HKEY_CLASSES_ROOT or HKEY_CURRENT_CONFIG");
    }
    const std::string_view below = cut == std::string_view::npos ? "" : path.substr(cut + 1);
    if (remove) {
      tree_.DeleteKey(*hive, below);
      key_ = RegistryTree::kNoKey;
      return true;
    }
    const std::optional<std::uint32_t> key = tree_.CreateKey(*hive, below);
    if (!key) {
      return Fail(number, "a key name is longer than " +
                              std::to_string(platform::kMaxKeyNameChars) + " characters");
    }
    key_ = *key;
    in_key_section_ = true;
    return true;
  }

  // A quoted text at the start of `s`, with \\ and \" unescaped; `s` is
  // left after the closing quote.
  bool Quoted(std::string_view& s, std::size_t number, std::string& out) {
    out.clear();
    for (std::size_t i = 1; i < s.size(); ++i) {
      const char c = s[i];
      if (c == '"') {
        s.remove_prefix(i + 1);
        return true;
      }
      if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
        out += s[++i];
        continue;
      }
      out += c;
    }
    return Fail(number, "a quoted text has no closing '\"'");
  }

  bool ValueLine(std::string_view line, std::size_t number) {
    if (line.front() != '"' && line.front() != '@') {
      return Fail(number, "expected a [key] line, a \"name\"= or @= value line, or a ; comment");
    }
    std::string name;
    std::string_view rest = line;
    if (rest.front() == '@') {
      rest.remove_prefix(1);
    } else if (!Quoted(rest, number, name)) {
      return false;
    }
    if (platform::Utf16Units(name) > kMaxValueNameChars) {
      return Fail(number, "a value name is longer than " + std::to_string(kMaxValueNameChars) +
                              " characters");
    }
    rest = text::TrimLeft(rest);
    if (!rest.starts_with('=')) return Fail(number, "expected '=' after the value name");
    rest = text::Trim(rest.substr(1));
    if (!in_key_section_) return Fail(number, "a value line before the first [key] line");

    if (rest == "-") {
      if (key_ != RegistryTree::kNoKey) tree_.DeleteValue(key_, name);
      return true;
    }
    RegistryValueData value;
    value.name = std::move(name);
    if (!Data(rest, number, value)) return false;
    // Values under a removed key go nowhere, as the editor does it.
    if (key_ != RegistryTree::kNoKey) tree_.SetValue(key_, std::move(value));
    return true;
  }

  bool Data(std::string_view rest, std::size_t number, RegistryValueData& value) {
    if (rest.starts_with('"')) {
      std::string textual;
      if (!Quoted(rest, number, textual)) return false;
      if (!text::Trim(rest).empty()) {
        return Fail(number, "unexpected text after the closing '\"': " + QuoteForMessage(rest));
      }
      value.type = platform::kRegSz;
      value.data = text::Utf8ToUtf16Le(textual);
      value.data.append(2, '\0');
      return true;
    }
    if (text::StartsWithNoCase(rest, "dword:")) {
      const std::optional<std::uint32_t> number_value = ParseHex(rest.substr(6), 8);
      if (!number_value) {
        return Fail(number, "dword: needs one to eight hexadecimal digits, found " +
                                QuoteForMessage(rest.substr(6)));
      }
      value.type = platform::kRegDword;
      for (int shift = 0; shift < 32; shift += 8) {
        value.data += static_cast<char>((*number_value >> shift) & 0xFF);
      }
      return true;
    }
    if (text::StartsWithNoCase(rest, "hex")) return Hex(rest.substr(3), number, value);
    return Fail(number, "unknown value data " + QuoteForMessage(rest) +
                            "; expected \"text\", dword:, hex:, hex(n): or -");
  }

  bool Hex(std::string_view rest, std::size_t number, RegistryValueData& value) {
    value.type = platform::kRegBinary;
    if (rest.starts_with('(')) {
      const auto close = rest.find(')');
      const std::optional<std::uint32_t> type =
          close == std::string_view::npos ? std::nullopt : ParseHex(rest.substr(1, close - 1), 8);
      if (!type) return Fail(number, "hex(n) needs a hexadecimal type number in parentheses");
      value.type = *type;
      rest.remove_prefix(close + 1);
    }
    if (!rest.starts_with(':')) return Fail(number, "expected ':' after hex");
    std::string list(rest.substr(1));
    // A "\" at the end continues the list on the next line.
    while (true) {
      const std::string_view trimmed = text::TrimRight(list);
      if (!trimmed.ends_with('\\')) break;
      list.resize(trimmed.size() - 1);
      if (next_ >= lines_.size()) {
        return Fail(number, "the value continues with '\\' but the file ends");
      }
      list += text::Trim(lines_[next_++]);
    }
    std::string bytes;
    std::string_view items = text::Trim(list);
    while (!items.empty()) {
      const auto comma = items.find(',');
      const std::string_view item = text::Trim(items.substr(0, comma));
      const std::optional<std::uint32_t> byte = ParseHex(item, 2);
      if (!byte) {
        return Fail(number,
                    "hex data needs bytes of one or two hexadecimal digits separated by "
                    "',', found " +
                        QuoteForMessage(item));
      }
      bytes += static_cast<char>(*byte);
      if (comma == std::string_view::npos) break;
      items.remove_prefix(comma + 1);
      if (text::Trim(items).empty()) return Fail(number, "hex data ends with ','");
    }
    // Old files hold texts in the 8-bit code page; the registry holds UTF-16.
    if (version4_ && (value.type == platform::kRegSz || value.type == platform::kRegExpandSz ||
                      value.type == platform::kRegMultiSz)) {
      bytes = text::Utf8ToUtf16Le(text::EightBitToUtf8(bytes));
    }
    value.data = std::move(bytes);
    return true;
  }

  std::vector<std::string_view> lines_;
  RegistryTree& tree_;
  std::size_t next_ = 0;
  bool version4_ = false;
  bool in_key_section_ = false;
  std::uint32_t key_ = RegistryTree::kNoKey;
  Problem problem_{0, {}};
};

}  // namespace

RegFileResult ApplyRegFile(std::string_view bytes, RegistryTree& tree) {
  Problem problem{0, {}};
  const std::optional<std::string> decoded = Decode(bytes, problem);
  if (!decoded) return {false, problem.line, problem.message};
  const std::vector<std::string_view> lines = SplitLines(*decoded);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].find('\0') != std::string_view::npos) {
      return {false, i + 1, "the line holds a NUL character; is this a text file?"};
    }
  }
  return Parser(lines, tree).Run();
}

}  // namespace tabulon::estate
