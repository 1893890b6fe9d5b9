#include "estate/sections.h"

#include "platform/text.h"

namespace tabulon::estate {
namespace {

bool ReadPing(JsonReader& reader, const Json& value, const JsonPath& path, Ping& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  return reader.Optional(value, here, "answers", [&](const Json& v, const JsonPath& p) {
    return reader.Bool(v, p, out.answers);
  }) && reader.Optional(value, here, "delay_ms", [&](const Json& v, const JsonPath& p) {
    return reader.Uint32(v, p, out.delay_ms);
  }) && reader.Optional(value, here, "hops", [&](const Json& v, const JsonPath& p) {
    return reader.Uint32(v, p, out.hops);
  });
}

}  // namespace

bool ReadComputer(JsonReader& reader, const Json& value, const JsonPath& path,
                  const ServiceProfiles& profiles, Computer& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  const auto string = [&](std::string& field) {
    return [&](const Json& v, const JsonPath& p) { return reader.String(v, p, field); };
  };
  std::string profile;
  bool has_services = false;
  const bool ok =
      reader.Optional(value, here, "name", string(out.name)) &&
      reader.Optional(value, here, "dns_name", string(out.dns_name)) &&
      reader.Optional(value, here, "address", string(out.address)) &&
      reader.Optional(value, here, "domain", string(out.domain)) &&
      reader.Optional(
          value, here, "offline",
          [&](const Json& v, const JsonPath& p) { return reader.Bool(v, p, out.offline); }) &&
      reader.Optional(
          value, here, "ping",
          [&](const Json& v, const JsonPath& p) { return ReadPing(reader, v, p, out.ping); }) &&
      reader.Optional(value, here, "latency_ms",
                      [&](const Json& v, const JsonPath& p) {
                        out.latency_ms.emplace();
                        return reader.Uint32(v, p, *out.latency_ms);
                      }) &&
      reader.Optional(value, here, "server",
                      [&](const Json& v, const JsonPath& p) {
                        return reader.ExpectObject(v, p) &&
                               ReadServerFields(reader, v, p.str(), out.server);
                      }) &&
      reader.Optional(value, here, "sid",
                      [&](const Json& v, const JsonPath& p) {
                        out.sid.emplace();
                        return reader.Sid(v, p, *out.sid);
                      }) &&
      reader.Optional(value, here, "accounts",
                      [&](const Json& v, const JsonPath& p) {
                        return ReadAccounts(reader, v, p, out.sid, out.accounts);
                      }) &&
      reader.Optional(value, here, "services",
                      [&](const Json& v, const JsonPath& p) {
                        has_services = true;
                        auto list = std::make_shared<ServiceList>();
                        if (!ReadServices(reader, v, p, *list)) return false;
                        out.services = std::move(list);
                        return true;
                      }) &&
      reader.Optional(value, here, "service_profile", string(profile)) &&
      reader.Optional(value, here, "terminal_services",
                      [&](const Json& v, const JsonPath& p) {
                        return ReadTerminalServer(reader, v, p, out.terminal);
                      }) &&
      reader.Optional(value, here, "failures", [&](const Json& v, const JsonPath& p) {
        return ReadFailures(reader, v, p, FailureScope::kComputerOrDomain, out.failures);
      });
  if (!ok || !ReadServerResources(reader, value, here, out)) return false;

  out.name = std::string(StripBackslashes(out.name));
  if (out.name.empty()) return reader.Fail(path, "a computer needs a name");
  if (out.name.find('\\') != std::string::npos) {
    return reader.Fail(JsonPath{here, "name"}, "a computer name cannot hold a backslash");
  }
  if (!profile.empty()) {
    if (has_services) {
      return reader.Fail(path, "give either services or a service_profile, not both");
    }
    const auto it = profiles.find(text::ToLower(profile));
    if (it == profiles.end()) {
      return reader.Fail(JsonPath{here, "service_profile"},
                         QuoteForMessage(profile) + " is not a profile of service_profiles");
    }
    out.services = it->second;
  }
  return true;
}

}  // namespace tabulon::estate
