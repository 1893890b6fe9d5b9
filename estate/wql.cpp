#include "estate/wql.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>

#include "platform/text.h"

namespace tabulon::estate {
namespace {

using platform::WmiVariant;

// ---- Tokens ----

struct Token {
  enum class Kind : std::uint8_t { kEnd, kName, kString, kNumber, kSymbol };
  Kind kind = Kind::kEnd;
  std::string text;  // name, unescaped string, number text or symbol
  std::size_t offset = 0;
};

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) { Advance(); }

  WqlParse Parse() {
    WqlParse result;
    WqlQuery& q = result.query;
    if (!Keyword("SELECT")) return Fail("SELECT expected");
    if (Symbol("*")) {
      q.all_properties = true;
    } else {
      do {
        if (token_.kind != Token::Kind::kName || IsReserved(token_.text)) {
          return Fail("property name expected");
        }
        q.properties.push_back(token_.text);
        Advance();
      } while (Symbol(","));
    }
    if (!Keyword("FROM")) return Fail("FROM expected");
    if (token_.kind != Token::Kind::kName || IsReserved(token_.text)) {
      return Fail("class name expected");
    }
    q.class_name = token_.text;
    Advance();
    if (Keyword("WHERE")) {
      q.has_where = true;
      if (!Or(q.where, 0)) return Fail(error_);
    }
    if (!error_.empty()) return Fail(error_);
    if (token_.kind != Token::Kind::kEnd) return Fail("end of query expected");
    result.ok = true;
    return result;
  }

 private:
  static bool IsReserved(std::string_view word) {
    for (std::string_view k :
         {"SELECT", "FROM", "WHERE", "AND", "OR", "NOT", "IS", "NULL", "LIKE", "TRUE", "FALSE"}) {
      if (text::EqualsNoCase(word, k)) return true;
    }
    return false;
  }

  WqlParse Fail(std::string_view why) {
    WqlParse result;
    result.error = std::string(why) + " at offset " + std::to_string(token_.offset);
    return result;
  }
  bool Error(std::string_view why) {
    if (error_.empty()) error_ = std::string(why);
    return false;
  }

  bool Keyword(std::string_view word) {
    if (token_.kind != Token::Kind::kName || !text::EqualsNoCase(token_.text, word)) return false;
    Advance();
    return true;
  }
  bool Symbol(std::string_view symbol) {
    if (token_.kind != Token::Kind::kSymbol || token_.text != symbol) return false;
    Advance();
    return true;
  }

  void Advance() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    token_ = Token{};
    token_.offset = pos_;
    if (pos_ >= text_.size()) return;
    const char c = text_[pos_];
    const auto is_name = [](char ch) {
      return std::isalnum(static_cast<unsigned char>(ch)) || ch == '_';
    };
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      const std::size_t start = pos_;
      while (pos_ < text_.size() && is_name(text_[pos_])) ++pos_;
      token_.kind = Token::Kind::kName;
      token_.text = std::string(text_.substr(start, pos_ - start));
    } else if (c == '\'' || c == '"') {
      ++pos_;
      while (pos_ < text_.size() && text_[pos_] != c) {
        // A backslash takes the next character as it is.
        if (text_[pos_] == '\\' && pos_ + 1 < text_.size()) ++pos_;
        token_.text += text_[pos_++];
      }
      if (pos_ >= text_.size()) {
        token_.kind = Token::Kind::kSymbol;  // an unterminated string fits nowhere
        token_.text = "unterminated string";
        return;
      }
      ++pos_;
      token_.kind = Token::Kind::kString;
    } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+' || c == '.') {
      const std::size_t start = pos_++;
      while (pos_ < text_.size() &&
             (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '.' ||
              ((text_[pos_] == '-' || text_[pos_] == '+') &&
               (text_[pos_ - 1] == 'e' || text_[pos_ - 1] == 'E')))) {
        ++pos_;
      }
      token_.kind = Token::Kind::kNumber;
      token_.text = std::string(text_.substr(start, pos_ - start));
    } else {
      token_.kind = Token::Kind::kSymbol;
      for (std::string_view two : {"<>", "!=", "<=", ">="}) {
        if (text_.substr(pos_, 2) == two) {
          token_.text = std::string(two);
          pos_ += 2;
          return;
        }
      }
      token_.text = std::string(1, c);
      ++pos_;
    }
  }

  bool Or(WqlNode& out, std::size_t depth) {
    WqlNode first;
    if (!And(first, depth)) return false;
    if (!(token_.kind == Token::Kind::kName && text::EqualsNoCase(token_.text, "OR"))) {
      out = std::move(first);
      return true;
    }
    out.kind = WqlNode::Kind::kOr;
    out.children.push_back(std::move(first));
    while (Keyword("OR")) {
      if (!And(out.children.emplace_back(), depth)) return false;
    }
    return true;
  }

  bool And(WqlNode& out, std::size_t depth) {
    WqlNode first;
    if (!Not(first, depth)) return false;
    if (!(token_.kind == Token::Kind::kName && text::EqualsNoCase(token_.text, "AND"))) {
      out = std::move(first);
      return true;
    }
    out.kind = WqlNode::Kind::kAnd;
    out.children.push_back(std::move(first));
    while (Keyword("AND")) {
      if (!Not(out.children.emplace_back(), depth)) return false;
    }
    return true;
  }

  bool Not(WqlNode& out, std::size_t depth) {
    if (depth >= kMaxWqlDepth) return Error("nested too deeply");
    if (Keyword("NOT")) {
      out.kind = WqlNode::Kind::kNot;
      return Not(out.children.emplace_back(), depth + 1);
    }
    if (Symbol("(")) {
      if (!Or(out, depth + 1)) return false;
      return Symbol(")") || Error(") expected");
    }
    return Condition(out);
  }

  std::optional<WqlLiteral> Literal() {
    WqlLiteral literal;
    if (token_.kind == Token::Kind::kString) {
      literal.text = token_.text;
    } else if (token_.kind == Token::Kind::kNumber) {
      const std::string& t = token_.text;
      const char* end = t.data() + t.size();
      const char* first = t.data() + (t[0] == '+' ? 1 : 0);
      auto [p, ec] = std::from_chars(first, end, literal.integer);
      if (ec == std::errc() && p == end) {
        literal.kind = WqlLiteral::Kind::kInteger;
      } else {
        auto [rp, rec] = std::from_chars(first, end, literal.real);
        if (rec != std::errc() || rp != end || !std::isfinite(literal.real)) return std::nullopt;
        literal.kind = WqlLiteral::Kind::kReal;
      }
    } else if (token_.kind == Token::Kind::kName && (text::EqualsNoCase(token_.text, "TRUE") ||
                                                     text::EqualsNoCase(token_.text, "FALSE"))) {
      literal.kind = WqlLiteral::Kind::kBoolean;
      literal.boolean = text::EqualsNoCase(token_.text, "TRUE");
    } else {
      return std::nullopt;
    }
    Advance();
    return literal;
  }

  std::optional<WqlOperator> Operator() {
    static constexpr std::pair<std::string_view, WqlOperator> kOperators[] = {
        {"=", WqlOperator::kEqual},         {"<>", WqlOperator::kNotEqual},
        {"!=", WqlOperator::kNotEqual},     {"<", WqlOperator::kLess},
        {">", WqlOperator::kGreater},       {"<=", WqlOperator::kLessEqual},
        {">=", WqlOperator::kGreaterEqual},
    };
    for (const auto& [symbol, op] : kOperators) {
      if (Symbol(symbol)) return op;
    }
    return std::nullopt;
  }

  static WqlOperator Mirror(WqlOperator op) {
    switch (op) {
      case WqlOperator::kLess:
        return WqlOperator::kGreater;
      case WqlOperator::kGreater:
        return WqlOperator::kLess;
      case WqlOperator::kLessEqual:
        return WqlOperator::kGreaterEqual;
      case WqlOperator::kGreaterEqual:
        return WqlOperator::kLessEqual;
      case WqlOperator::kEqual:
      case WqlOperator::kNotEqual:
        return op;
    }
    return op;
  }

  // property op literal, literal op property, property [NOT] LIKE string,
  // property IS [NOT] NULL.
  bool Condition(WqlNode& out) {
    if (token_.kind == Token::Kind::kName && !IsReserved(token_.text)) {
      out.property = token_.text;
      Advance();
      if (Keyword("IS")) {
        out.kind = Keyword("NOT") ? WqlNode::Kind::kIsNotNull : WqlNode::Kind::kIsNull;
        return Keyword("NULL") || Error("NULL expected");
      }
      const bool negated = Keyword("NOT");
      if (Keyword("LIKE")) {
        if (token_.kind != Token::Kind::kString) return Error("pattern expected");
        out.kind = WqlNode::Kind::kLike;
        out.literal.text = token_.text;
        Advance();
        if (negated) {
          WqlNode like = std::move(out);
          out = WqlNode{};
          out.kind = WqlNode::Kind::kNot;
          out.children.push_back(std::move(like));
        }
        return true;
      }
      if (negated) return Error("LIKE expected");
      const std::optional<WqlOperator> op = Operator();
      if (!op) return Error("operator expected");
      const std::optional<WqlLiteral> literal = Literal();
      if (!literal) return Error("constant expected");
      out.kind = WqlNode::Kind::kCompare;
      out.op = *op;
      out.literal = *literal;
      return true;
    }
    const std::optional<WqlLiteral> literal = Literal();
    if (!literal) return Error("condition expected");
    const std::optional<WqlOperator> op = Operator();
    if (!op) return Error("operator expected");
    if (token_.kind != Token::Kind::kName || IsReserved(token_.text)) {
      return Error("property name expected");
    }
    out.kind = WqlNode::Kind::kCompare;
    out.property = token_.text;
    out.op = Mirror(*op);
    out.literal = *literal;
    Advance();
    return true;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  Token token_;
  std::string error_;
};

// ---- Binding and evaluation ----

enum class Truth : std::uint8_t { kFalse, kTrue, kUnknown };

Truth FromBool(bool b) {
  return b ? Truth::kTrue : Truth::kFalse;
}

bool IsText(std::uint16_t cim) {
  return cim == platform::kCimString || cim == platform::kCimDatetime ||
         cim == platform::kCimReference;
}
bool IsNumber(std::uint16_t cim) {
  switch (cim) {
    case platform::kCimSint8:
    case platform::kCimUint8:
    case platform::kCimSint16:
    case platform::kCimUint16:
    case platform::kCimSint32:
    case platform::kCimUint32:
    case platform::kCimSint64:
    case platform::kCimUint64:
    case platform::kCimReal32:
    case platform::kCimReal64:
    case platform::kCimChar16:
      return true;
    default:
      return false;
  }
}

// A number as a comparison sees it: integers exactly while they fit in 64
// signed bits, anything else as a real.
struct Number {
  bool is_integer = true;
  std::int64_t integer = 0;
  double real = 0;
};

std::optional<Number> ParseNumber(std::string_view t) {
  Number n;
  if (!t.empty() && t[0] == '+') t.remove_prefix(1);
  const char* end = t.data() + t.size();
  if (auto [p, ec] = std::from_chars(t.data(), end, n.integer); ec == std::errc() && p == end) {
    return n;
  }
  n.is_integer = false;
  if (auto [p, ec] = std::from_chars(t.data(), end, n.real);
      ec == std::errc() && p == end && std::isfinite(n.real)) {
    return n;
  }
  return std::nullopt;
}

int Compare(const Number& a, const Number& b) {
  if (a.is_integer && b.is_integer) return a.integer < b.integer ? -1 : a.integer > b.integer;
  const double x = a.is_integer ? static_cast<double>(a.integer) : a.real;
  const double y = b.is_integer ? static_cast<double>(b.integer) : b.real;
  return x < y ? -1 : x > y;
}

bool Holds(WqlOperator op, int order) {
  switch (op) {
    case WqlOperator::kEqual:
      return order == 0;
    case WqlOperator::kNotEqual:
      return order != 0;
    case WqlOperator::kLess:
      return order < 0;
    case WqlOperator::kGreater:
      return order > 0;
    case WqlOperator::kLessEqual:
      return order <= 0;
    case WqlOperator::kGreaterEqual:
      return order >= 0;
  }
  return false;
}

int CompareText(std::string_view a, std::string_view b) {
  const std::string x = text::ToLower(a);
  const std::string y = text::ToLower(b);
  return x < y ? -1 : x > y;
}

// The value of a scalar element as a number, undoing WMI's widening of
// unsigned 32-bit values into VT_I4.
std::optional<Number> ElementNumber(const platform::WmiElement& e, std::uint16_t cim) {
  if (const auto* i = std::get_if<std::int64_t>(&e)) {
    Number n;
    n.integer = cim == platform::kCimUint32 && *i < 0 ? *i + 0x100000000LL : *i;
    return n;
  }
  if (const auto* r = std::get_if<double>(&e)) return Number{false, 0, *r};
  return ParseNumber(std::get<std::string>(e));
}

// One LIKE pattern item: a literal character, _ (any one), % (any run) or
// a [ ] set of characters and ranges, ^ first negating it.
struct PatternItem {
  enum class Kind : std::uint8_t { kChar, kOne, kRun, kSet };
  Kind kind = Kind::kChar;
  char32_t c = 0;
  bool negated = false;
  std::vector<std::pair<char32_t, char32_t>> ranges;
};

char32_t Fold(char32_t c) {
  return text::FoldCase(c);
}

std::u32string Decode(std::string_view s) {
  std::u32string out;
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    const std::size_t len = b < 0x80         ? 1
                            : (b >> 5) == 6  ? 2
                            : (b >> 4) == 14 ? 3
                            : (b >> 3) == 30 ? 4
                                             : 1;
    char32_t c = len == 1 ? b : b & (0x7F >> len);
    std::size_t j = 1;
    for (; j < len && i + j < s.size(); ++j)
      c = (c << 6) | (static_cast<unsigned char>(s[i + j]) & 0x3F);
    out.push_back(j == len ? c : U'\uFFFD');
    i += j;
  }
  return out;
}

std::optional<std::vector<PatternItem>> ParsePattern(std::string_view text) {
  const std::u32string p = Decode(text);
  std::vector<PatternItem> items;
  for (std::size_t i = 0; i < p.size(); ++i) {
    PatternItem item;
    if (p[i] == U'%') {
      item.kind = PatternItem::Kind::kRun;
    } else if (p[i] == U'_') {
      item.kind = PatternItem::Kind::kOne;
    } else if (p[i] == U'[') {
      item.kind = PatternItem::Kind::kSet;
      std::size_t j = i + 1;
      if (j < p.size() && p[j] == U'^') {
        item.negated = true;
        ++j;
      }
      // A ] right after the opening is a member, as in other set syntaxes.
      bool first = true;
      while (j < p.size() && (p[j] != U']' || first)) {
        first = false;
        if (j + 2 < p.size() && p[j + 1] == U'-' && p[j + 2] != U']') {
          item.ranges.emplace_back(Fold(p[j]), Fold(p[j + 2]));
          j += 3;
        } else {
          item.ranges.emplace_back(Fold(p[j]), Fold(p[j]));
          ++j;
        }
      }
      if (j >= p.size()) return std::nullopt;  // no closing ]
      i = j;
    } else {
      item.c = Fold(p[i]);
    }
    items.push_back(std::move(item));
  }
  return items;
}

bool MatchesOne(const PatternItem& item, char32_t c) {
  c = Fold(c);
  switch (item.kind) {
    case PatternItem::Kind::kChar:
      return item.c == c;
    case PatternItem::Kind::kOne:
      return true;
    case PatternItem::Kind::kSet: {
      bool in = false;
      for (const auto& [lo, hi] : item.ranges) in = in || (c >= lo && c <= hi);
      return in != item.negated;
    }
    case PatternItem::Kind::kRun:
      return false;
  }
  return false;
}

// Every item but % takes one character, so the usual backtracking to the
// last % runs in time proportional to the product of the lengths.
bool Like(const std::vector<PatternItem>& pattern, std::string_view value) {
  const std::u32string s = Decode(value);
  std::size_t p = 0, i = 0, star = std::string::npos, mark = 0;
  while (i < s.size()) {
    if (p < pattern.size() && pattern[p].kind == PatternItem::Kind::kRun) {
      star = p++;
      mark = i;
    } else if (p < pattern.size() && MatchesOne(pattern[p], s[i])) {
      ++p;
      ++i;
    } else if (star != std::string::npos) {
      p = star + 1;
      i = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p].kind == PatternItem::Kind::kRun) ++p;
  return p == pattern.size();
}

// A condition tied to its class: the property's index and type, the
// constant in the property's terms.
struct Bound {
  WqlNode::Kind kind = WqlNode::Kind::kCompare;
  std::size_t property = 0;
  std::uint16_t cim = 0;
  WqlOperator op = WqlOperator::kEqual;
  Number number;
  bool boolean = false;
  std::string text;
  std::vector<PatternItem> pattern;
  std::vector<Bound> children;
};

std::optional<std::size_t> FindProperty(const WmiClass& c, std::string_view name) {
  for (std::size_t i = 0; i < c.properties.size(); ++i) {
    if (text::EqualsNoCase(c.properties[i].name, name)) return i;
  }
  return std::nullopt;
}

// False for anything WMI refuses as an invalid query: unknown properties,
// arrays and objects in comparisons, constants of the wrong type.
bool Bind(const WqlNode& node, const WmiClass& c, Bound& out) {
  out.kind = node.kind;
  if (node.kind == WqlNode::Kind::kAnd || node.kind == WqlNode::Kind::kOr ||
      node.kind == WqlNode::Kind::kNot) {
    for (const WqlNode& child : node.children) {
      if (!Bind(child, c, out.children.emplace_back())) return false;
    }
    return true;
  }
  const std::optional<std::size_t> index = FindProperty(c, node.property);
  if (!index) return false;
  out.property = *index;
  out.cim = c.properties[*index].cim_type;
  out.op = node.op;
  if (node.kind == WqlNode::Kind::kIsNull || node.kind == WqlNode::Kind::kIsNotNull) return true;
  if ((out.cim & platform::kCimFlagArray) != 0) return false;
  const WqlLiteral& literal = node.literal;
  if (node.kind == WqlNode::Kind::kLike) {
    if (!IsText(out.cim)) return false;
    auto pattern = ParsePattern(literal.text);
    if (!pattern) return false;
    out.pattern = std::move(*pattern);
    return true;
  }
  if (IsText(out.cim)) {
    out.text = literal.text;
    return literal.kind == WqlLiteral::Kind::kString;
  }
  if (out.cim == platform::kCimBoolean) {
    if (node.op != WqlOperator::kEqual && node.op != WqlOperator::kNotEqual) return false;
    if (literal.kind == WqlLiteral::Kind::kBoolean) {
      out.boolean = literal.boolean;
    } else if (literal.kind == WqlLiteral::Kind::kInteger) {
      out.boolean = literal.integer != 0;
    } else {
      return false;
    }
    return true;
  }
  if (!IsNumber(out.cim)) return false;  // embedded objects
  switch (literal.kind) {
    case WqlLiteral::Kind::kInteger:
      out.number.integer = literal.integer;
      return true;
    case WqlLiteral::Kind::kReal:
      out.number = Number{false, 0, literal.real};
      return true;
    case WqlLiteral::Kind::kString: {
      // WMI converts a quoted number for a numeric property.
      const std::optional<Number> n = ParseNumber(literal.text);
      if (!n) return false;
      out.number = *n;
      return true;
    }
    case WqlLiteral::Kind::kBoolean:
      return false;
  }
  return false;
}

Truth Evaluate(const Bound& b, const std::vector<WmiVariant>& instance) {
  switch (b.kind) {
    case WqlNode::Kind::kAnd: {
      Truth t = Truth::kTrue;
      for (const Bound& child : b.children) {
        const Truth c = Evaluate(child, instance);
        if (c == Truth::kFalse) return Truth::kFalse;
        if (c == Truth::kUnknown) t = Truth::kUnknown;
      }
      return t;
    }
    case WqlNode::Kind::kOr: {
      Truth t = Truth::kFalse;
      for (const Bound& child : b.children) {
        const Truth c = Evaluate(child, instance);
        if (c == Truth::kTrue) return Truth::kTrue;
        if (c == Truth::kUnknown) t = Truth::kUnknown;
      }
      return t;
    }
    case WqlNode::Kind::kNot: {
      const Truth c = Evaluate(b.children.front(), instance);
      return c == Truth::kUnknown ? c : FromBool(c == Truth::kFalse);
    }
    default:
      break;
  }
  const WmiVariant& value = instance[b.property];
  const bool null =
      value.vt == platform::kVtNull || value.vt == platform::kVtEmpty || value.elements.empty();
  if (b.kind == WqlNode::Kind::kIsNull) return FromBool(null);
  if (b.kind == WqlNode::Kind::kIsNotNull) return FromBool(!null);
  // A comparison with a NULL value is neither true nor false.
  if (null) return Truth::kUnknown;
  const platform::WmiElement& e = value.elements.front();
  if (b.kind == WqlNode::Kind::kLike) {
    const auto* s = std::get_if<std::string>(&e);
    return s != nullptr ? FromBool(Like(b.pattern, *s)) : Truth::kUnknown;
  }
  if (IsText(b.cim)) {
    const auto* s = std::get_if<std::string>(&e);
    return s != nullptr ? FromBool(Holds(b.op, CompareText(*s, b.text))) : Truth::kUnknown;
  }
  if (b.cim == platform::kCimBoolean) {
    const auto* i = std::get_if<std::int64_t>(&e);
    if (i == nullptr) return Truth::kUnknown;
    return FromBool(Holds(b.op, (*i != 0) == b.boolean ? 0 : 1));
  }
  const std::optional<Number> n = ElementNumber(e, b.cim);
  return n ? FromBool(Holds(b.op, Compare(*n, b.number))) : Truth::kUnknown;
}

}  // namespace

WqlParse ParseWql(std::string_view text) {
  return Parser(text).Parse();
}

WqlAnswer RunWql(std::string_view text, const WmiNamespace& names) {
  WqlAnswer answer;
  const WqlParse parsed = ParseWql(text);
  if (!parsed.ok) {
    answer.status = win::WBEM_E_INVALID_QUERY;
    return answer;
  }
  const WqlQuery& q = parsed.query;
  answer.wmi_class = names.FindClass(q.class_name);
  if (answer.wmi_class == nullptr) {
    answer.status = win::WBEM_E_INVALID_CLASS;
    return answer;
  }
  const WmiClass& c = *answer.wmi_class;
  if (q.all_properties) {
    for (std::size_t i = 0; i < c.properties.size(); ++i) answer.properties.push_back(i);
  } else {
    for (const std::string& name : q.properties) {
      const std::optional<std::size_t> index = FindProperty(c, name);
      if (!index) {
        answer.status = win::WBEM_E_INVALID_QUERY;
        return answer;
      }
      answer.properties.push_back(*index);
    }
  }
  Bound where;
  if (q.has_where && !Bind(q.where, c, where)) {
    answer.status = win::WBEM_E_INVALID_QUERY;
    return answer;
  }
  for (std::size_t i = 0; i < c.instances.size(); ++i) {
    if (!q.has_where || Evaluate(where, c.instances[i]) == Truth::kTrue) {
      answer.instances.push_back(i);
    }
  }
  return answer;
}

}  // namespace tabulon::estate
