#include "estate/xml_reader.h"

#include <algorithm>

#include "platform/text.h"

namespace tabulon::estate {
namespace {

bool IsXmlChar(char32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

bool IsNameStart(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || u >= 0x80;
}

bool IsNameChar(char c) {
  return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// UTF-16 code units to UTF-8; false on a lone surrogate.
bool DecodeUtf16(std::string_view bytes, bool big_endian, std::string& out) {
  if (bytes.size() % 2 != 0) return false;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
    char32_t unit = big_endian ? (b0 << 8 | b1) : (b1 << 8 | b0);
    if (unit >= 0xDC00 && unit <= 0xDFFF) return false;
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (i + 3 >= bytes.size()) return false;
      const auto c0 = static_cast<unsigned char>(bytes[i + 2]);
      const auto c1 = static_cast<unsigned char>(bytes[i + 3]);
      const char32_t low = big_endian ? (c0 << 8 | c1) : (c1 << 8 | c0);
      if (low < 0xDC00 || low > 0xDFFF) return false;
      unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    }
    text::AppendUtf8(out, unit);
  }
  return true;
}

class Parser {
 public:
  Parser(std::string_view text, std::string_view origin) : s_(text), origin_(origin) {}

  bool Document(XmlElement& root) {
    if (s_.substr(0, 5) == "<?xml" && s_.size() > 5 && IsBlank(s_[5])) {
      if (!Declaration()) return false;
    }
    if (!Misc()) return false;
    if (AtEnd() || s_[pos_] != '<') return Fail("expected the root element");
    if (!Element(root, 1)) return false;
    if (!Misc()) return false;
    return AtEnd() || Fail("unexpected content after the root element");
  }

  const std::string& error() const { return error_; }

 private:
  bool AtEnd() const { return pos_ >= s_.size(); }
  bool Starts(std::string_view prefix) const { return s_.substr(pos_, prefix.size()) == prefix; }

  bool Fail(std::string_view message) {
    if (error_.empty()) {
      const auto line = 1 + std::count(s_.begin(), s_.begin() + std::min(pos_, s_.size()), '\n');
      error_ = std::string(origin_) + ":" + std::to_string(line) + ": " + std::string(message);
    }
    return false;
  }

  // Counted on from where it was last asked: the position only moves on.
  std::uint32_t Line() {
    line_ += static_cast<std::uint32_t>(std::count(s_.begin() + counted_, s_.begin() + pos_, '\n'));
    counted_ = pos_;
    return line_;
  }

  void SkipBlanks() {
    while (!AtEnd() && IsBlank(s_[pos_])) ++pos_;
  }

  bool Name(std::string& out) {
    if (AtEnd() || !IsNameStart(s_[pos_])) return Fail("expected a name");
    const std::size_t start = pos_;
    while (!AtEnd() && IsNameChar(s_[pos_])) ++pos_;
    out.assign(s_.substr(start, pos_ - start));
    return true;
  }

  // Comments, processing instructions and blanks between the parts of a
  // document.
  bool Misc() {
    while (true) {
      SkipBlanks();
      if (Starts("<!--")) {
        if (!Comment()) return false;
      } else if (Starts("<?")) {
        if (!ProcessingInstruction()) return false;
      } else if (Starts("<!")) {
        return Fail("document type declarations are not accepted");
      } else {
        return true;
      }
    }
  }

  bool Comment() {
    pos_ += 4;
    const std::size_t end = s_.find("--", pos_);
    if (end == std::string_view::npos) return Fail("unterminated comment");
    if (end + 2 >= s_.size() || s_[end + 2] != '>') return Fail("\"--\" inside a comment");
    pos_ = end + 3;
    return true;
  }

  bool ProcessingInstruction() {
    pos_ += 2;
    std::string target;
    if (!Name(target)) return false;
    if (text::EqualsNoCase(target, "xml")) return Fail("an XML declaration must come first");
    const std::size_t end = s_.find("?>", pos_);
    if (end == std::string_view::npos) return Fail("unterminated processing instruction");
    pos_ = end + 2;
    return true;
  }

  bool Declaration() {
    pos_ += 5;
    std::vector<std::pair<std::string, std::string>> pseudo;
    while (true) {
      SkipBlanks();
      if (Starts("?>")) {
        pos_ += 2;
        break;
      }
      std::pair<std::string, std::string> attribute;
      if (!Attribute(attribute)) return false;
      pseudo.push_back(std::move(attribute));
    }
    if (pseudo.empty() || pseudo[0].first != "version" || !pseudo[0].second.starts_with("1.")) {
      return Fail("the XML declaration needs version 1.x first");
    }
    for (const auto& [name, value] : pseudo) {
      if (name == "encoding" && !text::EqualsNoCase(value, "UTF-8") &&
          !text::EqualsNoCase(value, "UTF-16")) {
        return Fail("only UTF-8 and UTF-16 are read");
      }
      if (name != "version" && name != "encoding" && name != "standalone") {
        return Fail("unknown item in the XML declaration");
      }
    }
    return true;
  }

  // A reference after '&': appended to `out`.
  bool Reference(std::string& out) {
    ++pos_;
    const std::size_t end = s_.find(';', pos_);
    if (end == std::string_view::npos || end - pos_ > 10) return Fail("unterminated reference");
    const std::string_view name = s_.substr(pos_, end - pos_);
    pos_ = end + 1;
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"apos", '\''}, {"quot", '"'}};
    for (const auto& [entity, c] : kEntities) {
      if (name == entity) {
        out += c;
        return true;
      }
    }
    if (name.size() < 2 || name[0] != '#') return Fail("unknown entity");
    const bool hex = name[1] == 'x';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty()) return Fail("empty character reference");
    char32_t value = 0;
    for (char c : digits) {
      int digit = -1;
      if (c >= '0' && c <= '9') digit = c - '0';
      if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
      if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
      if (digit < 0) return Fail("bad character reference");
      value = value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
      if (value > 0x10FFFF) return Fail("character reference out of range");
    }
    if (!IsXmlChar(value)) return Fail("character reference to a character XML does not allow");
    text::AppendUtf8(out, value);
    return true;
  }

  bool Attribute(std::pair<std::string, std::string>& out) {
    if (!Name(out.first)) return false;
    SkipBlanks();
    if (AtEnd() || s_[pos_] != '=') return Fail("expected '=' after an attribute name");
    ++pos_;
    SkipBlanks();
    if (AtEnd() || (s_[pos_] != '"' && s_[pos_] != '\'')) return Fail("expected a quoted value");
    const char quote = s_[pos_++];
    while (true) {
      if (AtEnd()) return Fail("unterminated attribute value");
      const char c = s_[pos_];
      if (c == quote) break;
      if (c == '<') return Fail("'<' in an attribute value");
      if (c == '&') {
        if (!Reference(out.second)) return false;
        continue;
      }
      out.second += IsBlank(c) ? ' ' : c;
      ++pos_;
    }
    ++pos_;
    return true;
  }

  bool Element(XmlElement& element, std::size_t depth) {
    if (depth > kMaxXmlDepth) return Fail("elements nested too deeply");
    if (++elements_ > kMaxXmlElements) return Fail("too many elements");
    element.line = Line();
    ++pos_;  // '<'
    if (!Name(element.name)) return false;
    while (true) {
      const std::size_t before = pos_;
      SkipBlanks();
      if (Starts("/>")) {
        pos_ += 2;
        return true;
      }
      if (Starts(">")) {
        ++pos_;
        break;
      }
      if (pos_ == before) return Fail("expected a blank, '>' or '/>'");
      std::pair<std::string, std::string> attribute;
      if (!Attribute(attribute)) return false;
      for (const auto& existing : element.attributes) {
        if (existing.first == attribute.first) return Fail("attribute given twice");
      }
      element.attributes.push_back(std::move(attribute));
    }
    return Content(element, depth);
  }

  bool Content(XmlElement& element, std::size_t depth) {
    while (true) {
      if (AtEnd()) return Fail("element <" + element.name + "> is not closed");
      if (Starts("</")) {
        pos_ += 2;
        std::string name;
        if (!Name(name)) return false;
        if (name != element.name) {
          return Fail("</" + name + "> does not close <" + element.name + ">");
        }
        SkipBlanks();
        if (AtEnd() || s_[pos_] != '>') return Fail("expected '>'");
        ++pos_;
        return true;
      }
      if (Starts("<!--")) {
        if (!Comment()) return false;
      } else if (Starts("<![CDATA[")) {
        pos_ += 9;
        const std::size_t end = s_.find("]]>", pos_);
        if (end == std::string_view::npos) return Fail("unterminated CDATA section");
        element.text.append(s_.substr(pos_, end - pos_));
        pos_ = end + 3;
      } else if (Starts("<?")) {
        if (!ProcessingInstruction()) return false;
      } else if (Starts("<!")) {
        return Fail("declarations are not accepted inside an element");
      } else if (s_[pos_] == '<') {
        element.children.emplace_back();
        if (!Element(element.children.back(), depth + 1)) return false;
      } else if (s_[pos_] == '&') {
        if (!Reference(element.text)) return false;
      } else {
        if (Starts("]]>")) return Fail("\"]]>\" in character data");
        element.text += s_[pos_++];
      }
    }
  }

  std::string_view s_;
  std::string_view origin_;
  std::size_t pos_ = 0;
  std::size_t elements_ = 0;
  std::size_t counted_ = 0;
  std::uint32_t line_ = 1;
  std::string error_;
};

// The document as UTF-8 with line ends normalised; false with `error` and
// the text decoded up to the fault in `out`.
bool Decode(std::string_view bytes, std::string& out, std::string& error) {
  std::string utf8;
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    utf8.assign(bytes.substr(3));
  } else if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
    if (!DecodeUtf16(bytes.substr(2), bytes[0] == '\xFE', utf8)) {
      error = "malformed UTF-16";
      return false;
    }
  } else {
    utf8.assign(bytes);
  }
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const std::size_t at = pos;
    const char32_t c = text::NextCodePoint(utf8, pos);
    // The decoder stands in U+FFFD for a malformed sequence.
    if (c == 0xFFFD && utf8.compare(at, 3, "\xEF\xBF\xBD") != 0) {
      error = "malformed UTF-8";
      return false;
    }
    if (!IsXmlChar(c)) {
      error = "a character XML does not allow";
      return false;
    }
    if (c == '\r') {
      if (pos < utf8.size() && utf8[pos] == '\n') ++pos;
      out += '\n';
      continue;
    }
    text::AppendUtf8(out, c);
  }
  return true;
}

}  // namespace

const XmlElement* XmlElement::Child(std::string_view child_name) const {
  for (const XmlElement& child : children) {
    if (child.name == child_name) return &child;
  }
  return nullptr;
}

const std::string* XmlElement::Attribute(std::string_view attribute_name) const {
  for (const auto& [key, value] : attributes) {
    if (key == attribute_name) return &value;
  }
  return nullptr;
}

XmlDocument ParseXml(std::string_view bytes, std::string_view origin) {
  XmlDocument document;
  if (bytes.size() > kMaxXmlBytes) {
    document.error =
        std::string(origin) + ": larger than " + std::to_string(kMaxXmlBytes >> 10) + " KiB";
    return document;
  }
  std::string text;
  std::string error;
  if (!Decode(bytes, text, error)) {
    const auto line = 1 + std::count(text.begin(), text.end(), '\n');
    document.error = std::string(origin) + ":" + std::to_string(line) + ": " + error;
    return document;
  }
  Parser parser(text, origin);
  document.ok = parser.Document(document.root);
  if (!document.ok) {
    document.error = parser.error();
    document.root = XmlElement();
  }
  return document;
}

}  // namespace tabulon::estate
