#include "engine/directory_target.h"

#include "platform/text.h"

namespace tabulon {

DirectoryLocation LocateDirectoryObject(std::string_view path) {
  constexpr std::string_view kScheme = "LDAP://";
  if (text::StartsWithNoCase(path, kScheme)) path.remove_prefix(kScheme.size());
  DirectoryLocation out;
  out.server = "ldap://";
  // A server part holds no "=", a DN's first RDN always does.
  const std::size_t slash = path.find('/');
  if (slash != std::string_view::npos &&
      path.substr(0, slash).find('=') == std::string_view::npos) {
    out.server += path.substr(0, slash);
    path.remove_prefix(slash + 1);
  }
  out.dn = std::string(path);
  return out;
}

platform::DirectoryOpenOptions DirectoryOpenOptionsFor(std::string_view path,
                                                       const DirectoryConnectionSettings& settings,
                                                       const platform::SessionOptions& session) {
  DirectoryLocation location = LocateDirectoryObject(path);
  platform::DirectoryOpenOptions options;
  options.server = settings.server.empty() ? location.server : settings.server;
  options.base = std::move(location.dn);
  options.credentials = session.credentials;
  options.start_tls = settings.start_tls;
  options.ca_file = settings.ca_file;
  options.timeout_ms = session.call_timeout_ms;
  return options;
}

}  // namespace tabulon
