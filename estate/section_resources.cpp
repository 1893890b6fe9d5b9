#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <unordered_set>

#include "estate/sections.h"
#include "platform/text.h"

namespace tabulon::estate {
namespace {

constexpr std::array kShareTypes{
    NamedValue{"DISKTREE", platform::kStypeDisktree},
    NamedValue{"DISK", platform::kStypeDisktree},
    NamedValue{"PRINTQ", platform::kStypePrintq},
    NamedValue{"PRINT", platform::kStypePrintq},
    NamedValue{"DEVICE", platform::kStypeDevice},
    NamedValue{"IPC", platform::kStypeIpc},
    NamedValue{"TEMPORARY", platform::kStypeTemporary},
    NamedValue{"SPECIAL", platform::kStypeSpecial},
};

constexpr std::array kAccessBits{
    NamedValue{"READ", 0x01}, NamedValue{"WRITE", 0x02},  NamedValue{"CREATE", 0x04},
    NamedValue{"EXEC", 0x08}, NamedValue{"DELETE", 0x10}, NamedValue{"ATRIB", 0x20},
    NamedValue{"PERM", 0x40}, NamedValue{"ALL", 0x7F},
};

constexpr std::array kMaxUses{NamedValue{"UNLIMITED", platform::kShiUsesUnlimited}};

constexpr std::array kSessionFlags{NamedValue{"GUEST", 0x1}, NamedValue{"NOENCRYPTION", 0x2}};

constexpr Vocabulary kShareTypeWords{kShareTypes, "STYPE_"};
constexpr Vocabulary kAccessWords{kAccessBits, "ACCESS_"};
constexpr Vocabulary kMaxUseWords{kMaxUses, "SHI_USES_"};
constexpr Vocabulary kSessionFlagWords{kSessionFlags, "SESS_"};
constexpr Vocabulary kNoWords{};

struct Unit {
  std::string_view name;
  std::uint64_t bytes;
};
constexpr std::array kUnits{Unit{"B", 1}, Unit{"KiB", 1ULL << 10}, Unit{"MiB", 1ULL << 20},
                            Unit{"GiB", 1ULL << 30}, Unit{"TiB", 1ULL << 40}};

// A whole number, or a text such as "500 GiB" or "1.5TiB".
bool ReadBytes(JsonReader& reader, const Json& value, const JsonPath& path, std::uint64_t& out) {
  if (value.is_number_unsigned()) {
    out = value.get<std::uint64_t>();
    return true;
  }
  if (value.is_number_integer()) return reader.Fail(path, "a byte count must not be negative");
  if (!value.is_string()) {
    return reader.Fail(path, "expected a byte count: a whole number or a text such as '500 GiB'");
  }
  const std::string& text = value.get_ref<const std::string&>();
  double number = 0;
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  const auto [rest, ec] = std::from_chars(begin, end, number);
  std::string_view unit(rest, static_cast<std::size_t>(end - rest));
  while (!unit.empty() && unit.front() == ' ') unit.remove_prefix(1);
  const auto match = std::find_if(kUnits.begin(), kUnits.end(), [&](const Unit& u) {
    return unit.empty() ? u.bytes == 1 : text::EqualsNoCase(u.name, unit);
  });
  const double bytes = ec == std::errc() && match != kUnits.end()
                           ? std::round(number * static_cast<double>(match->bytes))
                           : -1;
  if (!(bytes >= 0 && bytes < 18446744073709549568.0)) {
    return reader.Fail(path, QuoteForMessage(text) +
                                 " is not a byte count such as 1073741824, '200 MiB' or "
                                 "'1.5 TiB' (units B, KiB, MiB, GiB, TiB)");
  }
  out = static_cast<std::uint64_t>(bytes);
  return true;
}

// The reader helpers bound to one object.
struct Fields {
  JsonReader& reader;
  const Json& object;
  const std::string& path;

  bool Text(std::string_view key, std::string& out) const {
    return reader.Optional(object, path, key, [&](const Json& v, const JsonPath& p) {
      return reader.String(v, p, out);
    });
  }
  bool Number(std::string_view key, std::uint32_t& out) const {
    return reader.Optional(object, path, key, [&](const Json& v, const JsonPath& p) {
      return reader.Uint32(v, p, out);
    });
  }
  bool Word(std::string_view key, const Vocabulary& words, std::string_view what, bool bits,
            std::uint32_t& out) const {
    return reader.Optional(object, path, key, [&](const Json& v, const JsonPath& p) {
      return reader.Named(v, p, words, what, bits, out);
    });
  }
  bool Flag(std::string_view key, bool& out) const {
    return reader.Optional(object, path, key, [&](const Json& v, const JsonPath& p) {
      return reader.Bool(v, p, out);
    });
  }
  bool Bytes(std::string_view key, std::uint64_t& out) const {
    return reader.Optional(object, path, key, [&](const Json& v, const JsonPath& p) {
      return ReadBytes(reader, v, p, out);
    });
  }
  bool Required(std::string_view key, const JsonPath& where) const {
    return JsonReader::Member(object, key) != nullptr ||
           reader.Fail(where, "needs " + std::string(key));
  }
};

// Reads every element of a list member with `read_one`.
template <typename ReadOne>
bool ReadList(JsonReader& reader, const Json& value, const JsonPath& path, ReadOne&& read_one) {
  return reader.Elements(value, path, [&](const Json& item, const JsonPath& where, std::size_t) {
    if (!reader.ExpectObject(item, where)) return false;
    const std::string inner = where.str();
    return read_one(Fields{reader, item, inner}, where);
  });
}

bool ReadConnection(const Fields& f, const JsonPath& where, ShareConnection& out) {
  return f.Required("computer", where) && f.Number("id", out.id) && f.Text("user", out.user) &&
         f.Text("computer", out.computer) && f.Number("users", out.users) &&
         f.Number("opens", out.opens) && f.Number("time", out.seconds);
}

bool ReadShare(const Fields& f, const JsonPath& where, std::uint32_t& next_connection_id,
               Share& out) {
  platform::ShareInfo& info = out.info;
  bool has_current_uses = false;
  const bool ok =
      f.Required("name", where) && f.Text("name", info.netname) &&
      f.Word("type", kShareTypeWords, "share type", true, info.type) &&
      f.Text("remark", info.remark) && f.Text("path", info.path) &&
      f.Word("permissions", kAccessWords, "access right", true, info.permissions) &&
      f.Word("max_uses", kMaxUseWords, "use limit", false, info.max_uses) &&
      f.reader.Optional(f.object, f.path, "current_uses",
                        [&](const Json& v, const JsonPath& p) {
                          has_current_uses = true;
                          return f.reader.Uint32(v, p, info.current_uses);
                        }) &&
      f.reader.Optional(f.object, f.path, "security",
                        [&](const Json& v, const JsonPath& p) {
                          return ReadStatedSecurity(f.reader, v, p, out.security.emplace());
                        }) &&
      f.reader.Optional(f.object, f.path, "connections", [&](const Json& v, const JsonPath& p) {
        return ReadList(f.reader, v, p, [&](const Fields& c, const JsonPath& at) {
          ShareConnection connection;
          connection.id = next_connection_id;
          if (!ReadConnection(c, at, connection)) return false;
          next_connection_id = connection.id + 1;
          out.connections.push_back(std::move(connection));
          return true;
        });
      });
  if (!ok) return false;
  if (info.netname.empty()) return f.reader.Fail(where, "a share needs a name");
  if (!has_current_uses) info.current_uses = static_cast<std::uint32_t>(out.connections.size());
  return true;
}

bool ReadSession(const Fields& f, const JsonPath& where, platform::SessionInfo& out) {
  return f.Required("computer", where) && f.Text("computer", out.cname) &&
         f.Text("user", out.username) && f.Number("opens", out.num_opens) &&
         f.Number("time", out.time) && f.Number("idle_time", out.idle_time) &&
         f.Word("user_flags", kSessionFlagWords, "session flag", true, out.user_flags) &&
         f.Text("client_type", out.cltype_name) && f.Text("transport", out.transport);
}

bool ReadOpenFile(const Fields& f, const JsonPath& where, platform::FileInfo3& out) {
  return f.Required("path", where) && f.Number("id", out.id) && f.Text("path", out.pathname) &&
         f.Text("user", out.username) &&
         f.Word("permissions", kAccessWords, "access right", true, out.permissions) &&
         f.Number("locks", out.num_locks);
}

// "C", "c:" or "C:\".
bool DriveLetter(std::string_view text, char& out) {
  if (text.ends_with('\\')) text.remove_suffix(1);
  if (text.ends_with(':')) text.remove_suffix(1);
  if (text.size() != 1) return false;
  const char c = text[0];
  if (c >= 'a' && c <= 'z') {
    out = static_cast<char>(c - 'a' + 'A');
  } else if (c >= 'A' && c <= 'Z') {
    out = c;
  } else {
    return false;
  }
  return true;
}

bool ReadDisk(const Fields& f, const JsonPath& where, Disk& out) {
  std::string drive;
  bool has_caller_free = false;
  const bool ok = f.Required("drive", where) && f.Text("drive", drive) &&
                  f.Flag("ready", out.ready) && f.Flag("removable", out.removable) &&
                  f.Bytes("total_bytes", out.total_bytes) &&
                  f.Bytes("free_bytes", out.free_bytes) &&
                  f.reader.Optional(f.object, f.path, "caller_free_bytes",
                                    [&](const Json& v, const JsonPath& p) {
                                      has_caller_free = true;
                                      return ReadBytes(f.reader, v, p, out.caller_free_bytes);
                                    }) &&
                  f.Text("label", out.label) && f.Text("file_system", out.file_system) &&
                  f.Word("serial", kNoWords, "serial number", false, out.serial) &&
                  f.Number("max_component_length", out.max_component_length) &&
                  f.Number("file_system_flags", out.file_system_flags);
  if (!ok) return false;
  if (!DriveLetter(drive, out.letter)) {
    return f.reader.Fail(JsonPath{f.path, "drive"},
                         QuoteForMessage(drive) + " is not a drive letter such as \"C\" or \"D:\"");
  }
  if (out.free_bytes > out.total_bytes) {
    return f.reader.Fail(where, "free_bytes is larger than total_bytes");
  }
  if (!has_caller_free) out.caller_free_bytes = out.free_bytes;
  if (out.caller_free_bytes > out.free_bytes) {
    return f.reader.Fail(where, "caller_free_bytes is larger than free_bytes");
  }
  return true;
}

bool ReadTransport(const Fields& f, const JsonPath& where, platform::WkstaTransportInfo0& out) {
  bool wan = false;
  const bool ok = f.Required("name", where) && f.Text("name", out.transport_name) &&
                  f.Text("address", out.transport_address) && f.Number("vcs", out.number_of_vcs) &&
                  f.Flag("wan", wan) && f.Number("quality_of_service", out.quality_of_service);
  out.wan_ish = wan ? 1 : 0;
  return ok;
}

// ADMIN$, one X$ per fixed disk and IPC$, ahead of the listed shares, as a
// Windows server has them.
std::vector<Share> DefaultShares(const std::vector<Disk>& disks) {
  std::vector<Share> shares;
  const auto add = [&](std::string name, std::uint32_t type, std::string remark, std::string path) {
    Share share;
    share.info.netname = std::move(name);
    share.info.type = type;
    share.info.remark = std::move(remark);
    share.info.path = std::move(path);
    shares.push_back(std::move(share));
  };
  add("ADMIN$", platform::kStypeSpecial, "Remote Admin", "C:\\Windows");
  for (const Disk& disk : disks) {
    if (disk.removable) continue;
    add(std::string(1, disk.letter) + "$", platform::kStypeSpecial, "Default share",
        std::string(1, disk.letter) + ":\\");
  }
  add("IPC$", platform::kStypeSpecial | platform::kStypeIpc, "Remote IPC", "");
  return shares;
}

}  // namespace

bool ReadServerResources(JsonReader& reader, const Json& computer, const std::string& path,
                         Computer& out) {
  static constexpr std::string_view kKeys[] = {
      "shares", "default_shares", "sessions",          "open_files",
      "disks",  "transports",     "refuse_session_502"};
  if (std::none_of(std::begin(kKeys), std::end(kKeys),
                   [&](std::string_view key) { return JsonReader::Member(computer, key); })) {
    return true;
  }
  auto resources = std::make_shared<ServerResources>();
  std::vector<Share> listed;
  bool default_shares = false;
  std::uint32_t next_connection_id = 1;
  const Fields f{reader, computer, path};
  const auto list = [&](std::string_view key, auto& items, auto read_one) {
    return reader.Optional(computer, path, key, [&](const Json& v, const JsonPath& p) {
      return ReadList(reader, v, p, [&](const Fields& item, const JsonPath& at) {
        typename std::remove_reference_t<decltype(items)>::value_type entry;
        if (!read_one(item, at, entry)) return false;
        items.push_back(std::move(entry));
        return true;
      });
    });
  };
  const bool ok = list("shares", listed,
                       [&](const Fields& item, const JsonPath& at, Share& share) {
                         return ReadShare(item, at, next_connection_id, share);
                       }) &&
                  f.Flag("default_shares", default_shares) &&
                  list("sessions", resources->sessions, ReadSession) &&
                  reader.Optional(computer, path, "refuse_session_502",
                                  [&](const Json& v, const JsonPath& p) {
                                    resources->session_502_refusal.emplace();
                                    return reader.Status(v, p, *resources->session_502_refusal);
                                  }) &&
                  list("open_files", resources->open_files,
                       [&](const Fields& item, const JsonPath& at, platform::FileInfo3& file) {
                         file.id = static_cast<std::uint32_t>(resources->open_files.size() + 1);
                         return ReadOpenFile(item, at, file);
                       }) &&
                  list("disks", resources->disks, ReadDisk) &&
                  list("transports", resources->transports, ReadTransport);
  if (!ok) return false;

  std::stable_sort(resources->disks.begin(), resources->disks.end(),
                   [](const Disk& a, const Disk& b) { return a.letter < b.letter; });
  for (std::size_t i = 1; i < resources->disks.size(); ++i) {
    if (resources->disks[i].letter == resources->disks[i - 1].letter) {
      return reader.Fail(
          JsonPath{path, "disks"},
          "drive " + std::string(1, resources->disks[i].letter) + ": is listed twice");
    }
  }
  if (default_shares) resources->shares = DefaultShares(resources->disks);
  for (Share& share : listed) resources->shares.push_back(std::move(share));
  std::unordered_set<std::string> names;
  for (const Share& share : resources->shares) {
    if (!names.insert(text::ToLower(share.info.netname)).second) {
      return reader.Fail(
          JsonPath{path, "shares"},
          "share " + QuoteForMessage(share.info.netname) +
              (default_shares ? " is listed twice or is a default share" : " is listed twice"));
    }
  }
  out.resources = std::move(resources);
  return true;
}

}  // namespace tabulon::estate
