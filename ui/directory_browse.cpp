#include "ui/directory_browse.h"

#include "engine/configuration.h"
#include "engine/directory_target.h"
#include "engine/error_text.h"
#include "engine/messages.h"
#include "engine/object_file.h"
#include "engine/run_settings.h"
#include "estate/loader.h"
#include "format/settings.h"
#include "platform/text.h"

namespace tabulon::ui {
namespace {

constexpr std::string_view kContainerFilter =
    "(|(objectClass=organizationalUnit)(objectClass=container))";
const std::vector<std::string> kNameAttributes = {"name", "ou", "cn"};

// The name a row shows: the entry's name, else the value of its first RDN.
std::string RowName(const platform::DirectoryEntry& entry) {
  for (const std::string& attribute : kNameAttributes) {
    const std::string_view value = entry.FirstValue(attribute);
    if (!value.empty()) return std::string(value);
  }
  const std::string_view dn = entry.dn;
  const std::size_t equals = dn.find('=');
  const std::size_t comma = dn.find(',');
  if (equals == std::string_view::npos) return entry.dn;
  return std::string(dn.substr(
      equals + 1, comma == std::string_view::npos ? std::string_view::npos : comma - equals - 1));
}

}  // namespace

std::string DnOfDnsName(const std::string& dns_domain) {
  std::string dn;
  std::size_t start = 0;
  while (start <= dns_domain.size()) {
    std::size_t dot = dns_domain.find('.', start);
    if (dot == std::string::npos) dot = dns_domain.size();
    if (dot > start) {
      if (!dn.empty()) dn += ',';
      dn += "DC=" + dns_domain.substr(start, dot - start);
    }
    start = dot + 1;
  }
  return dn;
}

std::string PickerFilter(std::uint32_t object_type) {
  switch (object_type) {
    case kObjectDirectoryUser:
      // A computer is a user to the directory; the picker of users skips it.
      return "(&(objectClass=user)(!(objectClass=computer)))";
    case kObjectDirectoryGroup:
      return "(objectClass=group)";
    case kObjectDirectoryComputer:
      return "(objectClass=computer)";
    case kObjectDirectoryContact:
      return "(objectClass=contact)";
    default:
      return {};
  }
}

DirectoryBrowser::DirectoryBrowser(const std::string& configuration,
                                   const std::string& data_folder) {
  if (!backends_.Select(configuration, data_folder, error_)) return;
  const Configuration config(*backends_.platform().profile, configuration);
  const RunSettings settings = ReadRunSettings(config);
  directory_server_ = settings.directory_server;
  ca_file_ = settings.directory_ca_file;
  start_tls_ = settings.directory_start_tls;
  timeout_ms_ = settings.call_timeout_ms;
}

std::optional<std::vector<std::string>> DirectoryBrowser::Domains() {
  if (!error_.empty()) return std::nullopt;
  std::vector<std::string> domains;
  if (!backends_.estate_path().empty()) {
    const estate::LoadResult loaded = estate::LoadEstate(backends_.estate_path());
    if (!loaded.ok) return std::nullopt;
    for (const estate::Domain& domain : loaded.estate.domains) {
      if (!domain.dns_name.empty()) domains.push_back(domain.dns_name);
    }
    return domains;
  }
  if (directory_server_.empty()) return std::nullopt;
  // A real server: the domains are its naming contexts spelled in DC= parts.
  DirectoryListing contexts;
  platform::SessionOptions session;
  session.credentials = &backends_.credentials();
  session.call_timeout_ms = timeout_ms_;
  session.cancel = platform::CancelToken(&cancel_);
  const auto opened = backends_.platform().sessions->Open(HostOfDirectoryServer(), session);
  platform::DirectorySearch& directory = opened->directory_search();
  platform::DirectoryOpenOptions options;
  options.server = directory_server_;
  options.credentials = &backends_.credentials();
  options.start_tls = start_tls_;
  options.ca_file = ca_file_;
  options.timeout_ms = timeout_ms_;
  if (!directory.Open(options).ok()) return std::nullopt;
  platform::SearchRequest request;
  request.scope = platform::SearchScope::kBase;
  request.attributes = {"namingContexts"};
  request.page_size = 0;
  const platform::DirectoryStatus status =
      directory.Search(request, [&](platform::DirectoryEntry&& entry) {
        if (const platform::DirectoryAttribute* values = entry.Find("namingContexts")) {
          for (const std::string& dn : values->values) {
            if (text::StartsWithNoCase(dn, "DC=") && domains.size() < kBrowseRowLimit) {
              domains.push_back(platform::DnsNameOfDn(dn));
            }
          }
        }
        return false;
      });
  directory.Close();
  if (!status.ok()) return std::nullopt;
  return domains;
}

std::string DirectoryBrowser::HostOfDirectoryServer() const {
  return std::string(platform::HostOfDirectoryUrl(directory_server_));
}

DirectoryListing DirectoryBrowser::Containers(const std::string& dns_domain) {
  return Search(dns_domain, std::string(kContainerFilter));
}

DirectoryListing DirectoryBrowser::Objects(const std::string& dns_domain,
                                           std::uint32_t object_type) {
  return Search(dns_domain, PickerFilter(object_type));
}

DirectoryListing DirectoryBrowser::Search(const std::string& dns_domain,
                                          const std::string& filter) {
  DirectoryListing out;
  if (!error_.empty()) {
    out.error = error_;
    return out;
  }
  const std::string path = "LDAP://" + DnOfDnsName(dns_domain);
  platform::SessionOptions session;
  session.credentials = &backends_.credentials();
  session.call_timeout_ms = timeout_ms_;
  session.cancel = platform::CancelToken(&cancel_);
  const auto opened = backends_.platform().sessions->Open(path, session);
  platform::DirectorySearch& directory = opened->directory_search();
  const platform::DirectoryOpenOptions options = DirectoryOpenOptionsFor(
      path, DirectoryConnectionSettings{directory_server_, ca_file_, start_tls_}, session);
  if (const platform::DirectoryStatus status = directory.Open(options); !status.ok()) {
    out.error = FormatMessageId(kMsgDirectoryOpen, {path}) + DirectoryErrorText(status);
    return out;
  }
  platform::SearchRequest request;
  request.filter = filter;
  request.attributes = kNameAttributes;
  const platform::DirectoryStatus status =
      directory.Search(request, [&](platform::DirectoryEntry&& entry) {
        if (out.rows.size() >= kBrowseRowLimit) {
          out.truncated = true;
          return false;
        }
        out.rows.push_back({RowName(entry), "LDAP://" + entry.dn});
        return true;
      });
  directory.Close();
  if (!status.ok()) {
    out.error = FormatMessageId(kMsgDirectorySearch, {filter}) + DirectoryErrorText(status);
    out.rows.clear();
  }
  return out;
}

}  // namespace tabulon::ui
