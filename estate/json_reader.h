#pragma once
// Typed reading of estate-file values. Absent members keep their defaults;
// a value of the wrong type is an error naming the file and the JSON path.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "estate/vocabulary.h"
#include "platform/security.h"
#include "platform/status.h"

namespace tabulon::estate {

using Json = nlohmann::json;

// Where a value sits: "computers[3].services[0].type". Built into text only
// when an error needs it.
struct JsonPath {
  static constexpr std::size_t kMember = static_cast<std::size_t>(-1);

  std::string_view parent;
  std::string_view key;  // the member name, or empty for an array element
  std::size_t index = kMember;

  std::string str() const;
};

class JsonReader {
 public:
  explicit JsonReader(std::string_view origin) : origin_(origin) {}

  // Keeps the first error; always returns false.
  bool Fail(const JsonPath& path, std::string_view message);
  bool Fail(std::string_view message);
  const std::string& error() const { return error_; }

  // The member `key` of an object, or null when absent.
  static const Json* Member(const Json& object, std::string_view key);

  bool ExpectObject(const Json& value, const JsonPath& path);
  bool ExpectArray(const Json& value, const JsonPath& path);
  bool String(const Json& value, const JsonPath& path, std::string& out);
  bool Bool(const Json& value, const JsonPath& path, bool& out);
  bool Uint32(const Json& value, const JsonPath& path, std::uint32_t& out);
  bool Fraction(const Json& value, const JsonPath& path, double& out);  // 0 to 1
  bool StringList(const Json& value, const JsonPath& path, std::vector<std::string>& out);
  // A number, a name of the vocabulary, or with `bits` also a list of
  // names and numbers whose values are or-ed together.
  bool Named(const Json& value, const JsonPath& path, const Vocabulary& vocabulary,
             std::string_view what, bool bits, std::uint32_t& out);
  // A number, or a status name such as "ERROR_ACCESS_DENIED".
  bool Status(const Json& value, const JsonPath& path, win::Status& out);
  bool Sid(const Json& value, const JsonPath& path, platform::Sid& out);

  // Calls `read(element, path, index)` for each element of the array
  // `value`, stopping at the first that fails.
  template <typename Read>
  bool Elements(const Json& value, const JsonPath& path, Read&& read) {
    if (!ExpectArray(value, path)) return false;
    const std::string here = path.str();
    for (std::size_t i = 0; i < value.size(); ++i) {
      if (!read(value[i], JsonPath{here, {}, i}, i)) return false;
    }
    return true;
  }

  // Reads member `key` of `object` with `read` when it is present.
  template <typename Read>
  bool Optional(const Json& object, std::string_view parent, std::string_view key, Read&& read) {
    const Json* value = Member(object, key);
    return value == nullptr || read(*value, JsonPath{parent, key});
  }

 private:
  bool WrongType(const Json& value, const JsonPath& path, std::string_view expected);

  std::string origin_;
  std::string error_;
};

// Text from the file quoted for a message, cut short when it is long.
std::string QuoteForMessage(std::string_view text);

}  // namespace tabulon::estate
