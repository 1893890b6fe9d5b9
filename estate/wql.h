#pragma once
// WQL data queries for the estate's WMI classes: SELECT with a property
// list or *, FROM one class, and WHERE with comparisons (=, <>, !=, <, >,
// <=, >=), LIKE with %, _ and [ ] sets, IS [NOT] NULL, AND, OR, NOT and
// parentheses. Keywords are read in any letter case. A query is parsed,
// then bound to its class, which checks names and types as WMI does:
// an unknown class gives WBEM_E_INVALID_CLASS, everything else that is
// wrong with a query WBEM_E_INVALID_QUERY.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "estate/wmi_classes.h"
#include "platform/status.h"

namespace tabulon::estate {

// Deeper nesting of parentheses and NOT than this is refused rather than
// parsed recursively.
inline constexpr std::size_t kMaxWqlDepth = 64;

struct WqlLiteral {
  enum class Kind : std::uint8_t { kString, kInteger, kReal, kBoolean };
  Kind kind = Kind::kString;
  std::string text;  // the string
  std::int64_t integer = 0;
  double real = 0;
  bool boolean = false;
};

enum class WqlOperator : std::uint8_t {
  kEqual,
  kNotEqual,
  kLess,
  kGreater,
  kLessEqual,
  kGreaterEqual
};

struct WqlNode {
  enum class Kind : std::uint8_t { kAnd, kOr, kNot, kCompare, kLike, kIsNull, kIsNotNull };
  Kind kind = Kind::kCompare;
  std::string property;
  WqlOperator op = WqlOperator::kEqual;  // with the property on the left
  WqlLiteral literal;                    // the right side; the pattern of LIKE
  std::vector<WqlNode> children;
};

struct WqlQuery {
  bool all_properties = false;  // SELECT *
  std::vector<std::string> properties;
  std::string class_name;
  bool has_where = false;
  WqlNode where;
};

struct WqlParse {
  bool ok = false;
  WqlQuery query;
  std::string error;  // why not, with the offset
};

WqlParse ParseWql(std::string_view text);

// What a query answers from a namespace: the class, the properties each
// instance carries (indexes into the class's), and the instances that
// match, in class order.
struct WqlAnswer {
  win::Status status = win::ERROR_SUCCESS;
  const WmiClass* wmi_class = nullptr;
  std::vector<std::size_t> properties;
  std::vector<std::size_t> instances;
};

WqlAnswer RunWql(std::string_view text, const WmiNamespace& names);

}  // namespace tabulon::estate
