#include "estate/ldap_filter.h"

#include <charconv>
#include <cstdint>
#include <optional>

#include "platform/text.h"

namespace tabulon::estate {
namespace {

using Kind = FilterNode::Kind;
using platform::DirectoryValueKind;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class FilterParser {
 public:
  explicit FilterParser(std::string_view text) : text_(text) {}

  FilterParse Run() {
    FilterParse result;
    // A bare item without parentheses is accepted as most tools do.
    const bool bare = !text_.empty() && text_.front() != '(';
    std::string wrapped;
    if (bare) {
      wrapped = "(" + std::string(text_) + ")";
      text_ = wrapped;
    }
    if (ParseFilter(result.root, 0) && pos_ != text_.size()) {
      Fail("text after the end of the filter");
    }
    result.outcome = outcome_;
    if (outcome_ != FilterParse::Outcome::kOk) result.error = error_;
    return result;
  }

 private:
  bool Fail(std::string_view why,
            FilterParse::Outcome outcome = FilterParse::Outcome::kSyntaxError) {
    if (outcome_ == FilterParse::Outcome::kOk) {
      outcome_ = outcome;
      error_ = std::string(why) + " at offset " + std::to_string(pos_);
    }
    return false;
  }

  bool Expect(char c) {
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return Fail(std::string("expected '") + c + "'");
  }

  bool ParseFilter(FilterNode& out, std::size_t depth) {
    if (depth == kMaxFilterDepth) return Fail("the filter is nested too deeply");
    if (!Expect('(')) return false;
    if (pos_ == text_.size()) return Fail("the filter ends early");
    const char c = text_[pos_];
    if (c == '&' || c == '|' || c == '!') {
      ++pos_;
      out.kind = c == '&' ? Kind::kAnd : c == '|' ? Kind::kOr : Kind::kNot;
      while (pos_ < text_.size() && text_[pos_] == '(') {
        if (!ParseFilter(out.children.emplace_back(), depth + 1)) return false;
      }
      if (out.kind == Kind::kNot && out.children.size() != 1) {
        return Fail("'!' takes exactly one filter");
      }
      // RFC 4526 absolute true and false: "(&)" and "(|)".
    } else if (!ParseItem(out)) {
      return false;
    }
    return Expect(')');
  }

  bool ParseItem(FilterNode& out) {
    const std::size_t start = pos_;
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      const bool name_char = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                             (c >= '0' && c <= '9') || c == '-' || c == ';' || c == '.';
      if (!name_char) break;
      ++pos_;
    }
    out.attribute.assign(text_.substr(start, pos_ - start));
    if (pos_ == text_.size()) return Fail("the filter ends early");
    const char op = text_[pos_];
    if (op == ':') return ParseExtensible(out);
    if (out.attribute.empty()) return Fail("an attribute name is missing");
    if (op == '=') {
      out.kind = Kind::kEquality;
      ++pos_;
    } else if ((op == '~' || op == '>' || op == '<') && pos_ + 1 < text_.size() &&
               text_[pos_ + 1] == '=') {
      out.kind = op == '~' ? Kind::kApprox : op == '>' ? Kind::kGreaterOrEqual : Kind::kLessOrEqual;
      pos_ += 2;
    } else {
      return Fail("expected '=', '~=', '>=' or '<='");
    }
    return ParseValue(out);
  }

  // "attr:rule:=value" with one of the two bitwise rules.
  bool ParseExtensible(FilterNode& out) {
    constexpr std::string_view kBitAndRule = ":1.2.840.113556.1.4.803:=";
    constexpr std::string_view kBitOrRule = ":1.2.840.113556.1.4.804:=";
    const std::string_view rest = text_.substr(pos_);
    if (!out.attribute.empty() && rest.starts_with(kBitAndRule)) {
      out.kind = Kind::kBitAnd;
      pos_ += kBitAndRule.size();
    } else if (!out.attribute.empty() && rest.starts_with(kBitOrRule)) {
      out.kind = Kind::kBitOr;
      pos_ += kBitOrRule.size();
    } else {
      return Fail("only the bitwise matching rules are supported",
                  FilterParse::Outcome::kExtensibleMatch);
    }
    const std::size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != ')') ++pos_;
    out.value.assign(text_.substr(start, pos_ - start));
    return true;
  }

  // The assertion value up to ')'; '*' outside escapes makes an equality a
  // presence or substrings test.
  bool ParseValue(FilterNode& out) {
    std::vector<std::string> parts(1);
    while (pos_ < text_.size() && text_[pos_] != ')') {
      const char c = text_[pos_];
      if (c == '(') return Fail("unescaped '(' in a value");
      if (c == '*') {
        if (out.kind != Kind::kEquality) return Fail("'*' is only allowed after '='");
        parts.emplace_back();
        ++pos_;
        continue;
      }
      if (c == '\\') {
        if (pos_ + 2 >= text_.size()) return Fail("an escape is cut short");
        const int high = HexDigit(text_[pos_ + 1]);
        const int low = HexDigit(text_[pos_ + 2]);
        if (high < 0 || low < 0) return Fail("an escape needs two hexadecimal digits");
        parts.back().push_back(static_cast<char>(high * 16 + low));
        pos_ += 3;
        continue;
      }
      parts.back().push_back(c);
      ++pos_;
    }
    if (parts.size() == 1) {
      out.value = std::move(parts.front());
      return true;
    }
    if (parts.size() == 2 && parts[0].empty() && parts[1].empty()) {
      out.kind = Kind::kPresent;
      return true;
    }
    out.kind = Kind::kSubstrings;
    out.initial = std::move(parts.front());
    out.final = std::move(parts.back());
    for (std::size_t i = 1; i + 1 < parts.size(); ++i) {
      if (parts[i].empty()) return Fail("'**' in a substrings value");
      out.any.push_back(std::move(parts[i]));
    }
    return true;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  FilterParse::Outcome outcome_ = FilterParse::Outcome::kOk;
  std::string error_;
};

enum class Compare : std::uint8_t { kBytes, kNumber, kText };

Compare CompareOf(const platform::AttributeKinds& kinds, const std::string& attribute) {
  const auto it = kinds.find(text::ToLower(attribute));
  if (it == kinds.end()) return Compare::kText;
  switch (it->second) {
    case DirectoryValueKind::kOctetString:
    case DirectoryValueKind::kSecurityDescriptor:
      return Compare::kBytes;
    case DirectoryValueKind::kInteger:
    case DirectoryValueKind::kLargeInteger:
      return Compare::kNumber;
    default:
      return Compare::kText;
  }
}

std::optional<std::int64_t> Number(std::string_view s) {
  std::int64_t v = 0;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (error != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
  return v;
}

// <0, 0, >0; none when the two cannot be ordered (a non-number value).
std::optional<int> Order(Compare how, std::string_view value, std::string_view assertion) {
  if (how == Compare::kNumber) {
    const auto a = Number(value);
    const auto b = Number(assertion);
    if (!a || !b) return std::nullopt;
    return *a < *b ? -1 : *a > *b ? 1 : 0;
  }
  const int c = how == Compare::kBytes
                    ? value.compare(assertion)
                    : FoldDirectoryText(value).compare(FoldDirectoryText(assertion));
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

bool MatchesSubstrings(const FilterNode& f, std::string_view raw) {
  const std::string value = FoldDirectoryText(raw);
  const std::string initial = FoldDirectoryText(f.initial);
  const std::string final = FoldDirectoryText(f.final);
  if (!value.starts_with(initial)) return false;
  std::size_t pos = initial.size();
  for (const std::string& part : f.any) {
    const std::size_t at = value.find(FoldDirectoryText(part), pos);
    if (at == std::string::npos) return false;
    pos = at + FoldDirectoryText(part).size();
  }
  return value.size() >= pos + final.size() && value.ends_with(final);
}

bool MatchesValue(const FilterNode& f, Compare how, std::string_view value) {
  switch (f.kind) {
    case Kind::kEquality:
    case Kind::kApprox: {
      const auto order = Order(how, value, f.value);
      return order && *order == 0;
    }
    case Kind::kGreaterOrEqual: {
      const auto order = Order(how, value, f.value);
      return order && *order >= 0;
    }
    case Kind::kLessOrEqual: {
      const auto order = Order(how, value, f.value);
      return order && *order <= 0;
    }
    case Kind::kSubstrings:
      return how != Compare::kNumber && MatchesSubstrings(f, value);
    case Kind::kBitAnd:
    case Kind::kBitOr: {
      // Negative values (group types with the security bit) keep their bits.
      const auto v = Number(value);
      const auto bits = Number(f.value);
      if (!v || !bits) return false;
      const auto set = static_cast<std::uint64_t>(*v) & static_cast<std::uint64_t>(*bits);
      return f.kind == Kind::kBitAnd ? set == static_cast<std::uint64_t>(*bits) : set != 0;
    }
    default:
      return false;
  }
}

// A domain controller reads "(objectCategory=person)" as the class's
// category DN; the estate compares the short name with the DN's first RDN.
bool MatchesCategoryName(std::string_view value, std::string_view name) {
  std::string_view rdn = value.substr(0, value.find(','));
  const std::size_t equals = rdn.find('=');
  if (equals == std::string_view::npos) return false;
  return FoldDirectoryText(text::Trim(rdn.substr(equals + 1))) == FoldDirectoryText(name);
}

}  // namespace

std::string FoldDirectoryText(std::string_view s) {
  const std::string folded = text::ToLower(s);
  std::string out;
  out.reserve(folded.size());
  for (std::size_t i = 0; i < folded.size(); ++i) {
    const char c = folded[i];
    const bool next_is_separator =
        i + 1 < folded.size() && (folded[i + 1] == ',' || folded[i + 1] == '=');
    if (c == ' ' && (out.ends_with(',') || out.ends_with('=') || next_is_separator)) continue;
    out.push_back(c);
  }
  return out;
}

FilterParse ParseFilter(std::string_view text) {
  return FilterParser(text).Run();
}

bool MatchesFilter(const FilterNode& filter, const platform::DirectoryEntry& entry,
                   const platform::AttributeKinds& kinds) {
  switch (filter.kind) {
    case Kind::kAnd:
      for (const FilterNode& child : filter.children) {
        if (!MatchesFilter(child, entry, kinds)) return false;
      }
      return true;
    case Kind::kOr:
      for (const FilterNode& child : filter.children) {
        if (MatchesFilter(child, entry, kinds)) return true;
      }
      return false;
    case Kind::kNot:
      return !MatchesFilter(filter.children.front(), entry, kinds);
    default:
      break;
  }
  // Every directory object has a class, even one an LDIF file lists without.
  if (filter.kind == Kind::kPresent && text::EqualsNoCase(filter.attribute, "objectClass")) {
    return true;
  }
  const platform::DirectoryAttribute* attribute = entry.Find(filter.attribute);
  if (attribute == nullptr) return false;
  if (filter.kind == Kind::kPresent) return true;
  const Compare how = CompareOf(kinds, filter.attribute);
  const bool category_name = filter.kind == Kind::kEquality &&
                             text::EqualsNoCase(filter.attribute, "objectCategory") &&
                             filter.value.find('=') == std::string::npos;
  for (const std::string& value : attribute->values) {
    if (category_name ? MatchesCategoryName(value, filter.value)
                      : MatchesValue(filter, how, value)) {
      return true;
    }
  }
  return false;
}

}  // namespace tabulon::estate
