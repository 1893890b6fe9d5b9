#include "platform/ldap/ldap_directory.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/directory_status.h"
#include "platform/ldap/dc_locator.h"
#include "platform/ldap/ldap_connection.h"
#include "platform/ldap/ldap_ping.h"

namespace tabulon::platform::ldap {
namespace {

constexpr std::uint16_t kLdapsPort = 636;

DirectoryStatus NotOpen() {
  return DirectoryStatusFromLdap(kLdapServerDown, "the directory connection is not open");
}

// A search in progress keeps its connection to itself: what its sink asks
// of the directory meanwhile (member and group reads, nested searches) goes
// over another connection to the same server with the same bind, opened
// when first needed. A server keeps only a few paged searches per
// connection and drops the oldest (a Samba controller ten), so searches
// started within a page loop would cost it its next page.
class LdapDirectorySearch final : public DirectorySearch {
 public:
  explicit LdapDirectorySearch(const SessionOptions& session)
      : cancel_(session.cancel),
        session_timeout_ms_(session.call_timeout_ms),
        session_credentials_(session.logon()) {}
  ~LdapDirectorySearch() override { Close(); }

  // A URL without a host ("ldap://") opens the first controller of the
  // base's domain that DNS lists and that answers.
  DirectoryStatus Open(const DirectoryOpenOptions& options) override {
    Close();
    options_ = options;
    // The run's one copy of the password, referred to by every connection.
    if (options_.credentials == nullptr || options_.credentials->empty()) {
      options_.credentials = &session_credentials_;
    }
    timeout_ = std::chrono::milliseconds(options.timeout_ms != 0 ? options.timeout_ms
                                                                 : session_timeout_ms_);
    if (!HostOfDirectoryUrl(options.server).empty()) return OpenServer(options.server);
    const LocatedControllers located = LocateDomainControllers(DnsNameOfDn(options.base));
    if (!located.status.ok()) return located.status;
    const bool ldaps = options.server.starts_with("ldaps:");
    DirectoryStatus status;
    for (const LocatedController& controller : located.controllers) {
      const std::string url = (ldaps ? "ldaps://" : "ldap://") + controller.host + ":" +
                              std::to_string(ldaps ? kLdapsPort : controller.port);
      status = OpenServer(url);
      const bool next = status.status == DirectoryHresult(win::ERROR_DS_SERVER_DOWN) ||
                        status.status == DirectoryHresult(win::ERROR_TIMEOUT);
      if (!next) break;
    }
    return status;
  }

  DirectoryStatus Search(const SearchRequest& request, const EntrySink& sink) override {
    DirectoryStatus failure;
    LdapConnection* connection = Connection(failure);
    if (connection == nullptr) return failure;
    ++searches_in_progress_;
    DirectoryStatus status =
        connection->Search(request.base.empty() ? options_.base : request.base, request, sink);
    --searches_in_progress_;
    return status;
  }

  void Close() override {
    connections_.clear();
    searches_in_progress_ = 0;
  }

  void ReadObjects(std::span<const std::string> dns, std::span<const std::string> names,
                   const AttributeKinds* kinds, const ObjectSink& sink) override {
    DirectoryStatus failure;
    LdapConnection* connection = Connection(failure);
    if (connection != nullptr) {
      connection->ReadObjects(dns, names, kinds, sink);
      return;
    }
    for (std::size_t i = 0; i < dns.size(); ++i) {
      if (!sink(i, failure, {})) return;
    }
  }

  DcInfoResult LocateController(std::string_view dns_domain, std::uint32_t flags) override {
    return PingDomainController(dns_domain, flags, cancel_,
                                std::chrono::milliseconds(session_timeout_ms_));
  }

 private:
  DirectoryStatus OpenServer(const std::string& url) {
    connections_.clear();
    auto connection = std::make_unique<LdapConnection>(cancel_, timeout_);
    DirectoryStatus status = connection->Open(url, options_, *options_.credentials);
    if (status.ok()) {
      url_ = url;
      connections_.push_back(std::move(connection));
    }
    return status;
  }

  // The connection for an operation started while `searches_in_progress_`
  // searches are; null with `failure` set when it cannot be opened.
  LdapConnection* Connection(DirectoryStatus& failure) {
    if (connections_.empty()) {
      failure = NotOpen();
      return nullptr;
    }
    while (connections_.size() <= searches_in_progress_) {
      auto connection = std::make_unique<LdapConnection>(cancel_, timeout_);
      failure = connection->Open(url_, options_, *options_.credentials);
      if (!failure.ok()) return nullptr;
      connections_.push_back(std::move(connection));
    }
    return connections_[searches_in_progress_].get();
  }

  const CancelToken cancel_;
  const std::uint32_t session_timeout_ms_;
  const Credentials& session_credentials_;
  std::chrono::milliseconds timeout_{kDefaultCallTimeoutMs};
  DirectoryOpenOptions options_;
  std::string url_;  // the server the first connection reached
  // The first connection, then one for each search in progress.
  std::vector<std::unique_ptr<LdapConnection>> connections_;
  std::size_t searches_in_progress_ = 0;
};

}  // namespace

std::unique_ptr<DirectorySearch> MakeLdapDirectorySearch(const SessionOptions& session) {
  return std::make_unique<LdapDirectorySearch>(session);
}

}  // namespace tabulon::platform::ldap
