#include "estate/loader.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>

#include "estate/json_reader.h"
#include "estate/sections.h"
#include "estate/synthetic.h"
#include "platform/text.h"
#include "platform/utf8_path.h"

namespace tabulon::estate {
namespace {

constexpr std::uint32_t kMaxLatencyMs = 60000;

bool ReadLimited(JsonReader& reader, const Json& value, const JsonPath& path, std::uint32_t min,
                 std::uint32_t max, std::uint32_t& out) {
  if (!reader.Uint32(value, path, out)) return false;
  if (out < min || out > max) {
    return reader.Fail(
        path, "expected a number from " + std::to_string(min) + " to " + std::to_string(max));
  }
  return true;
}

bool ReadSynthetic(JsonReader& reader, const Json& value, const JsonPath& path,
                   SyntheticOptions& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  const auto limited = [&](std::uint32_t& field, std::uint32_t min, std::uint32_t max) {
    return [&reader, &field, min, max](const Json& v, const JsonPath& p) {
      return ReadLimited(reader, v, p, min, max, field);
    };
  };
  const auto fraction = [&](double& field) {
    return [&reader, &field](const Json& v, const JsonPath& p) {
      return reader.Fraction(v, p, field);
    };
  };
  return reader.Optional(value, here, "seed", limited(out.seed, 0, 0xFFFFFFFF)) &&
         reader.Optional(value, here, "domains", limited(out.domains, 1, kMaxSyntheticDomains)) &&
         reader.Optional(value, here, "computers",
                         limited(out.computers, 0, kMaxSyntheticComputers)) &&
         reader.Optional(value, here, "services_per_computer",
                         limited(out.services_per_computer, 0, kMaxSyntheticServices)) &&
         reader.Optional(value, here, "service_profiles",
                         limited(out.service_profiles, 1, kMaxSyntheticProfiles)) &&
         reader.Optional(value, here, "users_per_domain",
                         limited(out.users_per_domain, 0, kMaxSyntheticUsers)) &&
         reader.Optional(value, here, "local_groups_per_computer",
                         limited(out.local_groups_per_computer, 0, kMaxSyntheticGroups)) &&
         reader.Optional(value, here, "max_ping_delay_ms",
                         limited(out.max_ping_delay_ms, 0, kMaxLatencyMs)) &&
         reader.Optional(value, here, "offline_rate", fraction(out.offline_rate)) &&
         reader.Optional(value, here, "server_rate", fraction(out.server_rate)) &&
         reader.Optional(value, here, "shares_per_computer",
                         limited(out.resources.shares_per_computer, 0, kMaxSyntheticShares)) &&
         reader.Optional(value, here, "connections_per_share",
                         limited(out.resources.connections_per_share, 0, kMaxSyntheticShares)) &&
         reader.Optional(
             value, here, "sessions_per_computer",
             limited(out.resources.sessions_per_computer, 0, kMaxSyntheticListEntries)) &&
         reader.Optional(
             value, here, "open_files_per_computer",
             limited(out.resources.open_files_per_computer, 0, kMaxSyntheticListEntries)) &&
         reader.Optional(value, here, "disks_per_computer",
                         limited(out.resources.disks_per_computer, 0, kMaxSyntheticDisks)) &&
         reader.Optional(value, here, "transports_per_computer",
                         limited(out.resources.transports_per_computer, 0, kMaxSyntheticShares)) &&
         reader.Optional(value, here, "user_records",
                         [&](const Json& v, const JsonPath& p) {
                           return reader.Bool(v, p, out.user_records);
                         }) &&
         reader.Optional(value, here, "controllers_per_domain",
                         limited(out.controllers_per_domain, 1, kMaxSyntheticControllers)) &&
         reader.Optional(value, here, "controller_version", limited(out.controller_version, 3, 10));
}

bool ReadEstate(JsonReader& reader, const Json& root, std::string_view base_directory,
                Estate& estate) {
  if (!root.is_object()) return reader.Fail("the estate must be a JSON object");
  ServiceProfiles profiles;
  RegistrySources registry_sources{std::string(base_directory), {}};
  const bool
      settings_ok = reader.Optional(root, "", "synthetic", [&](const Json& v, const JsonPath& p) {
        SyntheticOptions options;
        if (!ReadSynthetic(reader, v, p, options)) return false;
        GenerateEstate(options, estate);
        return true;
      }) && reader.Optional(root, "", "local_computer", [&](const Json& v, const JsonPath& p) {
        return reader.String(v, p, estate.local_computer);
      }) && reader.Optional(root, "", "latency_ms", [&](const Json& v, const JsonPath& p) {
        return ReadLimited(reader, v, p, 0, kMaxLatencyMs, estate.latency_ms);
      }) && reader.Optional(root, "", "ping_waits", [&](const Json& v, const JsonPath& p) {
        return reader.Bool(v, p, estate.ping_waits);
      }) && reader.Optional(root, "", "libraries", [&](const Json& v, const JsonPath& p) {
        return ReadLibraries(reader, v, p, estate.libraries, estate.remote_access_library);
      }) && reader.Optional(root, "", "service_profiles", [&](const Json& v, const JsonPath& p) {
        return ReadServiceProfiles(reader, v, p, profiles);
      });
  if (!settings_ok) return false;

  const bool lists_ok = reader.Optional(root, "", "domains", [&](const Json& v, const JsonPath& p) {
    if (!reader.ExpectArray(v, p)) return false;
    for (std::size_t i = 0; i < v.size(); ++i) {
      Domain domain;
      if (!ReadDomain(reader, v[i], JsonPath{"", "domains", i}, domain)) {
        return false;
      }
      const std::string here = JsonPath{"", "domains", i}.str();
      const auto groups = [&](GroupList& list, platform::SidNameUse use) {
        return [&reader, &domain, &list, use](const Json& g, const JsonPath& gp) {
          return ReadGroups(reader, g, gp, domain.sid, use, domain.accounts, list);
        };
      };
      if (!reader.Optional(v[i], here, "groups",
                           groups(domain.groups, platform::SidNameUse::kGroup)) ||
          !reader.Optional(v[i], here, "local_groups",
                           groups(domain.local_groups, platform::SidNameUse::kAlias)) ||
          !reader.Optional(v[i], here, "users",
                           [&](const Json& u, const JsonPath& up) {
                             return ReadUsers(reader, u, up, domain.users);
                           }) ||
          !reader.Optional(v[i], here, "directory", [&](const Json& d, const JsonPath& dp) {
            return ReadDirectory(reader, d, dp, base_directory, domain.directory);
          })) {
        return false;
      }
      estate.domains.push_back(std::move(domain));
    }
    return true;
  }) && reader.Optional(root, "", "computers", [&](const Json& v, const JsonPath& p) {
    if (!reader.ExpectArray(v, p)) return false;
    estate.computers.reserve(estate.computers.size() + v.size());
    for (std::size_t i = 0; i < v.size(); ++i) {
      Computer computer;
      const JsonPath where{"", "computers", i};
      if (!ReadComputer(reader, v[i], where, profiles, computer)) return false;
      const std::string here = where.str();
      if (!reader.Optional(v[i], here, "registry",
                           [&](const Json& r, const JsonPath& rp) {
                             return ReadRegistry(reader, r, rp, registry_sources, computer);
                           }) ||
          !reader.Optional(v[i], here, "wmi",
                           [&](const Json& r, const JsonPath& rp) {
                             return ReadWmi(reader, r, rp, computer.wmi);
                           }) ||
          !reader.Optional(v[i], here, "files",
                           [&](const Json& r, const JsonPath& rp) {
                             return ReadFiles(reader, r, rp, registry_sources.base_directory,
                                              computer.files);
                           }) ||
          !reader.Optional(v[i], here, "object_security",
                           [&](const Json& r, const JsonPath& rp) {
                             return ReadSecuredPaths(reader, r, rp, computer.secured_paths);
                           }) ||
          !reader.Optional(v[i], here, "printers",
                           [&](const Json& r, const JsonPath& rp) {
                             return ReadPrinters(reader, r, rp, computer.printers);
                           }) ||
          !reader.Optional(v[i], here, "local_groups",
                           [&](const Json& r, const JsonPath& rp) {
                             auto list = std::make_shared<GroupList>();
                             if (!ReadGroups(reader, r, rp, computer.sid,
                                             platform::SidNameUse::kAlias, computer.accounts,
                                             *list)) {
                               return false;
                             }
                             computer.local_groups = std::move(list);
                             return true;
                           }) ||
          !reader.Optional(v[i], here, "users",
                           [&](const Json& r, const JsonPath& rp) {
                             return ReadUsers(reader, r, rp, computer.users);
                           }) ||
          !reader.Optional(v[i], here, "logon_counters",
                           [&](const Json& r, const JsonPath& rp) {
                             return ReadLogonCounters(reader, r, rp, computer.logon_counters);
                           }) ||
          !ReadLocalPolicy(reader, v[i], here, computer.policy) ||
          !reader.Optional(v[i], here, "scheduled_tasks", [&](const Json& r, const JsonPath& rp) {
            return ReadScheduledWork(reader, r, rp, registry_sources.base_directory,
                                     computer.scheduled);
          })) {
        return false;
      }
      estate.computers.push_back(std::move(computer));
    }
    return true;
  });
  if (!lists_ok) return false;

  std::string error;
  return estate.Finalize(error) || reader.Fail(error);
}

// The parser's texts start with "[json.exception.parse_error.101] " and
// end by quoting what was last read: from a file that is not an estate
// (a configuration, a key file) that would repeat its text, so the message
// keeps the position and the kind of error only.
std::string ParserMessage(const char* what) {
  constexpr std::size_t kMaxChars = 300;
  std::string_view raw = what;
  if (raw.starts_with("[json.exception.")) {
    const auto end = raw.find("] ");
    if (end != std::string_view::npos) raw.remove_prefix(end + 2);
  }
  raw = raw.substr(0, raw.find("; last read:"));
  std::string clean;
  std::size_t pos = 0;
  std::size_t chars = 0;
  while (pos < raw.size() && chars++ < kMaxChars)
    text::AppendUtf8(clean, text::NextCodePoint(raw, pos));
  if (pos < raw.size()) clean += "...";
  return clean;
}

}  // namespace

LoadResult ParseEstate(std::string_view text, std::string_view origin,
                       std::string_view base_directory) {
  LoadResult result;
  JsonReader reader(origin);
  try {
    const Json root = Json::parse(text.begin(), text.end());
    result.ok = ReadEstate(reader, root, base_directory, result.estate);
  } catch (const Json::exception& e) {
    reader.Fail(ParserMessage(e.what()));
  } catch (const std::bad_alloc&) {
    reader.Fail("not enough memory to read the estate");
  }
  if (!result.ok) {
    result.error = reader.error();
    result.estate = Estate();
  }
  return result;
}

LoadResult LoadEstate(const std::string& path) {
  LoadResult result;
  std::ifstream in(platform::Utf8Path(path), std::ios::binary);
  if (!in) {
    result.error = path + ": cannot open the estate file: " + std::strerror(errno);
    return result;
  }
  in.seekg(0, std::ios::end);
  const auto size = static_cast<std::streamoff>(in.tellg());
  if (size < 0 || static_cast<std::uint64_t>(size) > kMaxEstateFileBytes) {
    result.error = path + ": the estate file is too large (more than " +
                   std::to_string(kMaxEstateFileBytes >> 20) + " MiB) or cannot be sized";
    return result;
  }
  in.seekg(0, std::ios::beg);
  std::string text(static_cast<std::size_t>(size), '\0');
  if (!in.read(text.data(), size)) {
    result.error = path + ": cannot read the estate file";
    return result;
  }
  return ParseEstate(text, path, platform::Utf8Name(platform::Utf8Path(path).parent_path()));
}

}  // namespace tabulon::estate
