#pragma once
// Where a directory object of the object file lives: the server its path
// names (or the one the settings impose) and its distinguished name, as the
// directory search family opens them.
#include <string>
#include <string_view>

#include "platform/directory_search.h"
#include "platform/session.h"

namespace tabulon {

// [Platform] DirectoryServer, DirectoryCaFile and DirectoryStartTls.
struct DirectoryConnectionSettings {
  std::string server;  // empty: the server the object's path names
  std::string ca_file;
  bool start_tls = false;
};

struct DirectoryLocation {
  std::string server;  // "ldap://host" or "ldap://" when the path names none
  std::string dn;
};

// "LDAP://host/DN" or "LDAP://DN" (the scheme in any case, or missing).
DirectoryLocation LocateDirectoryObject(std::string_view path);

// The options that open a connection on the object at `path` with the
// run's credentials; the settings' server wins over the path's.
platform::DirectoryOpenOptions DirectoryOpenOptionsFor(std::string_view path,
                                                       const DirectoryConnectionSettings& settings,
                                                       const platform::SessionOptions& session);

}  // namespace tabulon
