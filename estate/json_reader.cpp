#include "estate/json_reader.h"

#include <charconv>
#include <cmath>

#include "estate/status_names.h"
#include "platform/text.h"

namespace tabulon::estate {
namespace {

constexpr std::uint64_t kMaxUint32 = 0xFFFFFFFF;

// "123" or "0x7B".
std::optional<std::uint32_t> NumberInText(std::string_view s) {
  int base = 10;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  std::uint32_t value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, base);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return value;
}

}  // namespace

std::string JsonPath::str() const {
  constexpr std::size_t kMaxKeyChars = 60;
  std::string out(parent);
  if (!key.empty()) {
    if (!out.empty()) out += '.';
    out += text::TruncateCodePoints(key, kMaxKeyChars);
    if (text::CountCodePoints(key) > kMaxKeyChars) out += "...";
  }
  if (index != kMember) out += "[" + std::to_string(index) + "]";
  return out;
}

std::string QuoteForMessage(std::string_view s) {
  constexpr std::size_t kMaxChars = 60;
  std::string out = "'" + text::TruncateCodePoints(s, kMaxChars);
  if (text::CountCodePoints(s) > kMaxChars) out += "...";
  return out + "'";
}

bool JsonReader::Fail(const JsonPath& path, std::string_view message) {
  const std::string where = path.str();
  return Fail(where.empty() ? std::string(message) : where + ": " + std::string(message));
}

bool JsonReader::Fail(std::string_view message) {
  if (error_.empty()) error_ = origin_ + ": " + std::string(message);
  return false;
}

bool JsonReader::WrongType(const Json& value, const JsonPath& path, std::string_view expected) {
  const char* article = value.is_null()                           ? ""
                        : (value.is_object() || value.is_array()) ? "an "
                                                                  : "a ";
  return Fail(path, "expected " + std::string(expected) + ", found " + article +
                        std::string(value.type_name()));
}

const Json* JsonReader::Member(const Json& object, std::string_view key) {
  const auto it = object.find(key);
  return it == object.end() ? nullptr : &*it;
}

bool JsonReader::ExpectObject(const Json& value, const JsonPath& path) {
  return value.is_object() || WrongType(value, path, "an object");
}

bool JsonReader::ExpectArray(const Json& value, const JsonPath& path) {
  return value.is_array() || WrongType(value, path, "an array");
}

bool JsonReader::String(const Json& value, const JsonPath& path, std::string& out) {
  if (!value.is_string()) return WrongType(value, path, "a string");
  out = value.get_ref<const std::string&>();
  return true;
}

bool JsonReader::Bool(const Json& value, const JsonPath& path, bool& out) {
  if (!value.is_boolean()) return WrongType(value, path, "true or false");
  out = value.get<bool>();
  return true;
}

bool JsonReader::Uint32(const Json& value, const JsonPath& path, std::uint32_t& out) {
  if (value.is_number_unsigned()) {
    const auto n = value.get<std::uint64_t>();
    if (n > kMaxUint32) return Fail(path, "the number is larger than 4294967295");
    out = static_cast<std::uint32_t>(n);
    return true;
  }
  if (value.is_number_integer()) return Fail(path, "the number must not be negative");
  if (value.is_number_float()) {
    const double d = value.get<double>();
    if (!std::isfinite(d) || d != std::floor(d) || d < 0 || d > static_cast<double>(kMaxUint32)) {
      return Fail(path, "expected a whole number from 0 to 4294967295");
    }
    out = static_cast<std::uint32_t>(d);
    return true;
  }
  return WrongType(value, path, "a number");
}

bool JsonReader::Fraction(const Json& value, const JsonPath& path, double& out) {
  if (!value.is_number()) return WrongType(value, path, "a number");
  const double d = value.get<double>();
  if (!(d >= 0.0 && d <= 1.0)) return Fail(path, "expected a number from 0 to 1");
  out = d;
  return true;
}

bool JsonReader::StringList(const Json& value, const JsonPath& path,
                            std::vector<std::string>& out) {
  if (!value.is_array()) return WrongType(value, path, "an array of strings");
  out.clear();
  out.reserve(value.size());
  const std::string here = path.str();
  for (std::size_t i = 0; i < value.size(); ++i) {
    std::string item;
    if (!String(value[i], JsonPath{here, {}, i}, item)) return false;
    out.push_back(std::move(item));
  }
  return true;
}

bool JsonReader::Named(const Json& value, const JsonPath& path, const Vocabulary& vocabulary,
                       std::string_view what, bool bits, std::uint32_t& out) {
  if (value.is_number()) return Uint32(value, path, out);
  if (value.is_string()) {
    const auto& name = value.get_ref<const std::string&>();
    if (auto known = ValueOfName(vocabulary, name)) {
      out = *known;
      return true;
    }
    if (auto number = NumberInText(name)) {
      out = *number;
      return true;
    }
    return Fail(path, "unknown " + std::string(what) + " " + QuoteForMessage(name) +
                          "; known names: " + ListNames(vocabulary));
  }
  if (bits && value.is_array()) {
    const std::string here = path.str();
    std::uint32_t combined = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
      std::uint32_t bit = 0;
      if (value[i].is_array())
        return WrongType(value[i], JsonPath{here, {}, i}, "a name or number");
      if (!Named(value[i], JsonPath{here, {}, i}, vocabulary, what, false, bit)) return false;
      combined |= bit;
    }
    out = combined;
    return true;
  }
  return WrongType(value, path,
                   bits ? "a number, a name or a list of names" : "a number or a name");
}

bool JsonReader::Status(const Json& value, const JsonPath& path, win::Status& out) {
  if (value.is_number()) return Uint32(value, path, out);
  if (!value.is_string()) return WrongType(value, path, "a status number or name");
  const auto& name = value.get_ref<const std::string&>();
  if (auto status = StatusFromName(name)) {
    out = *status;
    return true;
  }
  return Fail(path, "unknown status " + QuoteForMessage(name) +
                        "; give a number or a name such as ERROR_ACCESS_DENIED");
}

bool JsonReader::Sid(const Json& value, const JsonPath& path, platform::Sid& out) {
  if (!value.is_string()) return WrongType(value, path, "a SID string");
  const auto& s = value.get_ref<const std::string&>();
  auto sid = platform::Sid::Parse(s);
  if (!sid) return Fail(path, QuoteForMessage(s) + " is not a SID such as S-1-5-21-1-2-3-1001");
  out = std::move(*sid);
  return true;
}

}  // namespace tabulon::estate
