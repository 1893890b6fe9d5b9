// Security descriptors of estate objects: SDDL text, damaged or raw bytes
// in hexadecimal, or null for an object without a descriptor.
#include <cctype>

#include "estate/sections.h"
#include "format/sddl_reader.h"

namespace tabulon::estate {
namespace {

// Domain aliases are resolved against the computer's domain only when a
// query asks; this one only checks the text reads.
const std::optional<platform::Sid> kAnyDomain = platform::Sid::Parse("S-1-5-21-0-0-0");

bool ReadHex(JsonReader& reader, const Json& value, const JsonPath& path,
             std::vector<std::uint8_t>& out) {
  std::string text;
  if (!reader.String(value, path, text)) return false;
  std::string digits;
  for (const char c : text) {
    if (c != ' ') digits += c;
  }
  if (digits.size() % 2 != 0) return reader.Fail(path, "hex bytes need two digits each");
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    unsigned value_byte = 0;
    for (const char c : digits.substr(i, 2)) {
      const int d = std::isxdigit(static_cast<unsigned char>(c)) == 0 ? -1
                    : c <= '9'                                        ? c - '0'
                                                                      : (c | 0x20) - 'a' + 10;
      if (d < 0) return reader.Fail(path, "not a hex digit: " + std::string(1, c));
      value_byte = value_byte * 16 + static_cast<unsigned>(d);
    }
    out.push_back(static_cast<std::uint8_t>(value_byte));
  }
  return true;
}

}  // namespace

bool ReadStatedSecurity(JsonReader& reader, const Json& value, const JsonPath& path,
                        StatedSecurity& out) {
  if (value.is_null()) {
    out.form = StatedSecurity::Form::kNone;
    return true;
  }
  if (value.is_object()) {
    const Json* hex = JsonReader::Member(value, "hex");
    if (hex == nullptr || value.size() != 1) {
      return reader.Fail(path, "give SDDL text, {\"hex\": \"...\"} or null");
    }
    out.form = StatedSecurity::Form::kBytes;
    return ReadHex(reader, *hex, JsonPath{path.str(), "hex"}, out.bytes);
  }
  if (!reader.String(value, path, out.sddl)) return false;
  const format::SddlParse parse = format::ReadSddl(out.sddl, kAnyDomain);
  if (!parse.ok()) return reader.Fail(path, format::SddlErrorText(parse.status, parse.position));
  return true;
}

bool ReadSecuredPaths(JsonReader& reader, const Json& value, const JsonPath& path,
                      std::vector<SecuredPath>& out) {
  return reader.Elements(value, path, [&](const Json& item, const JsonPath& where, std::size_t) {
    if (!reader.ExpectObject(item, where)) return false;
    const std::string here = where.str();
    SecuredPath secured;
    const Json* registry = JsonReader::Member(item, "registry");
    const Json* file = JsonReader::Member(item, "file");
    const Json* security = JsonReader::Member(item, "security");
    if ((registry == nullptr) == (file == nullptr) || security == nullptr) {
      return reader.Fail(where, "give a registry or a file path, and its security");
    }
    secured.registry = registry != nullptr;
    if (!reader.String(registry != nullptr ? *registry : *file,
                       JsonPath{here, registry != nullptr ? "registry" : "file"}, secured.path) ||
        !ReadStatedSecurity(reader, *security, JsonPath{here, "security"}, secured.security)) {
      return false;
    }
    out.push_back(std::move(secured));
    return true;
  });
}

}  // namespace tabulon::estate
