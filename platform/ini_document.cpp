#include "platform/ini_document.h"

#include "platform/text.h"

namespace tabulon::platform {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string StripMatchingQuotes(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    v = v.substr(1, v.size() - 2);
  }
  return std::string(v);
}

}  // namespace

bool ParseSectionHeader(std::string_view line, std::string_view& name) {
  line = text::TrimLeft(line);
  if (line.empty() || line.front() != '[') return false;
  const auto close = line.find(']');
  if (close == std::string_view::npos) return false;
  name = text::Trim(line.substr(1, close - 1));
  return true;
}

bool SplitKeyLine(std::string_view line, std::string_view& key, std::string_view& value) {
  const auto eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  key = text::Trim(line.substr(0, eq));
  value = text::Trim(line.substr(eq + 1));
  return true;
}

IniDocument IniDocument::Parse(std::string_view bytes) {
  IniDocument doc;
  std::string decoded;
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    doc.encoding_ = TextEncoding::kUtf16Le;
    decoded = text::Utf16LeToUtf8(bytes.substr(2));
  } else if (bytes.substr(0, 3) == kUtf8Bom) {
    doc.encoding_ = TextEncoding::kUtf8Bom;
    decoded = text::EightBitToUtf8(bytes.substr(3));
  } else if (text::IsValidUtf8(bytes)) {
    doc.encoding_ = TextEncoding::kUtf8;
    decoded.assign(bytes);
  } else {
    doc.encoding_ = TextEncoding::kLatin1;
    decoded = text::Latin1ToUtf8(bytes);
  }
  std::string_view rest = decoded;
  while (!rest.empty()) {
    const auto nl = rest.find('\n');
    std::string_view line = rest.substr(0, nl);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    doc.lines_.push_back(Line{std::string(line)});
    if (nl == std::string_view::npos) break;
    rest.remove_prefix(nl + 1);
  }
  return doc;
}

std::string IniDocument::Serialize() const {
  std::string body;
  for (const Line& line : lines_) {
    body += line.text;
    body += "\r\n";
  }
  switch (encoding_) {
    case TextEncoding::kUtf16Le:
      return std::string("\xFF\xFE") + text::Utf8ToUtf16Le(body);
    case TextEncoding::kUtf8Bom:
      return std::string(kUtf8Bom) + body;
    case TextEncoding::kLatin1:
      return text::Utf8ToLatin1(body);
    case TextEncoding::kUtf8:
      break;
  }
  return body;
}

std::size_t IniDocument::FindSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    std::string_view name;
    if (ParseSectionHeader(lines_[i].text, name) && text::EqualsNoCase(name, section)) return i;
  }
  return std::string::npos;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
  const std::size_t header = FindSection(section);
  if (header == std::string::npos) return std::nullopt;
  for (std::size_t i = header + 1; i < lines_.size(); ++i) {
    std::string_view name;
    if (ParseSectionHeader(lines_[i].text, name)) break;
    std::string_view k;
    std::string_view v;
    if (SplitKeyLine(lines_[i].text, k, v) && text::EqualsNoCase(k, key)) {
      return StripMatchingQuotes(v);
    }
  }
  return std::nullopt;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string new_line = std::string(key) + "=" + std::string(value);
  const std::size_t header = FindSection(section);
  if (header == std::string::npos) {
    lines_.push_back(Line{"[" + std::string(section) + "]"});
    lines_.push_back(Line{new_line});
    return;
  }
  std::size_t last_content = header;
  std::size_t i = header + 1;
  for (; i < lines_.size(); ++i) {
    std::string_view name;
    if (ParseSectionHeader(lines_[i].text, name)) break;
    std::string_view k;
    std::string_view v;
    if (SplitKeyLine(lines_[i].text, k, v) && text::EqualsNoCase(k, key)) {
      lines_[i].text = std::string(k) + "=" + std::string(value);
      return;
    }
    if (!text::Trim(lines_[i].text).empty()) last_content = i;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(last_content + 1), Line{new_line});
}

void IniDocument::RemoveSection(std::string_view section) {
  const std::size_t header = FindSection(section);
  if (header == std::string::npos) return;
  std::size_t end = header + 1;
  for (std::string_view name; end < lines_.size(); ++end) {
    if (ParseSectionHeader(lines_[end].text, name)) break;
  }
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(header),
               lines_.begin() + static_cast<std::ptrdiff_t>(end));
}

}  // namespace tabulon::platform
