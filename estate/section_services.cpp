#include "estate/sections.h"

#include <unordered_set>

#include "platform/text.h"

namespace tabulon::estate {
namespace {

bool ReadService(JsonReader& reader, const Json& value, const JsonPath& path, Service& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  const auto string = [&](std::string& field) {
    return [&](const Json& v, const JsonPath& p) { return reader.String(v, p, field); };
  };
  const auto number = [&](std::uint32_t& field) {
    return [&](const Json& v, const JsonPath& p) { return reader.Uint32(v, p, field); };
  };
  const auto named = [&](std::uint32_t& field, Vocabulary vocabulary, std::string_view what,
                         bool bits) {
    return [&reader, &field, vocabulary, what, bits](const Json& v, const JsonPath& p) {
      return reader.Named(v, p, vocabulary, what, bits, field);
    };
  };
  const Json* controls = JsonReader::Member(value, "controls_accepted");
  const bool ok =
      reader.Optional(value, here, "name", string(out.name)) &&
      reader.Optional(value, here, "display_name", string(out.display_name)) &&
      reader.Optional(value, here, "type", named(out.type, ServiceTypes(), "service type", true)) &&
      reader.Optional(value, here, "state",
                      named(out.state, ServiceStates(), "service state", false)) &&
      reader.Optional(value, here, "start_type",
                      named(out.start_type, ServiceStartTypes(), "start type", false)) &&
      reader.Optional(value, here, "error_control", number(out.error_control)) &&
      reader.Optional(value, here, "controls_accepted", number(out.controls_accepted)) &&
      reader.Optional(value, here, "exit_code", number(out.win32_exit_code)) &&
      reader.Optional(value, here, "tag_id", number(out.tag_id)) &&
      reader.Optional(value, here, "account", string(out.account)) &&
      reader.Optional(value, here, "binary_path", string(out.binary_path)) &&
      reader.Optional(value, here, "load_order_group", string(out.load_order_group)) &&
      reader.Optional(value, here, "dependencies",
                      [&](const Json& v, const JsonPath& p) {
                        return reader.StringList(v, p, out.dependencies);
                      }) &&
      reader.Optional(value, here, "security",
                      [&](const Json& v, const JsonPath& p) {
                        return ReadStatedSecurity(reader, v, p, out.security.emplace());
                      }) &&
      reader.Optional(value, here, "failures", [&](const Json& v, const JsonPath& p) {
        return ReadFailures(reader, v, p, FailureScope::kService, out.failures);
      });
  if (!ok) return false;
  if (out.name.empty()) return reader.Fail(path, "a service needs a name");
  if (out.display_name.empty()) out.display_name = out.name;
  // A stopped service accepts no controls; a running one at least stop.
  if (controls == nullptr)
    out.controls_accepted = out.state == kServiceStopped ? 0 : kServiceAcceptStop;
  return true;
}

}  // namespace

bool ReadServices(JsonReader& reader, const Json& value, const JsonPath& path, ServiceList& out) {
  std::unordered_set<std::string> names;
  if (value.is_array()) out.reserve(value.size());
  return reader.Elements(value, path, [&](const Json& item, const JsonPath& where, std::size_t) {
    Service service;
    if (!ReadService(reader, item, where, service)) return false;
    if (!names.insert(text::ToLower(service.name)).second) {
      return reader.Fail(where, "service " + QuoteForMessage(service.name) + " is listed twice");
    }
    out.push_back(std::move(service));
    return true;
  });
}

bool ReadServiceProfiles(JsonReader& reader, const Json& value, const JsonPath& path,
                         ServiceProfiles& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  for (const auto& [name, services] : value.items()) {
    auto list = std::make_shared<ServiceList>();
    if (!ReadServices(reader, services, JsonPath{here, name}, *list)) return false;
    if (!out.emplace(text::ToLower(name), std::move(list)).second) {
      return reader.Fail(JsonPath{here, name}, "profile name given twice");
    }
  }
  return true;
}

}  // namespace tabulon::estate
