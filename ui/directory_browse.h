#pragma once
// The browse buttons of the Object Properties dialog: the domain browser,
// "Find and Select Container/OU" and the directory object picker. They
// search through the backend a run of the active configuration would use
// (the estate's directories, or a real directory server over LDAP), off the
// window's thread, with a size limit and the configuration's call timeout.
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "run/backends.h"
#include "ui/window_context.h"

class QWidget;

namespace tabulon::ui {

// No search delivers more rows than this; the dialog says when it stopped.
inline constexpr std::size_t kBrowseRowLimit = 5000;

struct DirectoryRow {
  std::string name;
  std::string path;  // "LDAP://" + the object's distinguished name
};

struct DirectoryListing {
  std::string error;  // empty on success
  std::vector<DirectoryRow> rows;
  bool truncated = false;  // the row limit was reached
};

// One configuration's directory backend. Searches may run on any one
// thread at a time; `Cancel` may be called from another.
class DirectoryBrowser {
 public:
  // Reads the configuration's [Platform] section as a run does.
  DirectoryBrowser(const std::string& configuration, const std::string& data_folder);
  DirectoryBrowser(const DirectoryBrowser&) = delete;
  DirectoryBrowser& operator=(const DirectoryBrowser&) = delete;

  // Why the backend could not be chosen; empty when it could.
  const std::string& error() const { return error_; }
  // The directory domains (DNS names) the backend knows: an estate's
  // domains, or the naming contexts of the configured directory server.
  // Nothing when it cannot list them.
  std::optional<std::vector<std::string>> Domains();
  // The containers and OUs of the domain `dns_domain`.
  DirectoryListing Containers(const std::string& dns_domain);
  // The users, groups, computers or contacts (by object type code).
  DirectoryListing Objects(const std::string& dns_domain, std::uint32_t object_type);
  void Cancel() { cancel_.store(1); }

 private:
  DirectoryListing Search(const std::string& dns_domain, const std::string& filter);
  std::string HostOfDirectoryServer() const;

  run::Backends backends_;
  std::string error_;
  std::string directory_server_;
  std::string ca_file_;
  bool start_tls_ = false;
  std::uint32_t timeout_ms_ = 0;
  std::atomic<int> cancel_{0};
};

// "example.test" -> "DC=example,DC=test".
std::string DnOfDnsName(const std::string& dns_domain);
// The search filter of a picker's object type; empty for a type without one.
std::string PickerFilter(std::uint32_t object_type);

// The dialogs; each returns the chosen value, or empty when cancelled.
// A domain name (the domain browser).
std::string BrowseForDomain(QWidget* parent, WindowContext& context);
// "LDAP://" + a container's or OU's distinguished name; the domain typed is
// remembered in the LastDomainOuSearch setting.
std::string FindContainerOrOu(QWidget* parent, WindowContext& context);
// "LDAP://" + the path of a user, group, computer or contact.
std::string PickDirectoryObject(QWidget* parent, WindowContext& context, std::uint32_t object_type);

}  // namespace tabulon::ui
