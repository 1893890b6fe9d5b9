// The wmi member of a computer: its classes, their property types and
// their instances.
#include <array>
#include <cmath>
#include <limits>

#include "estate/sections.h"
#include "platform/text.h"

namespace tabulon::estate {
namespace {

using platform::WmiVariant;

// CIM type names as MOF spells them.
constexpr std::array kCimTypes{
    NamedValue{"sint8", platform::kCimSint8},
    NamedValue{"uint8", platform::kCimUint8},
    NamedValue{"sint16", platform::kCimSint16},
    NamedValue{"uint16", platform::kCimUint16},
    NamedValue{"sint32", platform::kCimSint32},
    NamedValue{"uint32", platform::kCimUint32},
    NamedValue{"sint64", platform::kCimSint64},
    NamedValue{"uint64", platform::kCimUint64},
    NamedValue{"real32", platform::kCimReal32},
    NamedValue{"real64", platform::kCimReal64},
    NamedValue{"boolean", platform::kCimBoolean},
    NamedValue{"string", platform::kCimString},
    NamedValue{"datetime", platform::kCimDatetime},
    NamedValue{"reference", platform::kCimReference},
    NamedValue{"char16", platform::kCimChar16},
    NamedValue{"object", platform::kCimObject},
};

bool ReadCimType(JsonReader& reader, const Json& value, const JsonPath& path, std::uint16_t& out) {
  std::string name;
  if (!reader.String(value, path, name)) return false;
  std::uint16_t array = 0;
  if (name.ends_with("[]")) {
    array = platform::kCimFlagArray;
    name.resize(name.size() - 2);
  }
  for (const NamedValue& type : kCimTypes) {
    if (text::EqualsNoCase(type.name, name)) {
      out = static_cast<std::uint16_t>(type.value | array);
      return true;
    }
  }
  return reader.Fail(path, "unknown CIM type (docs/estate.md lists them)");
}

// The integer range of a CIM integer type.
struct Range {
  double low;
  double high;
};

std::optional<Range> IntegerRange(std::uint16_t cim) {
  switch (cim) {
    case platform::kCimSint8:
      return Range{-128, 127};
    case platform::kCimUint8:
      return Range{0, 255};
    case platform::kCimSint16:
      return Range{-32768, 32767};
    case platform::kCimUint16:
    case platform::kCimChar16:
      return Range{0, 65535};
    case platform::kCimSint32:
      return Range{-2147483648.0, 2147483647.0};
    case platform::kCimUint32:
      return Range{0, 4294967295.0};
    case platform::kCimSint64:
      return Range{-9223372036854775808.0, 9223372036854775807.0};
    case platform::kCimUint64:
      return Range{0, 18446744073709551615.0};
    default:
      return std::nullopt;
  }
}

// "yyyymmddHHMMSS.mmmmmmsUUU": sign + or - for a date, ":" for an interval.
bool IsCimDatetime(std::string_view t) {
  if (t.size() != 25 || t[14] != '.' || (t[21] != '+' && t[21] != '-' && t[21] != ':')) {
    return false;
  }
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (i != 14 && i != 21 && (t[i] < '0' || t[i] > '9')) return false;
  }
  return true;
}

// One element of a property of type `cim` (no array flag).
bool ReadElement(JsonReader& reader, const Json& value, const JsonPath& path, std::uint16_t cim,
                 platform::WmiElement& out) {
  if (const std::optional<Range> range = IntegerRange(cim)) {
    if (cim == platform::kCimChar16 && value.is_string()) {
      // One character of the Basic Latin and Latin-1 ranges.
      const std::string s = text::Utf8ToLatin1(value.get<std::string>());
      if (s.size() != 1 || s[0] == text::kUnmappableEightBit) {
        return reader.Fail(path, "a char16 here is one Latin-1 character");
      }
      out = static_cast<std::int64_t>(static_cast<unsigned char>(s[0]));
      return true;
    }
    if (!value.is_number_integer()) return reader.Fail(path, "an integer expected");
    if (cim == platform::kCimUint64) {
      if (value.is_number_unsigned()) {
        out = std::to_string(value.get<std::uint64_t>());
        return true;
      }
      if (value.get<std::int64_t>() < 0) return reader.Fail(path, "out of range for its type");
      out = std::to_string(value.get<std::int64_t>());
      return true;
    }
    if (value.is_number_unsigned() &&
        value.get<std::uint64_t>() > static_cast<std::uint64_t>(INT64_MAX)) {
      return reader.Fail(path, "out of range for its type");
    }
    const std::int64_t n = value.get<std::int64_t>();
    if (static_cast<double>(n) < range->low || static_cast<double>(n) > range->high) {
      return reader.Fail(path, "out of range for its type");
    }
    if (cim == platform::kCimSint64) {
      out = std::to_string(n);
    } else if (cim == platform::kCimUint32) {
      // VT_I4 holds the bits: values above 2^31 come out negative.
      out = static_cast<std::int64_t>(static_cast<std::int32_t>(static_cast<std::uint32_t>(n)));
    } else {
      out = n;
    }
    return true;
  }
  switch (cim) {
    case platform::kCimReal32:
    case platform::kCimReal64: {
      if (!value.is_number()) return reader.Fail(path, "a number expected");
      const double d = value.get<double>();
      out = cim == platform::kCimReal32 ? static_cast<double>(static_cast<float>(d)) : d;
      return true;
    }
    case platform::kCimBoolean: {
      bool b = false;
      if (!reader.Bool(value, path, b)) return false;
      out = static_cast<std::int64_t>(b ? -1 : 0);  // VARIANT_TRUE
      return true;
    }
    case platform::kCimDatetime: {
      std::string s;
      if (!reader.String(value, path, s)) return false;
      if (!IsCimDatetime(s)) {
        return reader.Fail(path, "a datetime is yyyymmddHHMMSS.mmmmmmsUUU");
      }
      out = std::move(s);
      return true;
    }
    default: {  // strings, references, and an embedded object by its class
      std::string s;
      if (!reader.String(value, path, s)) return false;
      out = std::move(s);
      return true;
    }
  }
}

bool ReadValue(JsonReader& reader, const Json& value, const JsonPath& path, std::uint16_t cim,
               WmiVariant& out) {
  if (value.is_null()) {
    out = {platform::kVtNull, {}, 0};
    return true;
  }
  out.vt = platform::VariantTypeOfCim(cim);
  const std::uint16_t element = cim & ~platform::kCimFlagArray;
  if ((cim & platform::kCimFlagArray) == 0) {
    return ReadElement(reader, value, path, element, out.elements.emplace_back());
  }
  return reader.Elements(value, path, [&](const Json& item, const JsonPath& where, std::size_t) {
    return ReadElement(reader, item, where, element, out.elements.emplace_back());
  });
}

bool ReadClass(JsonReader& reader, const Json& value, const JsonPath& path, WmiClass& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  const Json* name = JsonReader::Member(value, "name");
  if (name == nullptr) return reader.Fail(path, "a class needs a name");
  if (!reader.String(*name, JsonPath{here, "name"}, out.name)) return false;
  return reader.Optional(value, here, "properties",
                         [&](const Json& v, const JsonPath& p) {
                           if (!reader.ExpectObject(v, p)) return false;
                           const std::string inner = p.str();
                           for (const auto& [key, type] : v.items()) {
                             WmiPropertyDefinition& d = out.properties.emplace_back();
                             d.name = key;
                             if (!ReadCimType(reader, type, JsonPath{inner, key}, d.cim_type)) {
                               return false;
                             }
                           }
                           return true;
                         }) &&
         reader.Optional(value, here, "description",
                         [&](const Json& v, const JsonPath& p) {
                           return reader.String(v, p, out.description);
                         }) &&
         reader.Optional(value, here, "property_descriptions",
                         [&](const Json& v, const JsonPath& p) {
                           if (!reader.ExpectObject(v, p)) return false;
                           const std::string inner = p.str();
                           out.property_descriptions.resize(out.properties.size());
                           for (const auto& [key, text] : v.items()) {
                             std::size_t i = 0;
                             while (i < out.properties.size() &&
                                    !text::EqualsNoCase(out.properties[i].name, key))
                               ++i;
                             const JsonPath at{inner, key};
                             if (i == out.properties.size())
                               return reader.Fail(at, "not a property of the class");
                             if (!reader.String(text, at, out.property_descriptions[i]))
                               return false;
                           }
                           return true;
                         }) &&
         reader.Optional(value, here, "next_delay_ms",
                         [&](const Json& v, const JsonPath& p) {
                           return reader.Uint32(v, p, out.next_delay_ms);
                         }) &&
         reader.Optional(value, here, "instances", [&](const Json& v, const JsonPath& p) {
           return reader.Elements(v, p, [&](const Json& item, const JsonPath& where, std::size_t) {
             if (!reader.ExpectObject(item, where)) return false;
             const std::string inner = where.str();
             std::vector<WmiVariant> values(out.properties.size(),
                                            WmiVariant{platform::kVtNull, {}, 0});
             for (const auto& [key, v2] : item.items()) {
               std::size_t i = 0;
               while (i < out.properties.size() &&
                      !text::EqualsNoCase(out.properties[i].name, key)) {
                 ++i;
               }
               const JsonPath at{inner, key};
               if (i == out.properties.size()) {
                 return reader.Fail(at, "not a property of the class");
               }
               if (!ReadValue(reader, v2, at, out.properties[i].cim_type, values[i])) return false;
             }
             out.instances.push_back(std::move(values));
             return true;
           });
         });
}

}  // namespace

bool ReadWmi(JsonReader& reader, const Json& value, const JsonPath& path,
             std::shared_ptr<const WmiNamespace>& out) {
  if (!reader.ExpectObject(value, path)) return false;
  auto names = std::make_shared<WmiNamespace>();
  const bool ok =
      reader.Optional(value, path.str(), "classes", [&](const Json& v, const JsonPath& p) {
        return reader.Elements(v, p, [&](const Json& item, const JsonPath& where, std::size_t) {
          WmiClass c;
          if (!ReadClass(reader, item, where, c)) return false;
          if (names->FindClass(c.name) != nullptr) return reader.Fail(where, "class given twice");
          names->classes.push_back(std::move(c));
          return true;
        });
      });
  if (ok) out = std::move(names);
  return ok;
}

}  // namespace tabulon::estate
